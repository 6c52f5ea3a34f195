#include "FileIo.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

int FileIo::open(const std::string &path, int flags, mode_t mode)
{
    return ::open(path.c_str(), flags | O_CLOEXEC, mode);
}

int FileIo::close(int fd)
{
    return ::close(fd);
}

ssize_t FileIo::read(int fd, void *buffer, size_t size)
{
    return ::read(fd, buffer, size);
}

ssize_t FileIo::write(int fd, const void *buffer, size_t size)
{
    return ::write(fd, buffer, size);
}

ssize_t FileIo::copyFileRange(int in, int out, size_t size)
{
    return ::copy_file_range(in, nullptr, out, nullptr, size, 0);
}

int FileIo::fsync(int fd)
{
    return ::fsync(fd);
}

int FileIo::fchmod(int fd, mode_t mode)
{
    return ::fchmod(fd, mode);
}

int FileIo::fchown(int fd, uid_t owner, gid_t group)
{
    return ::fchown(fd, owner, group);
}

int FileIo::futimens(int fd, const struct timespec times[2])
{
    return ::futimens(fd, times);
}

int FileIo::lstat(const std::string &path, struct stat &info)
{
    return ::lstat(path.c_str(), &info);
}

int FileIo::stat(const std::string &path, struct stat &info)
{
    return ::stat(path.c_str(), &info);
}

int FileIo::mkdir(const std::string &path, mode_t mode)
{
    return ::mkdir(path.c_str(), mode);
}

int FileIo::rmdir(const std::string &path)
{
    return ::rmdir(path.c_str());
}

int FileIo::unlink(const std::string &path)
{
    return ::unlink(path.c_str());
}

int FileIo::chmod(const std::string &path, mode_t mode)
{
    return ::chmod(path.c_str(), mode);
}

int FileIo::setTimes(const std::string &path, const struct timespec times[2])
{
    return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

int FileIo::symlink(const std::string &target, const std::string &linkPath)
{
    return ::symlink(target.c_str(), linkPath.c_str());
}

int FileIo::readlink(const std::string &path, std::string &target)
{
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0)
            return -1;
        if (static_cast<size_t>(length) < buffer.size()) {
            target.assign(buffer.data(), static_cast<size_t>(length));
            return 0;
        }
        buffer.resize(buffer.size() * 2);
    }
}

int FileIo::renameNoReplace(const std::string &from, const std::string &to)
{
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
}

int FileIo::renameReplace(const std::string &from, const std::string &to)
{
    return ::rename(from.c_str(), to.c_str());
}

int FileIo::listFolder(const std::string &path, std::vector<std::string> &names)
{
    DIR *folder = ::opendir(path.c_str());
    if (!folder)
        return -1;
    names.clear();
    errno = 0;
    while (const dirent *entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
        errno = 0;
    }
    const int readError = errno;
    ::closedir(folder);
    errno = readError;
    return readError ? -1 : 0;
}

namespace {
int OnOpened(const std::string &path, int flags, int (*call)(int))
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const int result = call(fd);
    const int syncError = errno;
    ::close(fd);
    errno = syncError;
    return result;
}
} // namespace

int FileIo::syncFolder(const std::string &path)
{
    return OnOpened(path, O_RDONLY | O_DIRECTORY, ::fsync);
}

int FileIo::syncFileSystem(int fd)
{
    return ::syncfs(fd);
}
