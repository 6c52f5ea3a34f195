#include "TagWrites.h"

#include "ChangeJournal.h"
#include "Console.h"
#include "DeviceJobs.h"
#include "FolderResolver.h"
#include "InOrder.h"
#include "JournaledChanges.h"
#include "ShowFormat.h"

#include <cerrno>

namespace {

// Why a file was not written, and whether it may be damaged.
QString FailureReason(const TagEditOutcome &outcome)
{
    const QString reason = FileErrorText(outcome.error);
    if (!outcome.restored)
        return reason + QStringLiteral("; putting the old tag back failed too, check the file");
    return reason;
}

} // namespace

int WriteTagChanges(const QVector<TagChange> &requested, int jobs)
{
    // Journal every file's current state first, with one flush before the
    // first file is touched. The edits themselves are made on the trailer as
    // each file holds it at its write, under its lock: only the fields given
    // change, whatever another writer did meanwhile.
    // The states are read many at a time too, as on a cold cache that is
    // where the time goes.
    int status = ExitSuccess;
    if (requested.isEmpty())
        return status;
    const int running = jobs > 0 ? jobs : DeviceJobs(requested.first().file);
    // The records that can be journaled move down over those of files that
    // failed, once reported: in file order, never past a running thread.
    QVector<JournalRecord> changes(requested.size());
    QVector<int> prepareErrors(requested.size());
    JournalRecord *changeAt = changes.data();
    int *prepareErrorAt = prepareErrors.data();
    QList<FilePath> files;
    QVector<const TagEdits *> edits;
    files.reserve(requested.size());
    edits.reserve(requested.size());
    FolderResolver folders;
    RunInOrder(
        requested.size(), running,
        [&](qsizetype i) {
            if (!ChangeJournal::prepareWrite(requested.at(i).file, changeAt[i], &folders))
                prepareErrorAt[i] = errno ? errno : EIO;
        },
        [&](qsizetype i) {
            if (prepareErrors.at(i)) {
                PrintFileError(requested.at(i).file, SystemReason(prepareErrors.at(i)));
                status = ExitFileFailed;
                return;
            }
            if (files.size() != i)
                changeAt[files.size()] = std::move(changeAt[i]);
            files.append(requested.at(i).file);
            edits.append(requested.at(i).edits.get());
        },
        [] { return false; });
    changes.resize(files.size());
    if (files.isEmpty())
        return status;
    ChangeJournal journal(ChangeJournal::defaultFolder());
    if (!journal.record(changes))
        PrintError(
            QStringLiteral("journal: %1; these changes cannot be undone").arg(journal.error()));

    // Each file is written and flushed under its own lock; many flushes in
    // flight take little longer than one. Results come out in file order.
    QVector<TagEditOutcome> outcomes(files.size());
    TagEditOutcome *outcome = outcomes.data();
    JournalRecord *change = changes.data();
    const auto work = [&](qsizetype i) {
        const TagEdits &fileEdits = *edits.at(i);
        const TagEditor apply = [&fileEdits](const FileState &, Id3v1Tag &tag) {
            ApplyEdits(fileEdits, tag);
            return true;
        };
        outcome[i] = JournaledEditTag(journal, files.at(i), apply, &change[i]);
    };
    QList<FilePath> untouched;
    const auto report = [&](qsizetype i) {
        if (outcome[i].written) {
            PrintOutLater(TerminalSafe(DisplayPath(files.at(i))).toUtf8() + ": tag written\n");
        } else if (outcome[i].error == EINTR && StopRequested()) {
            untouched.append(files.at(i)); // stopped while waiting for its lock
        } else {
            PrintFileError(files.at(i), FailureReason(outcome[i]));
            status = ExitFileFailed;
        }
        // Their memory goes to the files still to come: a batch's memory
        // stays that of the files in flight.
        outcome[i] = TagEditOutcome();
        change[i] = JournalRecord();
    };
    // The lines kept back go out whenever this thread waits for a file: a
    // reader that went away is noticed, and stops the other threads, before
    // they reach many more files.
    const qsizetype started =
        RunInOrder(files.size(), running, work, report, StopRequested, FlushOut);
    journal.flush();
    untouched += files.mid(started);
    if (!untouched.isEmpty())
        return ReportStopped(untouched, 0);
    return status;
}
