// The batches of small files: written under temporary names, flushed with
// one syncfs, then published one by one.

#include "OperationRun.h"

#include "PathNames.h"

#include <cerrno>

namespace {
// A batch is flushed early when it grows this big, so that little waits
// unpublished at any time.
constexpr size_t BatchMostFiles = 512;
constexpr qint64 BatchMostBytes = 64 * 1024 * 1024;

StepResult StepOf(int result, const std::string &path)
{
    return result == 0 ? StepResult::done() : StepResult::failed(errno, path);
}
} // namespace

OperationRun::Outcome OperationRun::copyLater(const std::string &source, const struct stat &info,
                                              const std::string &target, bool replace)
{
    const qint64 doneBefore = progress_.bytesDone;
    const FileCopier::ChunkHandler onChunk = progressFor(source);
    std::string temporary;
    const Outcome written = settle([&] {
        progress_.bytesDone = doneBefore;
        return copier_.writeCopy(source, info, target, false, onChunk, temporary);
    });
    if (written != Outcome::Done)
        return written;
    Batch &batch = batches_.back();
    batch.files.push_back({source, info, temporary, target, replace});
    batch.names.insert(LastName(target));
    batch.bytes += info.st_size;
    if (batch.files.size() < BatchMostFiles && batch.bytes < BatchMostBytes)
        return Outcome::Done;
    return flushBatch(batch);
}

OperationRun::Outcome OperationRun::flushBatch(Batch &batch)
{
    std::vector<Pending> files;
    files.swap(batch.files);
    batch.names.clear();
    batch.bytes = 0;
    if (files.empty())
        return Outcome::Done;
    const bool flushed = !cancelled_ && io_.syncFileSystem(batch.fd) == 0;
    Outcome overall = Outcome::Done;
    std::vector<std::string> moved;
    for (const Pending &file : files) {
        const Outcome outcome = publishPending(file, flushed);
        if (outcome == Outcome::Done && move_)
            moved.push_back(file.source);
        if (outcome != Outcome::Done && overall != Outcome::Cancelled)
            overall = outcome;
    }
    if (moved.empty() || cancelled_)
        return cancelled_ ? Outcome::Cancelled : overall;
    // The copies' names must be on disk before the originals go.
    const Outcome synced =
        settle([&] { return StepOf(io_.syncFolder(batch.folder), batch.folder); });
    if (synced != Outcome::Done)
        return synced;
    for (const std::string &source : moved) {
        const Outcome removed = settle([&] { return StepOf(io_.unlink(source), source); });
        if (removed != Outcome::Done && overall != Outcome::Cancelled)
            overall = removed;
    }
    return overall;
}

OperationRun::Outcome OperationRun::publishPending(const Pending &file, bool flushed)
{
    if (cancelled_) {
        io_.unlink(file.temporary);
        return Outcome::Cancelled;
    }
    if (!flushed) {
        // The flush failed somewhere: each file again, the careful way.
        io_.unlink(file.temporary);
        return settle([&] {
            return copier_.copyFile(file.source, file.info, file.target, file.replace,
                                    [this](qint64) { return !stopping(); });
        });
    }
    auto publish = [&] { return copier_.publish(file.temporary, file.target, file.replace); };
    const Outcome published = settle(publish(), publish);
    if (published != Outcome::Done)
        io_.unlink(file.temporary);
    return published;
}

bool OperationRun::pendingName(const std::string &folder, const std::string &name) const
{
    return !batches_.empty() && batches_.back().folder == folder &&
           batches_.back().names.count(name) > 0;
}

bool OperationRun::taken(const std::string &folder, const std::string &name)
{
    struct stat existing;
    return io_.lstat(JoinPath(folder, name), existing) == 0 || pendingName(folder, name);
}
