#pragma once

#include "JournalRecord.h"

#include "SafeFile.h"

#include <QString>
#include <QVector>

#include <functional>
#include <mutex>

class FolderResolver;

// A record, kept under the user's state folder, of what each tag write and
// rename replaced, so that the change can be taken back later. Every change
// is recorded and flushed to disk before it is made. The journal keeps the
// last `maxChanges` changes across restarts. It is an aid, never a gate: when
// it cannot be written the change goes ahead without it, and damaged lines are
// skipped when it is read.
class ChangeJournal {
public:
    struct Limits {
        int maxChanges = 10000;
        qint64 segmentBytes = 1 << 20; // the current file is set aside beyond this
    };

    explicit ChangeJournal(const QString &folder);
    ChangeJournal(const QString &folder, Limits limits);
    ~ChangeJournal();
    ChangeJournal(const ChangeJournal &) = delete;
    ChangeJournal &operator=(const ChangeJournal &) = delete;

    // $XDG_STATE_HOME/brelko, or ~/.local/state/brelko.
    static QString defaultFolder();
    QString folder() const { return folder_; }
    const Limits &limits() const { return limits_; }

    // What a tag write is about to replace, read from the file now. False,
    // with errno set, when the file cannot be examined.
    // The file is journaled under its folder as the kernel resolves it (see
    // ResolvedPath, or the batch's resolver when given), plus its name.
    static bool prepareWrite(const FilePath &path, JournalRecord &record,
                             FolderResolver *folders = nullptr);
    // folder: the absolute path of the folder as resolved (FolderPath).
    static JournalRecord prepareRename(const FilePath &folder, const FilePath &oldName,
                                       const FilePath &newName);

    // Appends the changes, giving each its id, and flushes them to disk with
    // one flush. False when the journal cannot be written (error() says why):
    // the ids stay 0 and those changes cannot be undone.
    bool record(QVector<JournalRecord> &changes);
    bool record(JournalRecord &change);

    // Notes that a recorded change was made, reading the state it left from
    // the file (for a rename, the file under its new name). Kept in memory
    // and written by flush() (or when much has gathered), so a batch needs
    // only one flush at its end.
    void markDone(const JournalRecord &change);
    // The same with the state the write left, as read under the file's lock
    // (TagEditOutcome::after): read later, it could be another writer's.
    void markDone(const JournalRecord &change, const FileState &after);
    // Notes that the change `id` was taken back, leaving the file as `left`.
    // Returns the record written, for a caller that keeps a history.
    JournalRecord markUndone(quint64 id, const FileState &left);
    // True when everything handed over since the last flush is on disk.
    // A failure is reported once; later changes start afresh.
    bool flush();
    // Whether the journal can be opened and locked for writing now, for a
    // change that must not be made unrecorded (undo).
    bool ready();

    // The undamaged records of the last maxChanges changes, oldest first.
    QVector<JournalRecord> readAll() const;

    QString error() const { return error_; }

private:
    QString segmentPath(int index) const;
    int highestSegment() const;
    bool lockCurrent();
    void unlock();
    void rotate();
    bool append(const std::function<bool(int fd)> &write);
    bool append(const QByteArray &lines);
    void writeCompletions();
    void fail(const QString &what);

    QString folder_;
    Limits limits_;
    int fd_ = -1;
    bool unflushed_ = false;
    bool failed_ = false;    // something since the last flush did not get written
    QByteArray completions_; // completion lines not yet written
    QString error_;
    // Writers of one batch may run on several threads at once.
    std::recursive_mutex mutex_;
};
