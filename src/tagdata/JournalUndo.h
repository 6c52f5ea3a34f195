#pragma once

#include "ChangeJournal.h"

#include <QHash>
#include <QString>
#include <QVector>

// The changes of a journal replayed per file: for each path where a file now
// stands, the changes that brought it there (renames carry a file's history
// along) and the state the last change or undo left it in.
class JournalHistory {
public:
    explicit JournalHistory(const QVector<JournalRecord> &records);

    void apply(const JournalRecord &record);

    // The last change still in force for the file at path (as JournalPath
    // gives it), or nullptr.
    const JournalRecord *lastChange(const FilePath &where) const;
    // The state that change (or an undo since) left the file in.
    FileState expectedState(const FilePath &where) const;

private:
    QHash<quint64, JournalRecord> intents_;    // recorded, perhaps not made
    QHash<quint64, JournalRecord> changes_;    // made
    QHash<FilePath, QVector<quint64>> stacks_; // path -> ids in force, oldest first
    QHash<FilePath, FileState> expected_;
};

struct UndoOutcome {
    bool undone = false;
    // False when the undo was made but the journal could not record it: a
    // later undo of the same file will then refuse.
    bool recorded = true;
    QString message; // what was done, or why not
    FilePath path;   // where the file stands afterwards, spelled as given
};

// Takes back the last change Brelko made to the file at path: restores the
// trailer and length a write replaced, or the name a rename replaced. Refuses
// when the file changed since (length, modification time or trailer differ
// from what the change left), checked through the open file under its tag
// lock, and refuses before touching the file when the journal cannot be
// written. Records the undo in the journal and history.
UndoOutcome UndoLastChange(ChangeJournal &journal, JournalHistory &history, const FilePath &path);

// The absolute form under which the journal knows a path: its folder as the
// kernel resolves it, plus its name. Empty when the folder cannot be opened.
FilePath JournalPath(const FilePath &path);
