#include "SafeFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FilePath ToFilePath(const QString &path)
{
    return QFile::encodeName(path);
}

QString DisplayPath(const FilePath &path)
{
    return QFile::decodeName(path);
}

QString FileErrorText(int error)
{
    if (error == EINVAL)
        return QStringLiteral("not a regular file");
    return QString::fromLocal8Bit(std::strerror(error));
}

FileDescriptor::~FileDescriptor()
{
    if (fd_ >= 0)
        ::close(fd_);
}

FileDescriptor &FileDescriptor::operator=(FileDescriptor &&other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

int FileDescriptor::release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

bool FileDescriptor::close()
{
    return ::close(release()) == 0;
}

FileDescriptor OpenRegular(int folder, const FilePath &name, int flags, struct stat *info,
                           bool lock)
{
    if (name.isEmpty() || name.contains('\0')) {
        errno = ENOENT;
        return FileDescriptor();
    }
    // No retry on EINTR: with O_NONBLOCK the open cannot wait, and an
    // interrupted call means the user asked to stop.
    FileDescriptor file(
        ::openat(folder, name.constData(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600));
    if (!file.valid())
        return file;
    // No retry on EINTR either: a signal while waiting for another writer
    // is the user asking to stop, and the caller reports it as such.
    if (lock && ::flock(file.get(), LOCK_EX) != 0)
        return FileDescriptor();
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        return FileDescriptor();
    if (!S_ISREG(status.st_mode)) {
        errno = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        return FileDescriptor();
    }
    // The status flags are the ones asked for (F_SETFL ignores the access
    // mode and creation flags), so no F_GETFL is needed first: one system
    // call less for every file a batch touches.
    if (!(flags & O_NONBLOCK) && ::fcntl(file.get(), F_SETFL, flags) != 0)
        return FileDescriptor();
    if (info)
        *info = status;
    return file;
}

bool ClearNoWait(int fd)
{
    const int error = errno;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0 && (flags & O_NONBLOCK) && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0)
        return true;
    errno = error;
    return false;
}

bool ReadFully(int fd, char *data, size_t size, off_t offset)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, data + done, size - done, offset + off_t(done));
        if (n < 0 && (errno == EINTR || (errno == EAGAIN && ClearNoWait(fd))))
            continue;
        if (n == 0)
            errno = EIO; // the file shrank under us
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

FilePath SplitFilePath(const FilePath &path, FilePath &name)
{
    const qsizetype slash = path.lastIndexOf('/');
    name = path.mid(slash + 1);
    if (name.isEmpty() || name == "." || name == ".." || path.contains('\0')) {
        errno = path.isEmpty() ? ENOENT : EISDIR;
        return FilePath();
    }
    return slash < 0 ? FilePath(".") : slash == 0 ? FilePath("/") : path.left(slash);
}

FileDescriptor OpenParentFolder(const FilePath &path, FilePath &name)
{
    const FilePath folder = SplitFilePath(path, name);
    return folder.isEmpty() ? FileDescriptor() : OpenFolder(folder);
}

FileDescriptor OpenFolder(const FilePath &path)
{
    if (path.isEmpty() || path.contains('\0')) {
        errno = ENOENT;
        return FileDescriptor();
    }
    return FileDescriptor(::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOCTTY | O_CLOEXEC));
}

FilePath FolderPath(int folder)
{
    const FilePath link = "/proc/self/fd/" + QByteArray::number(folder);
    FilePath target(4096, Qt::Uninitialized);
    const ssize_t length = ::readlink(link.constData(), target.data(), size_t(target.size()));
    if (length <= 0 || length >= target.size() || target.at(0) != '/')
        return FilePath();
    target.truncate(length);
    return target;
}

FilePath ResolvedPath(const FilePath &path)
{
    FilePath name;
    const FileDescriptor folder = OpenParentFolder(path, name);
    if (!folder.valid())
        return FilePath();
    const FilePath where = FolderPath(folder.get());
    if (where.isEmpty())
        return FilePath();
    return JoinPath(where, name);
}

FilePath JoinPath(const FilePath &folder, const FilePath &name)
{
    if (folder.endsWith('/'))
        return folder + name;
    return folder + '/' + name;
}
