#pragma once

#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

// The system calls the file operation makes, one virtual function each, so
// tests can make any one of them fail. Each returns what the call returns
// and leaves the reason in errno.
class FileIo {
public:
    virtual ~FileIo() = default;

    virtual int open(const std::string &path, int flags, mode_t mode = 0);
    virtual int close(int fd);
    virtual ssize_t read(int fd, void *buffer, size_t size);
    virtual ssize_t write(int fd, const void *buffer, size_t size);
    // Copies from the current offsets of both files inside the kernel.
    virtual ssize_t copyFileRange(int in, int out, size_t size);
    virtual int fsync(int fd);
    virtual int fchmod(int fd, mode_t mode);
    virtual int fchown(int fd, uid_t owner, gid_t group);
    virtual int futimens(int fd, const struct timespec times[2]);

    virtual int lstat(const std::string &path, struct stat &info);
    virtual int stat(const std::string &path, struct stat &info);
    virtual int mkdir(const std::string &path, mode_t mode);
    virtual int rmdir(const std::string &path);
    virtual int unlink(const std::string &path);
    virtual int chmod(const std::string &path, mode_t mode);
    // Sets the times of path itself, also when it is a symbolic link.
    virtual int setTimes(const std::string &path, const struct timespec times[2]);
    virtual int symlink(const std::string &target, const std::string &linkPath);
    virtual int readlink(const std::string &path, std::string &target);
    // Fails with EEXIST when to exists.
    virtual int renameNoReplace(const std::string &from, const std::string &to);
    // Replaces to in one step.
    virtual int renameReplace(const std::string &from, const std::string &to);
    // The names in a folder, without "." and "..".
    virtual int listFolder(const std::string &path, std::vector<std::string> &names);
    // Makes the folder's entries durable.
    virtual int syncFolder(const std::string &path);
    // Makes everything written to the file system of the open fd durable:
    // one flush for many files. Reports write errors since fd was opened.
    virtual int syncFileSystem(int fd);
};
