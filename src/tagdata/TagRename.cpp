#include "TagRename.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Atomic rename that fails with EEXIST instead of replacing. Falls back to
// link + unlink on file systems without RENAME_NOREPLACE.
bool RenameNoReplace(int folder, const FilePath &from, const FilePath &to)
{
    if (::renameat2(folder, from.constData(), folder, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (::linkat(folder, from.constData(), folder, to.constData(), 0) != 0)
        return false;
    if (::unlinkat(folder, from.constData(), 0) == 0)
        return true;
    // Leave the file under its old name only, as a failed rename should.
    const int error = errno;
    ::unlinkat(folder, to.constData(), 0);
    errno = error;
    return false;
}

bool SameFile(int folder, const FilePath &a, const FilePath &b)
{
    struct stat sa {};
    struct stat sb {};
    return ::fstatat(folder, a.constData(), &sa, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstatat(folder, b.constData(), &sb, AT_SYMLINK_NOFOLLOW) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// On a case-insensitive file system the new name is taken by the file
// itself; step aside through a free temporary name in the same folder.
bool RenameThroughTemporary(int folder, const FilePath &from, const FilePath &to)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const FilePath middle = ".brelko-rename-" + QByteArray::number(::getpid()) + '-' +
                                QByteArray::number(attempt) + ".tmp";
        if (!RenameNoReplace(folder, from, middle)) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        if (RenameNoReplace(folder, middle, to))
            return true;
        const int error = errno;
        RenameNoReplace(folder, middle, from); // put it back under its old name
        errno = error;
        return false;
    }
    return false;
}

bool OnlyCaseDiffers(const FilePath &a, const FilePath &b)
{
    return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive) == 0;
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

bool IsPlainFileName(const FilePath &name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') &&
           !name.contains('\0');
}

bool RenameInFolder(int folder, const FilePath &oldName, const FilePath &newName)
{
    if (folder < 0 || !IsPlainFileName(oldName) || !IsPlainFileName(newName)) {
        errno = EINVAL;
        return false;
    }
    if (oldName == newName) {
        struct stat info {};
        return ::fstatat(folder, oldName.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
    }
    if (RenameNoReplace(folder, oldName, newName))
        return true;
    if (errno == EEXIST && OnlyCaseDiffers(oldName, newName) && SameFile(folder, oldName, newName))
        return RenameThroughTemporary(folder, oldName, newName);
    return false;
}

bool RenameInFolder(const FilePath &folder, const FilePath &oldName, const FilePath &newName)
{
    const FileDescriptor opened(::open(folder.isEmpty() ? "" : folder.constData(),
                                       O_RDONLY | O_DIRECTORY | O_NOCTTY | O_CLOEXEC));
    return opened.valid() && RenameInFolder(opened.get(), oldName, newName);
}

bool RenameInFolder(const QString &folder, const QString &oldName, const QString &newName)
{
    return RenameInFolder(ToFilePath(folder), ToFilePath(oldName), ToFilePath(newName));
}
