#include "FolderResolver.h"

FilePath FolderResolver::resolve(const FilePath &path)
{
    const FilePath named = path.left(path.lastIndexOf('/') + 1);
    FilePath name = path.mid(named.size());
    if (name.isEmpty() || name == "." || name == ".." || path.contains('\0'))
        return ResolvedPath(path); // which refuses it, and says why in errno
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        const auto known = folders_.constFind(named);
        if (known != folders_.cend())
            return *known + name;
    }
    const FileDescriptor folder = OpenParentFolder(path, name);
    FilePath resolved = folder.valid() ? FolderPath(folder.get()) : FilePath();
    if (resolved.isEmpty())
        return resolved;
    if (!resolved.endsWith('/'))
        resolved += '/';
    const std::lock_guard<std::mutex> lock(mutex_);
    folders_.insert(named, resolved);
    return resolved + name;
}
