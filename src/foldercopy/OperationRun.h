#pragma once

#include "FileCopier.h"
#include "FileIo.h"
#include "OperationUi.h"

#include <functional>
#include <QStringList>
#include <set>
#include <string>

// One copy or move of a folder into another, from the first question to the
// result. Lives for one operation; checking the request is the caller's.
class OperationRun {
public:
    OperationRun(FileIo &io, OperationUi &ui, quint16 flags, bool move);

    // Puts source into destination under name; returns an OperationResult.
    qint32 run(const std::string &source, const std::string &destination, const std::string &name);

private:
    enum class Outcome { Done, Skipped, Cancelled };
    enum class Place { New, Existing, Skip, Cancel };

    // A small file copied under a temporary name, waiting for the flush.
    struct Pending {
        std::string source;
        struct stat info;
        std::string temporary;
        std::string target;
        bool replace;
    };
    // The small files of one target folder, flushed together with one
    // syncfs rather than one fsync each, and only then published.
    struct Batch {
        std::string folder;
        int fd = -1; // opened before the first write, so syncfs sees every error
        std::vector<Pending> files;
        std::set<std::string> names;
        qint64 bytes = 0;
    };

    Outcome entry(const std::string &source, const std::string &folder, const std::string &name);
    Outcome folder(const std::string &source, const struct stat &info, const std::string &into,
                   std::string name);
    Outcome folderItself(const std::string &source, const struct stat &info,
                         const std::string &into, std::string name);
    Outcome fileOrLink(const std::string &source, const struct stat &info, const std::string &into,
                       std::string name);
    Outcome copyContents(const std::string &source, const std::string &target);
    Outcome copyOne(const std::string &source, const struct stat &info, const std::string &target,
                    bool replace);
    Outcome copyLater(const std::string &source, const struct stat &info, const std::string &target,
                      bool replace);
    Outcome flushBatch(Batch &batch);
    // Files up to this size wait in a batch for one common flush; bigger
    // ones are flushed on their own, where a flush costs little against
    // the copying.
    static constexpr qint64 BatchFileLimit() { return 4 * 1024 * 1024; }
    Outcome publishPending(const Pending &file, bool flushed);
    bool pendingName(const std::string &folder, const std::string &name) const;
    bool taken(const std::string &folder, const std::string &name);
    Outcome removeSource(const std::string &source, const std::string &targetFolder);
    Place placeFor(const std::string &into, std::string &name, bool incomingFolder);
    Place askAboutFile(const std::string &target);

    // Runs step until it succeeds, asking Retry / Skip / Cancel after each
    // failure; first is the result of an attempt already made.
    FileCopier::ChunkHandler progressFor(const std::string &source);
    Outcome settle(StepResult first, const std::function<StepResult()> &step);
    Outcome settle(const std::function<StepResult()> &step) { return settle(step(), step); }
    bool stopping();
    void measure(const std::string &path);
    void showProgress(const std::string &source);
    QString decode(const std::string &path) const;

    FileIo &io_;
    OperationUi &ui_;
    FileCopier copier_;
    quint16 flags_;
    bool move_;
    bool replaceAll_ = false;
    bool skipAll_ = false;
    bool failed_ = false;
    bool cancelled_ = false;
    QStringList leftAlone_;
    std::vector<Batch> batches_; // one per folder being filled, innermost last
    OperationProgress progress_;
};
