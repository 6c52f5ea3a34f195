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

namespace {

// Hands the file's bytes to `take` a piece at a time, up to the end or the
// first error.
template <typename Take> void ReadPieces(const FileDescriptor &file, Take take)
{
    char buffer[1 << 16];
    for (ssize_t n; file.valid() && (n = ::read(file.get(), buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return;
        take(QByteArrayView(buffer, n));
    }
}

} // namespace

QByteArray ReadSegment(const QString &path)
{
    const FileDescriptor file = OpenJournalFile(path, O_RDONLY);
    QByteArray contents;
    // Room for it all at once: appended piece by piece, a segment of many
    // megabytes was copied over and over as it grew.
    struct stat info {};
    if (file.valid() && ::fstat(file.get(), &info) == 0)
        contents.reserve(qsizetype(info.st_size));
    ReadPieces(file, [&contents](QByteArrayView piece) { contents += piece; });
    return contents;
}

int CountChanges(const QString &path)
{
    // A few whole lines at a time: a segment set aside is counted at every
    // rotation, and holding all its megabytes would cost more than reading.
    int count = 0;
    QByteArray lines;
    ReadPieces(OpenJournalFile(path, O_RDONLY), [&](QByteArrayView piece) {
        lines += piece;
        const qsizetype whole = lines.lastIndexOf('\n') + 1;
        count += CountChangeLines(QByteArrayView(lines).first(whole));
        lines.remove(0, whole);
    });
    return count;
}

bool WriteAll(int fd, const QByteArray &bytes)
{
    return WriteFully(size_t(bytes.size()), [&](size_t done) {
        return ::write(fd, bytes.constData() + done, size_t(bytes.size()) - done);
    });
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
