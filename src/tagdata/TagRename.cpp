#include "TagRename.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray NativePath(const QString &folder, const QString &name)
{
    return QFile::encodeName(QDir(folder).filePath(name));
}

// Atomic rename that fails with EEXIST instead of replacing. Falls back to
// link + unlink on file systems without RENAME_NOREPLACE.
bool RenameNoReplace(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (::link(from.constData(), to.constData()) != 0)
        return false;
    if (::unlink(from.constData()) == 0)
        return true;
    // Leave the file under its old name only, as a failed rename should.
    const int error = errno;
    ::unlink(to.constData());
    errno = error;
    return false;
}

bool SameFile(const QByteArray &a, const QByteArray &b)
{
    struct stat sa {};
    struct stat sb {};
    return ::lstat(a.constData(), &sa) == 0 && ::lstat(b.constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// On a case-insensitive file system the new name is taken by the file
// itself; step aside through a free temporary name in the same folder.
bool RenameThroughTemporary(const QString &folder, const QByteArray &from, const QByteArray &to)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString temporary =
            QStringLiteral(".brelko-rename-%1-%2.tmp").arg(::getpid()).arg(attempt);
        const QByteArray middle = NativePath(folder, temporary);
        if (!RenameNoReplace(from, middle)) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        if (RenameNoReplace(middle, to))
            return true;
        RenameNoReplace(middle, from); // put it back under its old name
        return false;
    }
    return false;
}

} // namespace

QString TrimSpaces(const QString &text)
{
    int begin = 0;
    int end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QString NewFileName(const QString &title, const QString &artist, RenameOrder order)
{
    const QString first = TrimSpaces(order == RenameOrder::TitleArtist ? title : artist);
    const QString second = TrimSpaces(order == RenameOrder::TitleArtist ? artist : title);
    if (first.isEmpty() || second.isEmpty())
        return QString();
    return first + QStringLiteral(" - ") + second + QStringLiteral(".mp3");
}

bool IsPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

bool RenameInFolder(const QString &folder, const QString &oldName, const QString &newName)
{
    if (folder.isEmpty() || !IsPlainFileName(oldName) || !IsPlainFileName(newName))
        return false;
    const QByteArray from = NativePath(folder, oldName);
    const QByteArray to = NativePath(folder, newName);
    if (oldName == newName) {
        struct stat info {};
        return ::lstat(from.constData(), &info) == 0;
    }
    if (RenameNoReplace(from, to))
        return true;
    const bool onlyCaseDiffers = oldName.compare(newName, Qt::CaseInsensitive) == 0;
    if (errno == EEXIST && onlyCaseDiffers && SameFile(from, to))
        return RenameThroughTemporary(folder, from, to);
    return false;
}
