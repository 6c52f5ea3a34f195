#include "TagWrites.h"

#include "ChangeJournal.h"
#include "Console.h"
#include "ShowFormat.h"
#include "TagFile.h"

#include <cerrno>

namespace {

// The tag to write: the file's own trailer with the edits applied, or a new
// one when it has none.
Id3v1Tag EditedTag(const JournalRecord &before, const TagEdits &edits)
{
    Id3v1Tag tag;
    if (before.state.trailer.startsWith("TAG"))
        tag = Id3v1Tag::parse(before.state.trailer);
    ApplyEdits(edits, tag);
    return tag;
}

} // namespace

int WriteTagChanges(const QVector<TagChange> &changes)
{
    int status = ExitSuccess;
    QStringList files;
    QVector<const TagEdits *> edits;
    QVector<JournalRecord> records;
    for (const TagChange &change : changes) {
        JournalRecord record;
        if (!ChangeJournal::prepareWrite(change.file, record)) {
            PrintFileError(change.file, SystemReason());
            status = ExitFileFailed;
            continue;
        }
        files.append(change.file);
        edits.append(&change.edits);
        records.append(record);
    }
    if (files.isEmpty())
        return status;
    ChangeJournal journal(ChangeJournal::defaultFolder());
    if (!journal.record(records))
        PrintError(
            QStringLiteral("journal: %1; these changes cannot be undone").arg(journal.error()));

    QByteArray done;
    for (int i = 0; i < files.size(); ++i) {
        if (StopRequested()) {
            PrintOut(done);
            journal.flush();
            return ReportStopped(files, i);
        }
        Id3v1Tag tag = EditedTag(records.at(i), *edits.at(i));
        errno = 0;
        if (WriteTag(files.at(i), tag)) {
            journal.markDone(records.at(i));
            done += TerminalSafe(files.at(i)).toUtf8() + ": tag written\n";
        } else {
            PrintOut(done);
            done.clear();
            PrintFileError(files.at(i), errno ? SystemReason() : QStringLiteral("cannot write"));
            status = ExitFileFailed;
        }
    }
    PrintOut(done);
    journal.flush();
    return status;
}
