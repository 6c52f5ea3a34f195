#include "JournalUndo.h"

#include "Id3v1Tag.h"
#include "TagRename.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString RenamedPath(const JournalRecord &rename, bool afterChange)
{
    return QDir::cleanPath(rename.path + QLatin1Char('/') +
                           (afterChange ? rename.newName : rename.oldName));
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

// Puts back the trailer and length that a write replaced. The file is checked
// once more under the open descriptor so nothing slips in between.
QString RestoreWrite(const QString &path, const FileState &before, const FileState &expected)
{
    const bool overwrite = before.size == expected.size && before.trailer.size() == Id3v1Tag::Size;
    const bool append = before.size + Id3v1Tag::Size == expected.size;
    if (!overwrite && !append)
        return QStringLiteral("the journal entry for it does not fit the file");
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return Reason(errno);
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && info.st_size == expected.size;
    if (ok && overwrite)
        ok = ::pwrite(fd, before.trailer.constData(), Id3v1Tag::Size,
                      off_t(expected.size - Id3v1Tag::Size)) == Id3v1Tag::Size;
    else if (ok)
        ok = ::ftruncate(fd, off_t(before.size)) == 0;
    ok = ok && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    return ok ? QString() : Reason(error);
}

} // namespace

QString JournalPath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
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
            const QString from = RenamedPath(change, false);
            const QString to = RenamedPath(change, true);
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
    const QString at = change.type == Type::Write ? change.path : RenamedPath(change, true);
    QVector<quint64> &stack = stacks_[at];
    if (stack.isEmpty() || stack.last() != change.id)
        return;
    stack.removeLast();
    changes_.remove(change.id);
    if (change.type == Type::Write) {
        expected_.insert(at, record.state);
        return;
    }
    const QString back = RenamedPath(change, false);
    stacks_.insert(back, stacks_.take(at));
    expected_.remove(at);
    expected_.insert(back, record.state);
}

const JournalRecord *JournalHistory::lastChange(const QString &path) const
{
    const auto stack = stacks_.constFind(JournalPath(path));
    if (stack == stacks_.constEnd() || stack->isEmpty())
        return nullptr;
    const auto change = changes_.constFind(stack->last());
    return change == changes_.constEnd() ? nullptr : &*change;
}

FileState JournalHistory::expectedState(const QString &path) const
{
    return expected_.value(JournalPath(path));
}

UndoOutcome UndoLastChange(ChangeJournal &journal, JournalHistory &history, const QString &path)
{
    UndoOutcome outcome;
    outcome.path = path;
    const JournalRecord *found = history.lastChange(path);
    if (!found) {
        outcome.message = QStringLiteral("no change by Brelko is recorded for it");
        return outcome;
    }
    const JournalRecord change = *found;
    const FileState expected = history.expectedState(path);
    FileState now;
    if (!ReadFileState(path, now)) {
        outcome.message = Reason(errno);
        return outcome;
    }
    const QString difference = Difference(now, expected);
    if (!difference.isEmpty()) {
        outcome.message = QStringLiteral("cannot undo: ") + difference;
        return outcome;
    }

    QString where = JournalPath(path);
    if (change.type == JournalRecord::Type::Write) {
        const QString failure = RestoreWrite(where, change.state, expected);
        if (!failure.isEmpty()) {
            outcome.message = QStringLiteral("cannot undo: ") + failure;
            return outcome;
        }
        outcome.message = QStringLiteral("tag write undone");
    } else {
        if (QFileInfo::exists(RenamedPath(change, false))) {
            outcome.message = QStringLiteral("cannot undo: \"%1\" exists").arg(change.oldName);
            return outcome;
        }
        if (!RenameInFolder(change.path, change.newName, change.oldName)) {
            outcome.message = QStringLiteral("cannot undo: ") + Reason(errno);
            return outcome;
        }
        where = RenamedPath(change, false);
        outcome.path = QDir(QFileInfo(path).path()).filePath(change.oldName);
        outcome.message = QStringLiteral("rename undone, now \"%1\"").arg(change.oldName);
    }
    history.apply(journal.markUndone(change.id, where));
    journal.flush();
    outcome.undone = true;
    return outcome;
}
