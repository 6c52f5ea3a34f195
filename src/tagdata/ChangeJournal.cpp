#include "ChangeJournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
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

QString AbsolutePath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString SystemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

void SyncFolder(const QString &folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

int CountChanges(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    int count = 0;
    for (const JournalRecord &record : DecodeRecords(file.readAll()))
        count += record.isChange() ? 1 : 0;
    return count;
}

bool WriteAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
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

bool ChangeJournal::prepareWrite(const QString &path, JournalRecord &record)
{
    record = JournalRecord();
    record.type = JournalRecord::Type::Write;
    record.path = AbsolutePath(path);
    return ReadFileState(path, record.state);
}

JournalRecord ChangeJournal::prepareRename(const QString &folder, const QString &oldName,
                                           const QString &newName)
{
    JournalRecord record;
    record.type = JournalRecord::Type::Rename;
    record.path = AbsolutePath(folder);
    record.oldName = oldName;
    record.newName = newName;
    return record;
}

void ChangeJournal::fail(const QString &what)
{
    error_ = what + QStringLiteral(": ") + SystemError();
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
            if (!QDir().mkpath(folder_)) {
                errno = EACCES;
                fail(QStringLiteral("cannot create ") + folder_);
                return false;
            }
            fd_ = ::open(current.constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
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
        if (::fstat(fd_, &open) != 0 || ::stat(current.constData(), &named) != 0 ||
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

void ChangeJournal::unlock()
{
    if (fd_ >= 0)
        ::flock(fd_, LOCK_UN);
}

// Sets the full current segment aside as number 1, shifting older ones up,
// and drops the segments no longer needed for the last maxChanges changes.
void ChangeJournal::rotate()
{
    int highest = 0;
    while (QFile::exists(segmentPath(highest + 1)))
        ++highest;
    for (int i = highest; i >= 0; --i)
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

bool ChangeJournal::append(const QByteArray &lines)
{
    if (!lockCurrent())
        return false;
    const bool written = WriteAll(fd_, lines);
    if (!written) {
        fail(QStringLiteral("cannot write ") + segmentPath(0));
        return false;
    }
    unlock();
    unflushed_ = true;
    return true;
}

bool ChangeJournal::flush()
{
    writeCompletions();
    if (!unflushed_ || fd_ < 0)
        return error_.isEmpty();
    unflushed_ = false;
    if (::fdatasync(fd_) != 0) {
        fail(QStringLiteral("cannot flush ") + segmentPath(0));
        return false;
    }
    return true;
}

bool ChangeJournal::record(QVector<JournalRecord> &changes)
{
    QByteArray lines;
    for (JournalRecord &change : changes) {
        change.id = QRandomGenerator::global()->generate64() | 1; // never 0
        lines += EncodeRecord(change);
    }
    if (!append(lines) || !flush()) {
        for (JournalRecord &change : changes)
            change.id = 0;
        return false;
    }
    return true;
}

bool ChangeJournal::record(JournalRecord &change)
{
    QVector<JournalRecord> one{change};
    const bool ok = record(one);
    change.id = one.first().id;
    return ok;
}

void ChangeJournal::markDone(const JournalRecord &change)
{
    if (change.id == 0)
        return;
    JournalRecord done;
    done.type = JournalRecord::Type::Done;
    done.id = change.id;
    const QString path = change.type == JournalRecord::Type::Rename
                             ? change.path + QLatin1Char('/') + change.newName
                             : change.path;
    ReadFileState(path, done.state);
    // Completions wait in memory and go out together: written between the
    // per-file flushes of a batch, each would drag the journal's growth into
    // that file's flush. Losing them in a crash costs only the undo of those
    // changes, which then refuses; it never touches a file wrongly.
    completions_ += EncodeRecord(done);
    if (completions_.size() >= CompletionBuffer)
        writeCompletions();
}

void ChangeJournal::writeCompletions()
{
    if (completions_.isEmpty())
        return;
    const QByteArray lines = completions_;
    completions_.clear();
    // The segment that took the intentions is still open and appends are
    // atomic, so completions skip the lock and the rotation check. Should
    // another process set that file aside meanwhile, they land in the older
    // segment, which is read all the same.
    if (fd_ >= 0 && error_.isEmpty()) {
        if (WriteAll(fd_, lines))
            unflushed_ = true;
        else
            fail(QStringLiteral("cannot write ") + segmentPath(0));
        return;
    }
    append(lines);
}

JournalRecord ChangeJournal::markUndone(quint64 id, const QString &path)
{
    JournalRecord undone;
    undone.type = JournalRecord::Type::Undone;
    undone.id = id;
    ReadFileState(path, undone.state);
    writeCompletions(); // keep the lines in the order things happened
    append(EncodeRecord(undone));
    return undone;
}

QVector<JournalRecord> ChangeJournal::readAll() const
{
    QVector<JournalRecord> records;
    int oldest = 0;
    while (QFile::exists(segmentPath(oldest + 1)))
        ++oldest;
    for (int i = oldest; i >= 0; --i) {
        QFile file(segmentPath(i));
        if (file.open(QIODevice::ReadOnly))
            records += DecodeRecords(file.readAll());
    }
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
