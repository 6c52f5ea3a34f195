#pragma once

#include <QByteArray>
#include <QString>

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

// Opens an existing regular file in the folder `folder` (AT_FDCWD: relative
// to the working folder) without ever waiting: a FIFO or device that took the
// file's place is refused before anything is read from it, so it can neither
// hang the caller nor be read as a tag. flags: O_RDONLY or O_RDWR, plus
// O_NOFOLLOW when a symbolic link must not be followed. Invalid with errno
// EISDIR for a folder, EINVAL for anything else that is not a regular file.
FileDescriptor OpenRegular(int folder, const FilePath &name, int flags);

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
