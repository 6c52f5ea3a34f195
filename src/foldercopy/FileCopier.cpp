#include "FileCopier.h"

#include "PathNames.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
// Big enough to keep the kernel busy, small enough to answer Cancel quickly.
constexpr size_t ChunkSize = 8 * 1024 * 1024;
constexpr size_t BufferSize = 1024 * 1024;

// Opens the source without waiting: a FIFO or device put in the file's place
// after it was examined would block the worker beyond Cancel. Anything that
// is not a regular file is refused before a byte is read.
int OpenSource(FileIo &io, const std::string &source)
{
    const int in = io.open(source, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (in < 0)
        return -1;
    struct stat opened {};
    const int status = ::fcntl(in, F_GETFL);
    if (::fstat(in, &opened) != 0 || !S_ISREG(opened.st_mode) || status < 0 ||
        ::fcntl(in, F_SETFL, status & ~O_NONBLOCK) != 0) {
        const int error = S_ISREG(opened.st_mode) ? errno : EINVAL;
        io.close(in);
        errno = error;
        return -1;
    }
    return in;
}

bool NeedsReadWrite(int error)
{
    return error == EXDEV || error == ENOSYS || error == EINVAL || error == EOPNOTSUPP ||
           error == EBADF;
}

bool IsWriteError(int error)
{
    return error == ENOSPC || error == EFBIG || error == EDQUOT || error == EROFS;
}
} // namespace

int FileCopier::createTemporary(const std::string &folder, std::string &temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = JoinPath(folder, TemporaryName());
        const int fd = io_.open(temporary, O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

StepResult FileCopier::copyFile(const std::string &source, const struct stat &info,
                                const std::string &target, bool replace,
                                const ChunkHandler &onChunk)
{
    std::string temporary;
    StepResult result = writeCopy(source, info, target, true, onChunk, temporary);
    if (result.kind != StepResult::Done)
        return result;
    result = publish(temporary, target, replace);
    if (result.kind != StepResult::Done)
        io_.unlink(temporary);
    return result;
}

StepResult FileCopier::writeCopy(const std::string &source, const struct stat &info,
                                 const std::string &target, bool flush, const ChunkHandler &onChunk,
                                 std::string &temporary)
{
    const int in = OpenSource(io_, source);
    if (in < 0)
        return StepResult::failed(errno, source);
    const int out = createTemporary(ParentPath(target), temporary);
    if (out < 0) {
        const int error = errno;
        io_.close(in);
        return StepResult::failed(error, target);
    }
    StepResult result = copyData(in, out, source, target, onChunk);
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    if (result.kind == StepResult::Done) {
        if (::geteuid() == 0)
            io_.fchown(out, info.st_uid, info.st_gid); // best effort, as cp -a
        if (io_.fchmod(out, info.st_mode & 07777) != 0 || io_.futimens(out, times) != 0 ||
            (flush && io_.fsync(out) != 0))
            result = StepResult::failed(errno, target);
    }
    io_.close(in);
    if (io_.close(out) != 0 && result.kind == StepResult::Done)
        result = StepResult::failed(errno, target);
    if (result.kind != StepResult::Done)
        io_.unlink(temporary);
    return result;
}

StepResult FileCopier::copyData(int in, int out, const std::string &source,
                                const std::string &target, const ChunkHandler &onChunk)
{
    qint64 copied = 0;
    for (;;) {
        const ssize_t count = io_.copyFileRange(in, out, ChunkSize);
        if (count < 0) {
            // Nothing written yet: the plain way copes with every file system.
            if (copied == 0 && NeedsReadWrite(errno))
                return copyByReading(in, out, source, target, onChunk);
            const int error = errno;
            return StepResult::failed(error, IsWriteError(error) ? target : source);
        }
        if (count == 0) // the end of the file, which may have grown or shrunk
            return StepResult::done();
        copied += count;
        if (!onChunk(count))
            return StepResult::cancelled();
    }
}

StepResult FileCopier::copyByReading(int in, int out, const std::string &source,
                                     const std::string &target, const ChunkHandler &onChunk)
{
    std::vector<char> buffer(BufferSize);
    for (;;) {
        const ssize_t count = io_.read(in, buffer.data(), buffer.size());
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return StepResult::failed(errno, source);
        }
        if (count == 0)
            return StepResult::done();
        for (ssize_t written = 0; written < count;) {
            const ssize_t part =
                io_.write(out, buffer.data() + written, static_cast<size_t>(count - written));
            if (part < 0) {
                if (errno == EINTR)
                    continue;
                return StepResult::failed(errno, target);
            }
            written += part;
        }
        if (!onChunk(count))
            return StepResult::cancelled();
    }
}

StepResult FileCopier::publish(const std::string &temporary, const std::string &target,
                               bool replace)
{
    const int result =
        replace ? io_.renameReplace(temporary, target) : io_.renameNoReplace(temporary, target);
    if (result != 0)
        return StepResult::failed(errno, target);
    return StepResult::done();
}

StepResult FileCopier::copyLink(const std::string &source, const struct stat &info,
                                const std::string &target, bool replace)
{
    std::string linkText;
    if (io_.readlink(source, linkText) != 0)
        return StepResult::failed(errno, source);
    std::string temporary;
    int result = -1;
    for (int attempt = 0; attempt < 100 && result != 0; ++attempt) {
        temporary = JoinPath(ParentPath(target), TemporaryName());
        result = io_.symlink(linkText, temporary);
        if (result != 0 && errno != EEXIST)
            break;
    }
    if (result != 0)
        return StepResult::failed(errno, target);
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    io_.setTimes(temporary, times); // some file systems keep no link times
    StepResult published = publish(temporary, target, replace);
    if (published.kind != StepResult::Done)
        io_.unlink(temporary);
    return published;
}
