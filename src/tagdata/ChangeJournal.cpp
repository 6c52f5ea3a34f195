#include "ChangeJournal.h"

#include "FolderResolver.h"

#include "JournalFiles.h"
#include "SafeFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString CurrentName = QStringLiteral("changes.log");
constexpr qsizetype CompletionBuffer = 1 << 20;
constexpr qsizetype WritePiece = 1 << 18;

QString SystemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

ChangeJournal::ChangeJournal(const QString &folder) : ChangeJournal(folder, Limits()) {}

ChangeJournal::ChangeJournal(const QString &folder, Limits limits)
    : folder_(folder), limits_(limits)
{
}

ChangeJournal::~ChangeJournal()
{
    flush();
    if (fd_ >= 0)
        ::close(fd_);
}

QString ChangeJournal::defaultFolder()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericStateLocation);
#else
    // Qt learned the XDG state folder only later; follow the same rule.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
#endif
    return base + QStringLiteral("/brelko");
}

QString ChangeJournal::segmentPath(int index) const
{
    const QString current = folder_ + QLatin1Char('/') + CurrentName;
    return index == 0 ? current : current + QLatin1Char('.') + QString::number(index);
}

bool ChangeJournal::prepareWrite(const FilePath &path, JournalRecord &record,
                                 FolderResolver *folders)
{
    record = JournalRecord();
    record.type = JournalRecord::Type::Write;
    if (!ReadFileState(path, record.state))
        return false;
    record.path = folders ? folders->resolve(path) : ResolvedPath(path);
    return !record.path.isEmpty();
}

JournalRecord ChangeJournal::prepareRename(const FilePath &folder, const FilePath &oldName,
                                           const FilePath &newName)
{
    JournalRecord record;
    record.type = JournalRecord::Type::Rename;
    record.path = folder;
    record.oldName = oldName;
    record.newName = newName;
    return record;
}

void ChangeJournal::fail(const QString &what)
{
    error_ = what + QStringLiteral(": ") + SystemError();
    failed_ = true;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

// Opens the current segment and locks it against other Brelko processes.
// Another process may have set the file aside meanwhile: then the path names
// a new file and we start again on that one.
bool ChangeJournal::lockCurrent()
{
    const QByteArray current = QFile::encodeName(segmentPath(0));
    for (int attempt = 0; attempt < 8; ++attempt) {
        if (fd_ < 0) {
            if (!MakePrivateFolder(folder_)) {
                fail(QStringLiteral("cannot use ") + folder_);
                return false;
            }
            fd_ = OpenJournalFile(segmentPath(0), O_RDWR | O_APPEND | O_CREAT).release();
            if (fd_ < 0) {
                fail(QStringLiteral("cannot open ") + segmentPath(0));
                return false;
            }
        }
        if (::flock(fd_, LOCK_EX) != 0) {
            fail(QStringLiteral("cannot lock ") + segmentPath(0));
            return false;
        }
        struct stat open {};
        struct stat named {};
        if (::fstat(fd_, &open) != 0 || ::lstat(current.constData(), &named) != 0 ||
            open.st_ino != named.st_ino || open.st_dev != named.st_dev) {
            ::close(fd_);
            fd_ = -1;
            continue;
        }
        if (open.st_size == 0)
            SyncFolder(folder_); // a new file: make its name durable too
        if (open.st_size > limits_.segmentBytes) {
            rotate();
            ::close(fd_);
            fd_ = -1;
            continue;
        }
        // A crash can leave a torn last line; start ours on a line of its own.
        char last = '\n';
        if (open.st_size > 0 && ::pread(fd_, &last, 1, open.st_size - 1) == 1 && last != '\n')
            WriteAll(fd_, QByteArrayLiteral("\n"));
        return true;
    }
    errno = EAGAIN;
    fail(QStringLiteral("cannot settle on ") + segmentPath(0));
    return false;
}

// The highest number among the segments set aside; 0 when there are none.
// Numbers may be missing (a crash in the middle of a rotation), so the
// folder is listed rather than counted up to the first gap.
int ChangeJournal::highestSegment() const
{
    int highest = 0;
    const QString prefix = CurrentName + QLatin1Char('.');
    const QStringList names = QDir(folder_).entryList({prefix + QLatin1Char('*')},
                                                      QDir::Files | QDir::System | QDir::Hidden);
    for (const QString &name : names) {
        bool number = false;
        const int index = name.mid(prefix.size()).toInt(&number);
        if (number && index > highest)
            highest = index;
    }
    return highest;
}

void ChangeJournal::unlock()
{
    if (fd_ >= 0)
        ::flock(fd_, LOCK_UN);
}

// Sets the full current segment aside as number 1, shifting older ones up,
// and drops the segments no longer needed for the last maxChanges changes.
void ChangeJournal::rotate()
{
    const int highest = highestSegment();
    struct stat info {};
    for (int i = highest; i >= 0; --i)
        if (::lstat(QFile::encodeName(segmentPath(i)).constData(), &info) == 0)
            ::rename(QFile::encodeName(segmentPath(i)).constData(),
                     QFile::encodeName(segmentPath(i + 1)).constData());
    int kept = 0;
    for (int i = 1; i <= highest + 1; ++i) {
        if (kept >= limits_.maxChanges)
            QFile::remove(segmentPath(i));
        else
            kept += CountChanges(segmentPath(i));
    }
    SyncFolder(folder_);
}

bool ChangeJournal::append(const std::function<bool(int fd)> &write)
{
    if (!lockCurrent())
        return false;
    if (!write(fd_)) {
        fail(QStringLiteral("cannot write ") + segmentPath(0));
        return false;
    }
    unlock();
    unflushed_ = true;
    return true;
}

bool ChangeJournal::append(const QByteArray &lines)
{
    return append([&lines](int fd) { return WriteAll(fd, lines); });
}

// Says whether everything handed over since the last flush is on disk. A
// failure is reported once: the next changes get a fresh start (the
// descriptor is opened again), so a passing fault does not poison the rest
// of the process.
bool ChangeJournal::flush()
{
    const std::lock_guard<std::recursive_mutex> hold(mutex_);
    writeCompletions();
    if (unflushed_ && fd_ >= 0) {
        unflushed_ = false;
        if (::fdatasync(fd_) != 0)
            fail(QStringLiteral("cannot flush ") + segmentPath(0));
    }
    const bool ok = !failed_;
    failed_ = false;
    return ok;
}

bool ChangeJournal::ready()
{
    const std::lock_guard<std::recursive_mutex> hold(mutex_);
    if (!lockCurrent()) {
        failed_ = false;
        return false;
    }
    unlock();
    return true;
}

bool ChangeJournal::record(QVector<JournalRecord> &changes)
{
    const std::lock_guard<std::recursive_mutex> hold(mutex_);
    failed_ = false; // an earlier failure was reported by its own call
    // A piece at a time under one lock: a batch of a million files would
    // otherwise hold all its lines at once.
    const bool written = append([&changes](int fd) {
        QByteArray lines;
        lines.reserve(WritePiece * 2);
        for (qsizetype i = 0; i < changes.size(); ++i) {
            changes[i].id = QRandomGenerator::global()->generate64() | 1; // never 0
            lines += EncodeRecord(changes[i]);
            if (lines.size() >= WritePiece || i + 1 == changes.size()) {
                if (!WriteAll(fd, lines))
                    return false;
                lines.resize(0);
            }
        }
        return true;
    });
    if (!written || !flush()) {
        for (JournalRecord &change : changes)
            change.id = 0;
        return false;
    }
    return true;
}

bool ChangeJournal::record(JournalRecord &change)
{
    const std::lock_guard<std::recursive_mutex> hold(mutex_);
    QVector<JournalRecord> one{change};
    const bool ok = record(one);
    change.id = one.first().id;
    return ok;
}

void ChangeJournal::markDone(const JournalRecord &change)
{
    FileState after;
    ReadFileState(change.type == JournalRecord::Type::Rename ? JoinPath(change.path, change.newName)
                                                             : change.path,
                  after);
    markDone(change, after);
}

void ChangeJournal::markDone(const JournalRecord &change, const FileState &after)
{
    if (change.id == 0)
        return;
    JournalRecord done;
    done.type = JournalRecord::Type::Done;
    done.id = change.id;
    done.state = after;
    // Encoded before taking the lock: all the threads of a batch come here.
    const QByteArray line = EncodeRecord(done);
    const std::lock_guard<std::recursive_mutex> hold(mutex_);
    // Completions wait in memory and go out together: written between the
    // per-file flushes of a batch, each would drag the journal's growth into
    // that file's flush. Losing them in a crash costs only the undo of those
    // changes, which then refuses; it never touches a file wrongly.
    if (completions_.capacity() < CompletionBuffer)
        completions_.reserve(CompletionBuffer + line.size());
    completions_ += line;
    if (completions_.size() >= CompletionBuffer)
        writeCompletions();
}

void ChangeJournal::writeCompletions()
{
    if (completions_.isEmpty())
        return;
    const QByteArray &lines = completions_;
    // Cleared after writing, keeping its room: a batch fills it many times.
    const auto emptied = qScopeGuard([this] { completions_.resize(0); });
    // The segment that took the intentions is still open and appends are
    // atomic, so completions skip the lock and the rotation check. Should
    // another process set that file aside meanwhile, they land in the older
    // segment, which is read all the same.
    if (fd_ >= 0) {
        if (WriteAll(fd_, lines))
            unflushed_ = true;
        else
            fail(QStringLiteral("cannot write ") + segmentPath(0));
        return;
    }
    append(lines);
}

JournalRecord ChangeJournal::markUndone(quint64 id, const FileState &left)
{
    const std::lock_guard<std::recursive_mutex> hold(mutex_);
    JournalRecord undone;
    undone.type = JournalRecord::Type::Undone;
    undone.id = id;
    undone.state = left;
    writeCompletions(); // keep the lines in the order things happened
    append(EncodeRecord(undone));
    return undone;
}

QVector<JournalRecord> ChangeJournal::readAll() const
{
    QVector<JournalRecord> records;
    for (int i = highestSegment(); i >= 0; --i)
        records += DecodeRecords(ReadSegment(segmentPath(i)));
    // Only the last maxChanges changes count; older lines are left over from
    // a segment that is kept for its newer part.
    int changes = 0;
    qsizetype first = records.size();
    while (first > 0 && changes < limits_.maxChanges) {
        --first;
        changes += records.at(first).isChange() ? 1 : 0;
    }
    return records.mid(first);
}
