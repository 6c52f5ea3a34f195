#include "JournalUndo.h"

#include "Id3v1Tag.h"
#include "TagRename.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FilePath RenamedPath(const JournalRecord &rename, bool afterChange)
{
    return JoinPath(rename.path, afterChange ? rename.newName : rename.oldName);
}

QString Reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Why the file no longer is what Brelko's last change left, or empty.
QString Difference(const FileState &now, const FileState &expected)
{
    if (now.size != expected.size)
        return QStringLiteral("its length changed since Brelko's last change");
    if (now.mtimeNs != expected.mtimeNs)
        return QStringLiteral("it was modified since Brelko's last change");
    if (now.trailer != expected.trailer)
        return QStringLiteral("its tag changed since Brelko's last change");
    return QString();
}

// Puts back the trailer and length that a write replaced. The file is
// checked under its tag lock through the descriptor that is written, so no
// edit can slip in between the check and the write.
QString RestoreWrite(const FilePath &where, const FileState &before, const FileState &expected,
                     FileState &left)
{
    const bool overwrite = before.size == expected.size && before.trailer.size() == Id3v1Tag::Size;
    const bool append = before.size + Id3v1Tag::Size == expected.size;
    if (!overwrite && !append)
        return QStringLiteral("the journal entry for it does not fit the file");
    const FileDescriptor file = OpenLocked(where);
    FileState now;
    if (!file.valid() || !ReadFileStateOf(file.get(), now))
        return Reason(errno);
    const QString difference = Difference(now, expected);
    if (!difference.isEmpty())
        return difference;
    const bool ok = (overwrite ? ::pwrite(file.get(), before.trailer.constData(), Id3v1Tag::Size,
                                          off_t(expected.size - Id3v1Tag::Size)) == Id3v1Tag::Size
                               : ::ftruncate(file.get(), off_t(before.size)) == 0) &&
                    ::fsync(file.get()) == 0;
    if (!ok)
        return Reason(errno);
    ReadFileStateOf(file.get(), left);
    return QString();
}

QString RestoreName(const JournalRecord &rename, FileState &left)
{
    const FileDescriptor folder(
        ::open(rename.path.constData(), O_RDONLY | O_DIRECTORY | O_NOCTTY | O_CLOEXEC));
    if (!folder.valid())
        return Reason(errno);
    struct stat info {};
    if (::fstatat(folder.get(), rename.oldName.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0)
        return QStringLiteral("\"%1\" exists").arg(DisplayPath(rename.oldName));
    if (!RenameInFolder(folder.get(), rename.newName, rename.oldName))
        return Reason(errno);
    ReadFileState(RenamedPath(rename, false), left);
    return QString();
}

} // namespace

FilePath JournalPath(const FilePath &path)
{
    return ResolvedPath(path);
}

JournalHistory::JournalHistory(const QVector<JournalRecord> &records)
{
    for (const JournalRecord &record : records)
        apply(record);
}

void JournalHistory::apply(const JournalRecord &record)
{
    using Type = JournalRecord::Type;
    if (record.isChange()) {
        intents_.insert(record.id, record);
        return;
    }
    if (record.type == Type::Done) {
        const auto intent = intents_.constFind(record.id);
        if (intent == intents_.constEnd())
            return;
        const JournalRecord &change = *intent;
        changes_.insert(change.id, change);
        if (change.type == Type::Write) {
            stacks_[change.path].append(change.id);
            expected_.insert(change.path, record.state);
        } else {
            const FilePath from = RenamedPath(change, false);
            const FilePath to = RenamedPath(change, true);
            QVector<quint64> stack = stacks_.take(from);
            stack.append(change.id);
            stacks_.insert(to, stack);
            expected_.remove(from);
            expected_.insert(to, record.state);
        }
        return;
    }
    // Undone: only the change on top of its file's history can be taken back.
    const auto found = changes_.constFind(record.id);
    if (found == changes_.constEnd())
        return;
    const JournalRecord change = *found;
    const FilePath at = change.type == Type::Write ? change.path : RenamedPath(change, true);
    QVector<quint64> &stack = stacks_[at];
    if (stack.isEmpty() || stack.last() != change.id)
        return;
    stack.removeLast();
    changes_.remove(change.id);
    if (change.type == Type::Write) {
        expected_.insert(at, record.state);
        return;
    }
    const FilePath back = RenamedPath(change, false);
    stacks_.insert(back, stacks_.take(at));
    expected_.remove(at);
    expected_.insert(back, record.state);
}

const JournalRecord *JournalHistory::lastChange(const FilePath &where) const
{
    const auto stack = stacks_.constFind(where);
    if (stack == stacks_.constEnd() || stack->isEmpty())
        return nullptr;
    const auto change = changes_.constFind(stack->last());
    return change == changes_.constEnd() ? nullptr : &*change;
}

FileState JournalHistory::expectedState(const FilePath &where) const
{
    return expected_.value(where);
}

UndoOutcome UndoLastChange(ChangeJournal &journal, JournalHistory &history, const FilePath &path)
{
    UndoOutcome outcome;
    outcome.path = path;
    const FilePath where = JournalPath(path);
    const JournalRecord *found = where.isEmpty() ? nullptr : history.lastChange(where);
    if (!found) {
        FileState now;
        outcome.message = ReadFileState(path, now)
                              ? QStringLiteral("no change by Brelko is recorded for it")
                              : Reason(errno);
        return outcome;
    }
    const JournalRecord change = *found;
    const FileState expected = history.expectedState(where);
    FileState now;
    if (!ReadFileState(where, now)) {
        outcome.message = Reason(errno);
        return outcome;
    }
    QString failure = Difference(now, expected);
    // An undo the journal cannot record would leave the history wrong: the
    // next undo of the file would refuse for a reason that is not true.
    // Better not to start.
    if (failure.isEmpty() && !journal.ready())
        failure = QStringLiteral("the journal cannot record it (%1)").arg(journal.error());
    FileState left;
    if (failure.isEmpty() && change.type == JournalRecord::Type::Write)
        failure = RestoreWrite(where, change.state, expected, left);
    else if (failure.isEmpty())
        failure = RestoreName(change, left);
    if (!failure.isEmpty()) {
        outcome.message = QStringLiteral("cannot undo: ") + failure;
        return outcome;
    }
    if (change.type == JournalRecord::Type::Write) {
        outcome.message = QStringLiteral("tag write undone");
    } else {
        outcome.path = path.left(path.lastIndexOf('/') + 1) + change.oldName;
        outcome.message =
            QStringLiteral("rename undone, now \"%1\"").arg(DisplayPath(change.oldName));
    }
    history.apply(journal.markUndone(change.id, left));
    outcome.recorded = journal.flush();
    outcome.undone = true;
    return outcome;
}
