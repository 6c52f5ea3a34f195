#pragma once

#include "FileIo.h"
#include "ShellOperation.h"

// Copies or moves a folder with the system calls of io, on the calling
// thread. Checks the request before touching anything.
class FolderEngine : public FileOperation {
public:
    explicit FolderEngine(FileIo &io) : io_(io) {}
    qint32 perform(const ShellRequest &request, OperationUi &ui) override;

private:
    bool makeFolders(const std::string &path);

    FileIo &io_;
};
