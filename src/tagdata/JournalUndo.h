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

    // The last change still in force for the file at path, or nullptr.
    const JournalRecord *lastChange(const QString &path) const;
    // The state that change (or an undo since) left the file in.
    FileState expectedState(const QString &path) const;

private:
    QHash<quint64, JournalRecord> intents_;   // recorded, perhaps not made
    QHash<quint64, JournalRecord> changes_;   // made
    QHash<QString, QVector<quint64>> stacks_; // path -> ids in force, oldest first
    QHash<QString, FileState> expected_;
};

struct UndoOutcome {
    bool undone = false;
    QString message; // what was done, or why not
    QString path;    // where the file stands afterwards
};

// Takes back the last change Brelko made to the file at path: restores the
// trailer and length a write replaced, or the name a rename replaced. Refuses
// when the file changed since (length, modification time or trailer differ
// from what the change left). Records the undo in the journal and history.
UndoOutcome UndoLastChange(ChangeJournal &journal, JournalHistory &history, const QString &path);

// The absolute, cleaned form under which the journal knows a path.
QString JournalPath(const QString &path);
