#pragma once

#include "FileIo.h"

#include <functional>
#include <QtGlobal>
#include <string>
#include <sys/stat.h>

// How one step ended. On failure, error is the errno and path says which
// file it concerned.
struct StepResult {
    enum Kind { Done, Failed, Cancelled } kind = Done;
    int error = 0;
    std::string path;

    static StepResult done() { return {}; }
    static StepResult cancelled() { return {Cancelled, 0, {}}; }
    static StepResult failed(int error, std::string path)
    {
        return {Failed, error, std::move(path)};
    }
};

// Copies one file or symbolic link into a folder under a temporary name and
// publishes it under its own name only when it is complete and flushed, so
// a reader never sees half a file and a crash never costs the old one.
class FileCopier {
public:
    // Told the bytes copied since the last call; false stops the copy.
    using ChunkHandler = std::function<bool(qint64)>;

    explicit FileCopier(FileIo &io) : io_(io) {}

    // source has the given status; target is the final path. With replace, a
    // file at target is swapped for the copy in one step; without, an
    // existing target makes the publish fail with EEXIST.
    StepResult copyFile(const std::string &source, const struct stat &info,
                        const std::string &target, bool replace, const ChunkHandler &onChunk);
    StepResult copyLink(const std::string &source, const struct stat &info,
                        const std::string &target, bool replace);

    // The first half of copyFile: the complete copy under a temporary name
    // beside target, flushed only when asked. Nothing is left on failure.
    StepResult writeCopy(const std::string &source, const struct stat &info,
                         const std::string &target, bool flush, const ChunkHandler &onChunk,
                         std::string &temporary);
    // The second half: the temporary name becomes target.
    StepResult publish(const std::string &temporary, const std::string &target, bool replace);

private:
    StepResult copyData(int in, int out, const std::string &source, const std::string &target,
                        const ChunkHandler &onChunk);
    StepResult copyByReading(int in, int out, const std::string &source, const std::string &target,
                             const ChunkHandler &onChunk);
    int createTemporary(const std::string &folder, std::string &temporary);

    FileIo &io_;
};
