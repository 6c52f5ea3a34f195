// The engine on real folders: where things end up, the questions it asks,
// and, after every fault, that each byte of the source is still in the
// source or whole at the destination.

#include "FileIo.h"
#include "FolderEngine.h"
#include "TreeFixture.h"

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>

using namespace fixture;
using A = ConflictAnswer;
using E = ErrorAnswer;

namespace {
// Fails the reads of one file, found by its inode, a given number of times.
class FaultyIo : public FileIo {
public:
    ino_t badFile = 0;
    int failures = 0;
    std::string fifoAtOpen; // replaced by a FIFO between its check and its open

    int open(const std::string &path, int flags, mode_t mode) override
    {
        if (path == fifoAtOpen && ::unlink(path.c_str()) == 0)
            ::mkfifo(path.c_str(), 0644);
        return FileIo::open(path, flags, mode);
    }
    // clang-format off
    ssize_t read(int fd, void *buffer, size_t size) override
    { return fail(fd) ? -1 : FileIo::read(fd, buffer, size); }
    ssize_t copyFileRange(int in, int out, size_t size) override
    { return fail(in) ? -1 : FileIo::copyFileRange(in, out, size); }
    // clang-format on

private:
    bool fail(int fd)
    {
        struct stat info {};
        if (::fstat(fd, &info) != 0 || info.st_ino != badFile || failures-- <= 0)
            return false;
        errno = EIO;
        return true;
    }
};

// Runs the operation with reads of sub/b.dat failing the given number of
// times. Under the file size limit, or with b.dat turned into a FIFO as it
// is opened, it runs in a child: the limit would hit this test too, and a
// hang must end as a failure (the alarm), never block the run. The child
// reports 100 unless it was asked about exactly b.dat.
qint32 Perform(const ShellRequest &request, ScriptedUi &ui, int readFailures = 0,
               bool sizeLimit = false, bool fifoAtOpen = false)
{
    FaultyIo io;
    io.badFile = statOf(request.source + "/sub/b.dat").st_ino;
    io.failures = readFailures;
    if (fifoAtOpen)
        io.fifoAtOpen = QFile::encodeName(request.source + "/sub/b.dat").toStdString();
    if (!sizeLimit && !fifoAtOpen)
        return FolderEngine(io).perform(request, ui);
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(10);
        ::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {16 * 1024, 16 * 1024};
        if (sizeLimit)
            ::setrlimit(RLIMIT_FSIZE, &limit);
        const qint32 result = FolderEngine(io).perform(request, ui);
        ::_exit(ui.errors.size() == 1 && ui.errors.first().contains("b.dat") ? result : 100);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// clang-format off
// existing: 0 missing, 1 empty, 2 holding album/mine.txt; far: on another file system
const struct { const char *name; qint32 action; int existing; bool far; quint16 flags = 0;
               bool create = true; } placements[] = {
    {"copy into existing", FO_COPY, 1, false}, {"copy into missing", FO_COPY, 0, false},
    {"copy, merge", FO_COPY, 2, false}, {"move into existing", FO_MOVE, 1, false},
    {"move into missing", FO_MOVE, 0, false}, {"move, merge", FO_MOVE, 2, false},
    {"move, all options", FO_MOVE, 0, false, 0x011C}, {"move, creation declined", FO_MOVE, 0, false, 0, false},
    {"move across", FO_MOVE, 1, true}, {"move across, merge", FO_MOVE, 2, true}};

// Paths relative to the work folder; lands: where a copy under a free name goes.
const struct { const char *name, *source, *destination; qint32 action, result; const char *lands = "";
               quint16 flags = FOF_NOCONFIRMATION; } refusals[] = {
    {"empty source", "", "backup", FO_COPY, ResultBadSource},
    {"file as source", "music/album/a.txt", "backup", FO_MOVE, ResultBadSource},
    {"empty destination", "music/album", "", FO_MOVE, ResultBadDestination},
    {"destination is a file", "music/album/sub", "music/album/a.txt", FO_COPY, ResultBadDestination},
    {"into itself", "music/album", "music/album", FO_COPY, ResultInsideSource},
    {"into a missing subfolder", "music/album", "music/album/x/y", FO_COPY, ResultInsideSource},
    {"through dots", "music/album", "music/../music/album/sub", FO_COPY, ResultInsideSource},
    {"move into own parent", "music/album", "music", FO_MOVE, ResultSameFolder},
    {"unknown action", "music/album", "backup", 3, ResultUnknownAction},
    {"copy into own parent", "music/album", "music", FO_COPY, ResultOk, "music/album (2)", 0},
    {"rename on collision", "music/album", "backup", FO_COPY, ResultOk, "backup/album (3)",
     FOF_RENAMEONCOLLISION}};

// Answers to the questions about a.txt and sub/b.dat (none: without
// confirmation), and which of the two are replaced.
const struct { const char *name; QList<A> answers; QStringList replaced; } conflicts[] = {
    {"replace, skip", {A::Replace, A::Skip}, {"a.txt"}}, {"skip, replace", {A::Skip, A::Replace}, {"sub/b.dat"}},
    {"replace all", {A::ReplaceAll}, {"a.txt", "sub/b.dat"}}, {"skip all", {A::SkipAll}, {}},
    {"cancel", {A::Cancel}, {}}, {"no confirmation", {}, {"a.txt", "sub/b.dat"}}};

// Each fault on the file that meets it, with an old version of that file at
// the destination when old is set.
enum FaultKind { Unreadable, FullDisk, SizeLimit, LargeCancel, Special, SwappedFifo };
const struct { const char *name; FaultKind kind; const char *file; QList<E> answers; qint32 result;
               bool old = false; } faultRows[] = {
    {"unreadable, skip", Unreadable, "b.dat", {E::Skip}, ResultIncomplete},
    {"unreadable, retry then fine", Unreadable, "b.dat", {E::Retry}, ResultOk},
    {"unreadable, retry, cancel", Unreadable, "b.dat", {E::Retry, E::Cancel}, ResultCancelled},
    {"full disk, skip", FullDisk, "zz-big.bin", {E::Skip}, ResultIncomplete, true},
    {"full disk, cancel", FullDisk, "zz-big.bin", {E::Cancel}, ResultCancelled, true},
    {"file size limit", SizeLimit, "b.dat", {E::Skip}, ResultIncomplete, true},
    {"cancel in a large file", LargeCancel, "large.bin", {}, ResultCancelled},
    {"cancel in a large file over old", LargeCancel, "large.bin", {}, ResultCancelled, true},
    {"special file", Special, "pipe", {}, ResultIncomplete},
    {"FIFO swapped in after its check", SwappedFifo, "b.dat", {E::Skip}, ResultIncomplete}};
// clang-format on
} // namespace

// A move within one file system is a rename that never reads a byte, so the
// fault cases that move put the destination on another one.
#define NEED_SECOND_FILE_SYSTEM(needed)                                                            \
    if ((needed) &&                                                                                \
        (!other_.isValid() || statOf(other_.path()).st_dev == statOf(temp_.path()).st_dev))        \
    QSKIP("no second file system: /dev/shm is missing or on the work disk")

class FolderEngineTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir temp_;
    QTemporaryDir other_{QStringLiteral("/dev/shm/brelko-test-XXXXXX")};
    const QString src_ = temp_.filePath("music/album"), dst_ = temp_.filePath("backup");

private Q_SLOTS:
    void init()
    {
        QVERIFY(temp_.isValid());
        for (const QTemporaryDir *root : {&temp_, &other_})
            if (root->isValid() && QDir(root->path()).removeRecursively())
                QDir().mkpath(root->path());
        makeTree(src_);
    }

    void placement_data() { Rows(placements); }
    void placement()
    {
        QFETCH(int, row);
        const auto &p = placements[row];
        NEED_SECOND_FILE_SYSTEM(p.far);
        const QString destination = p.far ? other_.filePath("backup") : dst_;
        if (p.existing)
            QDir().mkpath(destination);
        if (p.existing == 2)
            writeFile(destination + "/album/mine.txt", "mine");
        const auto before = snapshot(src_);
        const struct stat folder = statOf(src_), file = statOf(src_ + "/sub/b.dat");
        ScriptedUi ui;
        ui.createAnswer = p.create;
        QCOMPARE(Perform({p.action, src_, destination, p.flags}, ui),
                 p.create ? ResultOk : ResultNotCreated);
        QCOMPARE(ui.creates.size(), !p.existing && !(p.flags & FOF_NOCONFIRMATION) ? 1 : 0);
        QVERIFY(ui.errors.isEmpty() && ui.conflicts.isEmpty());
        // Declined, nothing is created and nothing moves.
        QCOMPARE(QFileInfo::exists(destination), p.create);
        const bool moved = p.action == FO_MOVE && p.create;
        auto after = snapshot(destination + "/album");
        QCOMPARE(after.take("mine.txt").isEmpty(), p.existing != 2);
        QCOMPARE(after, p.create ? before : decltype(before)());
        QCOMPARE(QFileInfo(destination + "/album/empty folder").isDir(), p.create);
        QCOMPARE(snapshot(src_), moved ? decltype(before)() : before);
        QCOMPARE(QFileInfo::exists(src_), !moved);
        // On one file system a move is one rename: the folder and its files
        // keep their inodes.
        if (moved && !p.far)
            QCOMPARE(statOf(destination + "/album/sub/b.dat").st_ino, file.st_ino);
        if (moved && !p.far && p.existing != 2)
            QCOMPARE(statOf(destination + "/album").st_ino, folder.st_ino);
    }

    // Requests naming nothing usable or the source's own places: refused
    // before anything is touched, or the copy given a free name.
    void refusalsAndFreeNames_data() { Rows(refusals); }
    void refusalsAndFreeNames()
    {
        QFETCH(int, row);
        const auto &r = refusals[row];
        const auto inWork = [&](QString path) {
            return path.isEmpty() ? path : temp_.filePath(path);
        };
        writeFile(dst_ + "/album/a.txt", "old");
        writeFile(dst_ + "/album (2)/x", "taken too");
        const QStringList paths = allBelow(temp_.path());
        const auto before = snapshot(temp_.path()), source = snapshot(src_);
        ScriptedUi ui;
        QCOMPARE(Perform({r.action, inWork(r.source), inWork(r.destination), r.flags}, ui),
                 r.result);
        QVERIFY(ui.conflicts.isEmpty());
        if (!*r.lands) {
            QCOMPARE(ui.reports.size(), 1);
            QCOMPARE(allBelow(temp_.path()), paths);
            QCOMPARE(snapshot(temp_.path()), before);
        } else {
            QCOMPARE(snapshot(temp_.filePath(r.lands)), source);
            QCOMPARE(snapshot(src_), source);
            QCOMPARE(ReadFile(dst_ + "/album/a.txt"), QByteArray("old"));
        }
    }

    void conflictAnswers_data() { Rows(conflicts, {FO_COPY, FO_MOVE}); }
    void conflictAnswers()
    {
        QFETCH(int, row);
        QFETCH(qint32, action);
        const auto &c = conflicts[row];
        for (const char *name : {"a.txt", "sub/b.dat", "mine.txt"})
            writeFile(dst_ + "/album/" + name, name);
        const auto before = snapshot(src_);
        ScriptedUi ui;
        ui.conflictAnswers = c.answers;
        const quint16 flags = c.answers.isEmpty() ? FOF_NOCONFIRMATION : 0;
        QCOMPARE(Perform({action, src_, dst_, flags}, ui),
                 c.answers.contains(A::Cancel) ? ResultCancelled : ResultOk);
        QCOMPARE(ui.conflicts.size(), c.answers.size());
        QCOMPARE(ReadFile(dst_ + "/album/mine.txt"), QByteArray("mine.txt"));
        for (const QString &name : {QStringLiteral("a.txt"), QStringLiteral("sub/b.dat")}) {
            QCOMPARE(contentOf(dst_ + "/album/" + name) == before[name], c.replaced.contains(name));
            // A skipped or refused file stays in the source when moving.
            if (!c.replaced.contains(name))
                QCOMPARE(contentOf(src_ + '/' + name), before[name]);
        }
        QCOMPARE(lostEntries(before, src_, dst_ + "/album"), QStringList());
        QCOMPARE(QFileInfo::exists(src_), !(action == FO_MOVE && c.replaced.size() == 2));
    }

    // The old file at the destination stays until the new one is whole, and
    // no byte of the source goes missing. All four options are set for
    // unreadable files: none of them hides an error question.
    void faults_data() { Rows(faultRows, {FO_COPY, FO_MOVE}); }
    void faults()
    {
        QFETCH(int, row);
        QFETCH(qint32, action);
        const auto &f = faultRows[row];
        NEED_SECOND_FILE_SYSTEM(action == FO_MOVE);
        const QString target = f.kind == FullDisk  ? temp_.filePath("small")
                               : action == FO_MOVE ? other_.path()
                                                   : dst_;
        const QString name = QString("sub/") + f.file, copy = target + "/album/" + name;
        const QByteArray mountPoint = QFile::encodeName(target);
        if (f.kind == FullDisk &&
            (!QDir().mkpath(target) || ::mount("tmpfs", mountPoint, "tmpfs", 0, "size=64k") != 0))
            QSKIP("cannot mount a small tmpfs here (needs root)");
        auto unmount = qScopeGuard([&] {
            if (f.kind == FullDisk)
                ::umount2(mountPoint, MNT_DETACH);
        });
        const qint64 largeSize = 40 * 1024 * 1024;
        if (f.kind == Special)
            QCOMPARE(::mkfifo(QFile::encodeName(src_ + '/' + name).constData(), 0644), 0);
        else if (f.kind == FullDisk || f.kind == LargeCancel) // too big for 64k
            writeFile(src_ + '/' + name, pattern(name, f.kind == FullDisk ? 200000 : largeSize));
        if (f.old)
            writeFile(copy, "old");
        const QByteArray old = contentOf(copy); // empty when there is none
        const auto before = snapshot(src_);
        ScriptedUi ui;
        ui.errorAnswers = f.answers;
        // Every other file comes before large.bin in name order.
        const qint64 smallFiles = 20 + 1000 + 30 + 70000 + 3000;
        if (f.kind == LargeCancel)
            ui.cancelAfterBytes = smallFiles + 1;
        const quint16 flags = f.kind == Unreadable ? 0x011C : FOF_NOCONFIRMATION;
        // Retry meets a good read when the file is to arrive.
        const int failures = f.kind != Unreadable ? 0 : f.result == ResultOk ? 1 : 100;
        QCOMPARE(Perform({action, src_, target, flags}, ui, failures, f.kind == SizeLimit,
                         f.kind == SwappedFifo),
                 f.result);
        QCOMPARE(contentOf(copy), f.result == ResultOk ? before[name] : old);
        if (f.kind != SwappedFifo) // there the test itself took b.dat's bytes away
            QCOMPARE(lostEntries(before, src_, target + "/album"), QStringList());
        if (f.kind == Unreadable)
            QVERIFY(ui.errors.size() == f.answers.size() && ui.errors.first().contains("b.dat"));
        if (f.kind == Special) // reported, and left where it is
            QVERIFY(ui.reports.size() == 1 && ui.reports.first().contains("pipe") &&
                    QFileInfo::exists(src_ + "/sub/pipe") && !QFileInfo::exists(copy));
        if (f.kind == FullDisk)
            QVERIFY(ui.errors.first().contains(QString::fromLocal8Bit(strerror(ENOSPC))));
        if (f.kind == SizeLimit || f.kind == LargeCancel)
            QCOMPARE(ReadFile(target + "/album/a.txt"), pattern("a.txt", 1000));
        const OperationProgress last = ui.progress.value(ui.progress.size() - 1);
        if (f.kind == LargeCancel) // stopped inside the large file
            QVERIFY(last.currentName == "large.bin" && last.bytesDone > smallFiles &&
                    last.bytesDone < smallFiles + largeSize);
    }
};

QTEST_GUILESS_MAIN(FolderEngineTest)
#include "tst_FolderEngine.moc"
