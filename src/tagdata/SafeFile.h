#pragma once

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <sys/stat.h>
#include <sys/types.h>

// File paths are bytes, exactly as the kernel takes them: a name that is not
// valid UTF-8 must still name the same file when it comes back from the
// command line or the journal. Text is made from them only to show them.
using FilePath = QByteArray;

// For a path that arrives as text (the window's models).
FilePath ToFilePath(const QString &path);
// For a message: undecodable bytes show as U+FFFD, never used to open.
QString DisplayPath(const FilePath &path);

// A descriptor closed on every path out.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor &&other) noexcept : fd_(other.release()) {}
    FileDescriptor &operator=(FileDescriptor &&other) noexcept;
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release();
    // close() can report a deferred write error (NFS, some FUSE mounts).
    bool close();

private:
    int fd_ = -1;
};

// Writes size bytes through write(done), which writes from byte `done` on
// and returns what write(2) returns, until all are written. An interrupted
// write of a regular file is carried on; a write of nothing counts as a full
// disk. False with errno.
template <typename Write> bool WriteFully(size_t size, Write &&write)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = write(done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = ENOSPC;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

// Opens an existing regular file in the folder `folder` (AT_FDCWD: relative
// to the working folder) without ever waiting: a FIFO or device that took the
// file's place is refused before anything is read from it, so it can neither
// hang the caller nor be read as a tag. flags: O_RDONLY or O_RDWR, plus
// O_NOFOLLOW when a symbolic link must not be followed, O_CREAT (mode 0600)
// or O_APPEND. Invalid with errno EISDIR for a folder, EINVAL for anything
// else that is not a regular file. `info`, when given, receives the file's
// status as the check saw it. A caller that handles EAGAIN from its reads
// and writes (see ClearNoWait) may pass O_NONBLOCK to keep it: one system
// call less.
// lock: take the exclusive lock before the status, so that the status is
// one another writer can no longer change.
FileDescriptor OpenRegular(int folder, const FilePath &name, int flags, struct stat *info = nullptr,
                           bool lock = false);

// A descriptor that OpenRegular left not to wait, a flag Linux ignores for
// regular files, and that a file system answered EAGAIN after all: clears
// the flag so that the call can be made again. False, with errno kept, when
// the flag was clear already or cannot be cleared.
bool ClearNoWait(int fd);

// Reads size bytes at offset, carrying on after a signal, a short read or
// EAGAIN (see ClearNoWait). False with errno; EIO when the file ends first.
bool ReadFully(int fd, char *data, size_t size, off_t offset);

// The reason for a failed file operation, for a message. EINVAL from
// OpenRegular is said as what it means there: not a regular file.
QString FileErrorText(int error);

// A folder, opened as the kernel resolves its path. Invalid with errno.
FileDescriptor OpenFolder(const FilePath &path);

// The folder part of path as it is spelled ("." when there is none, "/" for
// the root), and its last component in `name`. Empty, with errno, when path
// ends in "/", ".", ".." or holds a zero byte: it names no file in a folder.
FilePath SplitFilePath(const FilePath &path, FilePath &name);

// The folder holding path, opened as the kernel resolves it (symbolic links
// followed, ".." taken after them, never cleaned as text), and the last
// component in `name`. Invalid, with errno, when path ends in "/", ".", ".."
// or its folder cannot be opened.
FileDescriptor OpenParentFolder(const FilePath &path, FilePath &name);

// The absolute path the kernel gives an open folder; empty when unknown.
FilePath FolderPath(int folder);

// folder + "/" + name, without doubling the slash of the root folder.
FilePath JoinPath(const FilePath &folder, const FilePath &name);

// Absolute path of path's folder as the kernel resolves it, plus its last
// component: the one name under which a file is known to the journal.
// Empty when the folder cannot be opened.
FilePath ResolvedPath(const FilePath &path);
