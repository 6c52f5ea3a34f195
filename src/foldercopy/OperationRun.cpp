#include "OperationRun.h"

#include "PathNames.h"
#include "ShellOperation.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <QFile>

namespace {
StepResult StepOf(int result, const std::string &path)
{
    return result == 0 ? StepResult::done() : StepResult::failed(errno, path);
}
} // namespace

OperationRun::OperationRun(FileIo &io, OperationUi &ui, quint16 flags, bool move)
    : io_(io), ui_(ui), copier_(io), flags_(flags), move_(move)
{
}

qint32 OperationRun::run(const std::string &source, const std::string &destination,
                         const std::string &name)
{
    if (!(flags_ & FOF_SILENT))
        measure(source);
    entry(source, destination, name);
    ui_.finished();
    if (!leftAlone_.isEmpty())
        ui_.report(QStringLiteral("These items are not files, folders or links and were left "
                                  "where they are:\n") +
                   leftAlone_.join(QLatin1Char('\n')));
    if (cancelled_)
        return ResultCancelled;
    return failed_ || !leftAlone_.isEmpty() ? ResultIncomplete : ResultOk;
}

OperationRun::Outcome OperationRun::entry(const std::string &source, const std::string &into,
                                          const std::string &name)
{
    if (stopping())
        return Outcome::Cancelled;
    struct stat info;
    const Outcome looked = settle([&] { return StepOf(io_.lstat(source, info), source); });
    if (looked != Outcome::Done)
        return looked;
    if (S_ISDIR(info.st_mode))
        return folder(source, info, into, name);
    if (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode))
        return fileOrLink(source, info, into, name);
    // Sockets, pipes and devices have no contents to copy.
    leftAlone_ << decode(source);
    return Outcome::Skipped;
}

OperationRun::Outcome OperationRun::folder(const std::string &source, const struct stat &info,
                                           const std::string &into, std::string name)
{
    // What waits in the folder above goes out first: a Cancel or a crash
    // deep down should cost nothing copied before.
    const Outcome above = batches_.empty() ? Outcome::Done : flushBatch(batches_.back());
    if (above == Outcome::Cancelled)
        return above;
    const Outcome own = folderItself(source, info, into, std::move(name));
    return above == Outcome::Done ? own : Outcome::Skipped;
}

OperationRun::Outcome OperationRun::folderItself(const std::string &source, const struct stat &info,
                                                 const std::string &into, std::string name)
{
    const Place place = placeFor(into, name, true);
    if (place == Place::Cancel)
        return Outcome::Cancelled;
    if (place == Place::Skip)
        return Outcome::Skipped;
    const std::string target = JoinPath(into, name);
    if (place == Place::New) {
        if (move_) {
            // On one file system the whole folder moves in one step.
            const StepResult moved = StepOf(io_.renameNoReplace(source, target), target);
            if (moved.kind == StepResult::Done)
                return Outcome::Done;
            if (moved.error != EXDEV)
                return settle(moved,
                              [&] { return StepOf(io_.renameNoReplace(source, target), target); });
        }
        const Outcome made = settle([&] { return StepOf(io_.mkdir(target, 0700), target); });
        if (made != Outcome::Done)
            return made;
    }
    const Outcome contents = copyContents(source, target);
    if (place == Place::New) {
        // Last, because filling the folder changed its times.
        const struct timespec times[2] = {info.st_atim, info.st_mtim};
        io_.chmod(target, info.st_mode & 07777);
        io_.setTimes(target, times);
    }
    if (contents != Outcome::Done || !move_)
        return contents;
    return settle([&] { return StepOf(io_.rmdir(source), source); });
}

OperationRun::Outcome OperationRun::copyContents(const std::string &source,
                                                 const std::string &target)
{
    std::vector<std::string> names;
    const Outcome listed = settle([&] { return StepOf(io_.listFolder(source, names), source); });
    if (listed != Outcome::Done)
        return listed;
    // In name order, so questions and progress come in the order people expect.
    std::sort(names.begin(), names.end());
    Batch batch;
    batch.folder = target;
    batch.fd = io_.open(target, O_RDONLY | O_DIRECTORY);
    batches_.push_back(std::move(batch));
    bool complete = true;
    for (const std::string &name : names) {
        const Outcome outcome = entry(JoinPath(source, name), target, name);
        if (outcome == Outcome::Cancelled)
            break;
        complete = complete && outcome == Outcome::Done;
    }
    // Also after Cancel: then the files waiting are removed.
    const Outcome flushed = flushBatch(batches_.back());
    if (batches_.back().fd >= 0)
        io_.close(batches_.back().fd);
    batches_.pop_back();
    if (cancelled_)
        return Outcome::Cancelled;
    return complete && flushed == Outcome::Done ? Outcome::Done : Outcome::Skipped;
}

OperationRun::Outcome OperationRun::fileOrLink(const std::string &source, const struct stat &info,
                                               const std::string &into, std::string name)
{
    const Place place = placeFor(into, name, false);
    if (place == Place::Cancel)
        return Outcome::Cancelled;
    if (place == Place::Skip)
        return Outcome::Skipped;
    const std::string target = JoinPath(into, name);
    const bool replace = place == Place::Existing;
    showProgress(source);
    if (move_) {
        // A rename moves the whole file at once, and over an old one atomically.
        auto rename = [&] {
            return StepOf(replace ? io_.renameReplace(source, target)
                                  : io_.renameNoReplace(source, target),
                          target);
        };
        const StepResult moved = rename();
        if (moved.kind == StepResult::Done) {
            progress_.bytesDone += S_ISREG(info.st_mode) ? info.st_size : 0;
            return Outcome::Done;
        }
        if (moved.error != EXDEV)
            return settle(moved, rename);
    }
    if (S_ISREG(info.st_mode) && info.st_size <= BatchFileLimit() && !batches_.empty() &&
        batches_.back().fd >= 0)
        return copyLater(source, info, target, replace);
    const Outcome copied = copyOne(source, info, target, replace);
    if (copied != Outcome::Done || !move_)
        return copied;
    return removeSource(source, into);
}

FileCopier::ChunkHandler OperationRun::progressFor(const std::string &source)
{
    // Counts each copied piece, shows it, and stops the copy when asked to.
    return [this, &source](qint64 bytes) {
        progress_.bytesDone += bytes;
        showProgress(source);
        return !stopping();
    };
}

OperationRun::Outcome OperationRun::copyOne(const std::string &source, const struct stat &info,
                                            const std::string &target, bool replace)
{
    const qint64 doneBefore = progress_.bytesDone;
    const FileCopier::ChunkHandler onChunk = progressFor(source);
    return settle([&] {
        progress_.bytesDone = doneBefore; // a retry starts the file again
        return S_ISLNK(info.st_mode) ? copier_.copyLink(source, info, target, replace)
                                     : copier_.copyFile(source, info, target, replace, onChunk);
    });
}

OperationRun::Outcome OperationRun::removeSource(const std::string &source,
                                                 const std::string &targetFolder)
{
    // The copy's name must be on disk before the original goes.
    const Outcome synced =
        settle([&] { return StepOf(io_.syncFolder(targetFolder), targetFolder); });
    if (synced != Outcome::Done)
        return synced;
    return settle([&] { return StepOf(io_.unlink(source), source); });
}

OperationRun::Place OperationRun::placeFor(const std::string &into, std::string &name,
                                           bool incomingFolder)
{
    for (;;) {
        const std::string target = JoinPath(into, name);
        struct stat existing;
        if (io_.lstat(target, existing) != 0) {
            if (!pendingName(into, name))
                return Place::New;
            existing.st_mode = S_IFREG; // a file of this run, not yet published
        }
        if (flags_ & FOF_RENAMEONCOLLISION) {
            name = FreeName(name,
                            [&](const std::string &candidate) { return taken(into, candidate); });
            return Place::New;
        }
        const bool existingFolder = S_ISDIR(existing.st_mode);
        if (incomingFolder == existingFolder)
            return incomingFolder ? Place::Existing : askAboutFile(target);
        const char *reason = existingFolder ? "A folder of this name is in the way of a file."
                                            : "A file of this name is in the way of a folder.";
        switch (ui_.askError(decode(target), QString::fromUtf8(reason))) {
        case ErrorAnswer::Retry:
            continue;
        case ErrorAnswer::Skip:
            failed_ = true;
            return Place::Skip;
        case ErrorAnswer::Cancel:
            cancelled_ = true;
            return Place::Cancel;
        }
    }
}

OperationRun::Place OperationRun::askAboutFile(const std::string &target)
{
    if ((flags_ & FOF_NOCONFIRMATION) || replaceAll_)
        return Place::Existing;
    if (skipAll_)
        return Place::Skip;
    switch (ui_.askReplace(decode(target))) {
    case ConflictAnswer::ReplaceAll:
        replaceAll_ = true;
        return Place::Existing;
    case ConflictAnswer::Replace:
        return Place::Existing;
    case ConflictAnswer::SkipAll:
        skipAll_ = true;
        return Place::Skip;
    case ConflictAnswer::Skip:
        return Place::Skip;
    case ConflictAnswer::Cancel:
        break;
    }
    cancelled_ = true;
    return Place::Cancel;
}

OperationRun::Outcome OperationRun::settle(StepResult result,
                                           const std::function<StepResult()> &step)
{
    for (;;) {
        if (result.kind == StepResult::Done)
            return Outcome::Done;
        if (result.kind == StepResult::Cancelled) {
            cancelled_ = true;
            return Outcome::Cancelled;
        }
        const QString reason = QString::fromLocal8Bit(std::strerror(result.error));
        switch (ui_.askError(decode(result.path), reason)) {
        case ErrorAnswer::Retry:
            if (stopping())
                return Outcome::Cancelled;
            result = step();
            continue;
        case ErrorAnswer::Skip:
            failed_ = true;
            return Outcome::Skipped;
        case ErrorAnswer::Cancel:
            cancelled_ = true;
            return Outcome::Cancelled;
        }
    }
}

bool OperationRun::stopping()
{
    if (!cancelled_ && ui_.cancelRequested())
        cancelled_ = true;
    return cancelled_;
}

void OperationRun::measure(const std::string &path)
{
    struct stat info;
    if (io_.lstat(path, info) != 0)
        return;
    if (S_ISREG(info.st_mode))
        progress_.bytesTotal += info.st_size;
    if (!S_ISDIR(info.st_mode))
        return;
    std::vector<std::string> names;
    if (io_.listFolder(path, names) != 0)
        return;
    for (const std::string &name : names)
        measure(JoinPath(path, name));
}

void OperationRun::showProgress(const std::string &source)
{
    if (flags_ & FOF_SILENT)
        return;
    progress_.currentName = (flags_ & FOF_SIMPLEPROGRESS) ? QString() : decode(LastName(source));
    ui_.showProgress(progress_);
}

QString OperationRun::decode(const std::string &path) const
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}
