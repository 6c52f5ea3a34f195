#include "JournalFiles.h"

#include "JournalRecord.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void SyncFolder(const QString &folder)
{
    const FileDescriptor opened = OpenFolder(QFile::encodeName(folder));
    if (opened.valid())
        ::fsync(opened.get());
}

FileDescriptor OpenJournalFile(const QString &path, int flags)
{
    FileDescriptor file = OpenRegular(AT_FDCWD, QFile::encodeName(path), flags | O_NOFOLLOW);
    struct stat info {};
    if (file.valid() && (::fstat(file.get(), &info) != 0 || info.st_uid != ::geteuid())) {
        errno = EPERM;
        return FileDescriptor();
    }
    return file;
}

QByteArray ReadSegment(const QString &path)
{
    const FileDescriptor file = OpenJournalFile(path, O_RDONLY);
    QByteArray contents;
    char buffer[1 << 16];
    ssize_t n = 0;
    while (file.valid() && (n = ::read(file.get(), buffer, sizeof buffer)) != 0) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        contents.append(buffer, n);
    }
    return contents;
}

bool WriteAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = ENOSPC;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

int CountChanges(const QString &path)
{
    int count = 0;
    for (const JournalRecord &record : DecodeRecords(ReadSegment(path)))
        count += record.isChange() ? 1 : 0;
    return count;
}

bool MakePrivateFolder(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
    qsizetype slash = 0;
    do {
        slash = path.indexOf('/', slash + 1);
        const QByteArray prefix = slash < 0 ? path : path.left(slash);
        if (::mkdir(prefix.constData(), 0700) != 0 && errno != EEXIST)
            return false;
    } while (slash >= 0);
    struct stat info {};
    if (::stat(path.constData(), &info) != 0)
        return false;
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
        errno = EPERM;
        return false;
    }
    return true;
}
