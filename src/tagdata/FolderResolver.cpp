#include "FolderResolver.h"

FilePath FolderResolver::resolve(const FilePath &path)
{
    FilePath name;
    const FilePath named = SplitFilePath(path, name);
    if (named.isEmpty())
        return FilePath();
    FilePath resolved;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        resolved = folders_.value(named);
    }
    if (resolved.isEmpty()) {
        const FileDescriptor folder = OpenFolder(named);
        resolved = folder.valid() ? FolderPath(folder.get()) : FilePath();
        if (resolved.isEmpty())
            return resolved;
        const std::lock_guard<std::mutex> lock(mutex_);
        folders_.insert(named, resolved);
    }
    return JoinPath(resolved, name);
}
