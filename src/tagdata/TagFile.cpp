#include "TagFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ssize_t TagFileIo::pwrite(int fd, const void *data, size_t size, off_t offset)
{
    return ::pwrite(fd, data, size, offset);
}

int TagFileIo::fsync(int fd)
{
    return ::fsync(fd);
}

int TagFileIo::ftruncate(int fd, off_t length)
{
    return ::ftruncate(fd, length);
}

namespace {

// Closes the descriptor on every path out of a read or write.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // close() can report a deferred write error (NFS, some FUSE mounts).
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

int OpenExisting(const QString &path, int flags)
{
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(native.constData(), flags | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool ReadExactly(int fd, char *data, size_t size, off_t offset)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, data + done, size - done, offset + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

bool WriteExactly(TagFileIo &io, int fd, const char *data, size_t size, off_t offset)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = io.pwrite(fd, data + done, size - done, offset + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

// Regular files only: a device or FIFO has no trailer to speak of.
bool RegularFileSize(int fd, off_t &size)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    size = info.st_size;
    return true;
}

bool StartsWithMarker(const QByteArray &trailer)
{
    return trailer.startsWith("TAG");
}

// ID3v1.1 keeps a track number in the comment's last two bytes (a zero, then
// the track). Writing a comment that fits in 28 bytes keeps that track.
void KeepTrack(const QByteArray &oldTrailer, QByteArray &newTrailer)
{
    constexpr int zeroAt = Id3v1Tag::TrackZeroOffset;
    constexpr int trackAt = Id3v1Tag::TrackOffset;
    if (TrackInTrailer(oldTrailer) == 0)
        return;
    if (newTrailer.at(zeroAt) != ' ' || newTrailer.at(trackAt) != ' ')
        return;
    newTrailer[zeroAt] = 0;
    newTrailer[trackAt] = oldTrailer.at(trackAt);
}

} // namespace

bool ReadTag(const QString &path, Id3v1Tag &tag)
{
    FileDescriptor file(OpenExisting(path, O_RDONLY));
    if (!file.valid())
        return false;
    off_t size = 0;
    if (!RegularFileSize(file.get(), size) || size < Id3v1Tag::Size)
        return false;
    QByteArray trailer(Id3v1Tag::Size, Qt::Uninitialized);
    if (!ReadExactly(file.get(), trailer.data(), Id3v1Tag::Size, size - Id3v1Tag::Size))
        return false;
    tag = Id3v1Tag::parse(trailer);
    return tag.hasHeader();
}

bool WriteTag(const QString &path, Id3v1Tag &tag)
{
    TagFileIo io;
    return WriteTag(path, tag, io);
}

bool WriteTag(const QString &path, Id3v1Tag &tag, TagFileIo &io)
{
    FileDescriptor file(OpenExisting(path, O_RDWR));
    if (!file.valid())
        return false;
    off_t size = 0;
    if (!RegularFileSize(file.get(), size))
        return false;

    QByteArray oldTrailer;
    if (size >= Id3v1Tag::Size) {
        oldTrailer.resize(Id3v1Tag::Size);
        if (!ReadExactly(file.get(), oldTrailer.data(), Id3v1Tag::Size, size - Id3v1Tag::Size))
            return false;
    }
    const bool overwrite = StartsWithMarker(oldTrailer);
    const off_t position = overwrite ? size - Id3v1Tag::Size : size;

    tag.Header = QStringLiteral("TAG");
    QByteArray trailer = tag.render();
    if (overwrite)
        KeepTrack(oldTrailer, trailer);

    const bool written = WriteExactly(io, file.get(), trailer.constData(), trailer.size(), position)
                         && io.fsync(file.get()) == 0;
    if (!written) {
        // Put the file back as it was: cut a partial append, or restore the
        // trailer we were replacing.
        if (overwrite)
            WriteExactly(io, file.get(), oldTrailer.constData(), oldTrailer.size(), position);
        else
            io.ftruncate(file.get(), size);
        io.fsync(file.get());
        return false;
    }
    return file.close();
}
