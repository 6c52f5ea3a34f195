#pragma once

#include "SafeFile.h"

#include <QHash>

#include <mutex>

// ResolvedPath for a batch of files: each folder named in it is asked of the
// kernel once, not once per file, as a batch is mostly many files in a few
// folders. The folders are taken as resolved when first seen; the batch runs
// in moments, and a folder moved meanwhile moves its files along. Safe to
// share between threads.
class FolderResolver {
public:
    FilePath resolve(const FilePath &path);

private:
    std::mutex mutex_;
    QHash<FilePath, FilePath> folders_; // as spelled -> as the kernel resolves it
};
