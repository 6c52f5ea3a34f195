// The engine on real folders: where things end up, the questions it asks,
// and, after every fault, that each byte of the source is still in the
// source or whole at the destination. Then the worker thread that runs it.

#include "FolderEngine.h"
#include "ThreadedOperation.h"
#include "TreeFixture.h"

#include <sys/mount.h>

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
enum Fault { None, Unreadable, FullDisk, SizeLimit, LargeCancel, Special, SwappedFifo };
qint32 Perform(const ShellRequest &request, ScriptedUi &ui, Fault fault = None, int failures = 0)
{
    FaultyIo io;
    io.badFile = statOf(request.source + "/sub/b.dat").st_ino;
    io.failures = failures;
    if (fault == SwappedFifo)
        io.fifoAtOpen = QFile::encodeName(request.source + "/sub/b.dat").toStdString();
    if (fault != SizeLimit && fault != SwappedFifo)
        return FolderEngine(io).perform(request, ui);
    return InChild(
        [&] {
            const qint32 result = FolderEngine(io).perform(request, ui);
            return ui.errors.size() == 1 && ui.errors.first().contains("b.dat") ? result : 100;
        },
        fault == SizeLimit ? 16 * 1024 : 0);
}

// Asks each question once, then reports progress until it is cancelled.
class ChattyOperation : public FileOperation {
public:
    QThread *ranOn = nullptr;
    QStringList answers;

    qint32 perform(const ShellRequest &, OperationUi &ui) override
    {
        ranOn = QThread::currentThread();
        answers << (ui.askCreateFolder("/x") ? "yes" : "no");
        answers << (ui.askReplace("/x/a") == ConflictAnswer::SkipAll ? "skip all" : "?");
        answers << (ui.askError("/x/b", "broken") == ErrorAnswer::Retry ? "retry" : "?");
        ui.report("left alone");
        for (qint64 done = 0; !ui.cancelRequested(); ++done) {
            ui.showProgress({"file", done, 1000});
            QThread::msleep(1);
        }
        ui.finished();
        return ResultCancelled;
    }
};
// clang-format off
// What the destination's album folder holds first ("-": no destination; each
// file holds "old"), the fault met, the answers in turn (R replace, S skip,
// A replace all, K skip all, C cancel, T retry), and which source files are
// whole at the destination afterwards (*: all of them).
const char *const faultFile[] = {"", "sub/b.dat", "sub/zz-big.bin", "sub/b.dat", "sub/large.bin",
                                 "sub/pipe", "sub/b.dat"};
const QString old = "mine.txt a.txt sub/b.dat";
constexpr quint16 Quiet = FOF_NOCONFIRMATION, AllOptions = 0x011C;
constexpr qint32 Ok = ResultOk, Cancelled = ResultCancelled, Incomplete = ResultIncomplete;
const struct { const char *name; QString existing; Fault fault; const char *answers; qint32 result;
               QString arrive; quint16 flags = 0; bool far = false, create = true; } cases[] = {
    {"into existing", "", None, "", Ok, "*"}, {"into missing", "-", None, "", Ok, "*"},
    {"merge", "mine.txt", None, "", Ok, "*"}, {"all options", "-", None, "", Ok, "*", AllOptions},
    {"creation declined", "-", None, "", ResultNotCreated, "", 0, false, false},
    {"across", "", None, "", Ok, "*", 0, true},
    {"across, merge", "mine.txt", None, "", Ok, "*", 0, true},
    {"replace, skip", old, None, "RS", Ok, "a.txt"},
    {"skip, replace", old, None, "SR", Ok, "sub/b.dat"},
    {"replace all", old, None, "A", Ok, "*"}, {"skip all", old, None, "K", Ok, ""},
    {"cancel", old, None, "C", Cancelled, ""}, {"no confirmation", old, None, "", Ok, "*", Quiet},
    // All four options are set for unreadable files: none of them hides an error question.
    {"unreadable, skip", "", Unreadable, "S", Incomplete, "", AllOptions},
    {"unreadable, retry then fine", "", Unreadable, "T", Ok, "*", AllOptions},
    {"unreadable, retry, cancel", "", Unreadable, "TC", Cancelled, "", AllOptions},
    {"full disk, skip", "sub/zz-big.bin", FullDisk, "S", Incomplete, "", Quiet},
    {"full disk, cancel", "sub/zz-big.bin", FullDisk, "C", Cancelled, "", Quiet},
    {"file size limit", "sub/b.dat", SizeLimit, "S", Incomplete, "a.txt", Quiet},
    {"cancel in a large file", "", LargeCancel, "", Cancelled, "a.txt", Quiet},
    {"cancel in a large file over old", "sub/large.bin", LargeCancel, "", Cancelled, "a.txt",
     Quiet},
    {"special file", "", Special, "", Incomplete, "", Quiet},
    {"FIFO swapped in after its check", "", SwappedFifo, "S", Incomplete, "", Quiet}};

// Paths relative to the work folder; lands: where a copy under a free name goes.
const struct { const char *name, *source, *destination; qint32 action, result;
               const char *lands = ""; quint16 flags = Quiet; } refusals[] = {
    {"empty source", "", "backup", FO_COPY, ResultBadSource},
    {"file as source", "music/album/a.txt", "backup", FO_MOVE, ResultBadSource},
    {"empty destination", "music/album", "", FO_MOVE, ResultBadDestination},
    {"destination is a file", "music/album/sub", "music/album/a.txt", FO_COPY,
     ResultBadDestination},
    {"into itself", "music/album", "music/album", FO_COPY, ResultInsideSource},
    {"into a missing subfolder", "music/album", "music/album/x/y", FO_COPY, ResultInsideSource},
    {"through dots", "music/album", "music/../music/album/sub", FO_COPY, ResultInsideSource},
    {"move into own parent", "music/album", "music", FO_MOVE, ResultSameFolder},
    {"unknown action", "music/album", "backup", 3, ResultUnknownAction},
    {"copy into own parent", "music/album", "music", FO_COPY, ResultOk, "music/album (2)", 0},
    {"rename on collision", "music/album", "backup", FO_COPY, ResultOk, "backup/album (3)",
     FOF_RENAMEONCOLLISION}};

// How the operation's questions were answered, and the calls that reached the
// caller's thread, while the program runs on or quits.
const struct { const char *name, *answers, *calls; } kThreadRuns[] = {
    {"running", "yes,skip all,retry", "create,replace,error,report,finished"},
    {"program quits", "yes,?,?", "create"}};
// clang-format on
} // namespace

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

    // Requests naming nothing usable or the source's own places: refused
    // before anything is touched, or the copy given a free name.
    void refusalsAndFreeNames_data() { Rows(refusals); }
    void refusalsAndFreeNames()
    {
        const auto &r = CurrentRow(refusals);
        const auto inWork = [&](QString p) { return p.isEmpty() ? p : temp_.filePath(p); };
        WriteFile(dst_ + "/album/a.txt", "old");
        WriteFile(dst_ + "/album (2)/x", "taken too");
        const auto before = snapshot(temp_.path()), source = snapshot(src_);
        ScriptedUi ui;
        QCOMPARE(Perform({r.action, inWork(r.source), inWork(r.destination), r.flags}, ui),
                 r.result);
        QVERIFY(ui.conflicts.isEmpty());
        if (!*r.lands) {
            QCOMPARE(ui.reports.size(), 1);
            QCOMPARE(snapshot(temp_.path()), before);
        } else {
            QCOMPARE(snapshot(temp_.filePath(r.lands)), source);
            QCOMPARE(snapshot(src_), source);
            QCOMPARE(ReadFile(dst_ + "/album/a.txt"), QByteArray("old"));
        }
    }

    // Where things end up after the questions and faults met on the way:
    // an old file at the destination stays until the new one is whole, and
    // no byte of the source goes missing.
    void operations_data() { Rows(cases, {FO_COPY, FO_MOVE}); }
    void operations()
    {
        QFETCH(qint32, action);
        const auto &c = CurrentRow(cases);
        // A move within one file system is a rename that never reads a byte,
        // so the faults met while moving need the destination on another one.
        const bool far = c.far || (c.fault && action == FO_MOVE);
        if (far && (!other_.isValid() || statOf(other_.path()).st_dev == statOf(src_).st_dev))
            QSKIP("no second file system: /dev/shm is missing or on the work disk");
        const QString target = c.fault == FullDisk ? temp_.filePath("small")
                               : far               ? other_.filePath("backup")
                                                   : dst_;
        const QByteArray mountPoint = QFile::encodeName(target);
        if (c.existing != "-")
            QDir().mkpath(target);
        if (c.fault == FullDisk && ::mount("tmpfs", mountPoint, "tmpfs", 0, "size=64k") != 0)
            QSKIP("cannot mount a small tmpfs here (needs root)");
        auto unmount = qScopeGuard([&] {
            if (c.fault == FullDisk)
                ::umount2(mountPoint, MNT_DETACH);
        });
        const QString file = faultFile[c.fault];
        const qint64 largeSize = 40 * 1024 * 1024;
        if (c.fault == Special)
            QCOMPARE(::mkfifo(QFile::encodeName(src_ + '/' + file).constData(), 0644), 0);
        else if (c.fault == FullDisk || c.fault == LargeCancel) // too big for 64k
            WriteFile(src_ + '/' + file, pattern(file, c.fault == FullDisk ? 200000 : largeSize));
        const QStringList existing =
            c.existing.split(' ', Qt::SkipEmptyParts).filter(QRegularExpression("^[^-]"));
        for (const QString &name : existing)
            WriteFile(target + "/album/" + name, "old");
        const auto before = snapshot(src_);
        const struct stat folder = statOf(src_), b = statOf(src_ + "/sub/b.dat");
        ScriptedUi ui;
        for (char letter : QByteArray(c.answers))
            ui.conflictAnswers << A(QByteArray("RSAKC").indexOf(letter)),
                ui.errorAnswers << E(QByteArray("TSC").indexOf(letter));
        ui.createAnswer = c.create;
        // Every other file comes before large.bin in name order.
        const qint64 smallFiles = 20 + 1000 + 30 + 70000 + 3000;
        if (c.fault == LargeCancel)
            ui.cancelAfterBytes = smallFiles + 1;
        // Retry meets a good read when the file is to arrive.
        const int failures = c.fault != Unreadable ? 0 : c.result == ResultOk ? 1 : 100;
        QCOMPARE(Perform({action, src_, target, c.flags}, ui, c.fault, failures), c.result);
        QCOMPARE(ui.creates.size(), c.existing == "-" && !(c.flags & FOF_NOCONFIRMATION) ? 1 : 0);
        // A full disk may meet later files too.
        QCOMPARE(ui.conflicts.size() + ui.errors.size(),
                 c.fault == SizeLimit || c.fault == SwappedFifo ? 0
                 : c.fault == FullDisk                          ? ui.errors.size()
                                                                : int(strlen(c.answers)));
        if (c.fault != SwappedFifo) // there the test itself took b.dat's bytes away
            QCOMPARE(lostEntries(before, src_, target + "/album"), QStringList());
        if (action == FO_COPY && c.fault != SwappedFifo)
            QCOMPARE(snapshot(src_), before);
        // Each file that was there, or met the fault, is the new one or as it was.
        const bool all = c.arrive == "*";
        const QStringList arrived = all ? before.keys() : c.arrive.split(' ', Qt::SkipEmptyParts);
        for (const QString &name : existing + arrived + QStringList(file))
            if (!name.isEmpty())
                QCOMPARE(contentOf(target + "/album/" + name), arrived.contains(name) ? before[name]
                                                               : existing.contains(name)
                                                                   ? hashed("old")
                                                                   : QByteArray());
        if (all) // and nothing more
            QCOMPARE(snapshot(target + "/album").size(),
                     before.size() + existing.count("mine.txt"));
        QCOMPARE(QFileInfo::exists(target), c.create);
        QCOMPARE(QFileInfo::exists(src_), !(action == FO_MOVE && all));
        // On one file system a move is one rename: the folder and its files
        // keep their inodes.
        if (action == FO_MOVE && all && !far)
            QVERIFY(statOf(target + "/album/sub/b.dat").st_ino == b.st_ino &&
                    (!existing.isEmpty() || statOf(target + "/album").st_ino == folder.st_ino));
        // The question names the file, or, on a full disk, the reason.
        if (c.fault == Unreadable || c.fault == FullDisk)
            QVERIFY(ui.errors.first().contains(c.fault == FullDisk ? strerror(ENOSPC) : "b.dat"));
        if (c.fault == Special) // reported, and left where it is
            QVERIFY(ui.reports.size() == 1 && ui.reports.first().contains("pipe") &&
                    QFileInfo::exists(src_ + "/sub/pipe"));
        const OperationProgress last = ui.progress.value(ui.progress.size() - 1);
        if (c.fault == LargeCancel) // stopped inside the large file
            QVERIFY(last.currentName == "large.bin" && last.bytesDone > smallFiles &&
                    last.bytesDone < smallFiles + largeSize);
    }

    // The worker thread: the work runs off the calling thread, every question
    // and the end reach the caller's thread, progress and Cancel get across.
    // Last, as no event loop of this run turns again once the program quits:
    // the work is cancelled, and its later questions answered with Cancel
    // instead of waiting for ever on a loop that has stopped.
    void questionsOnCallerThreadWorkOnWorker_data() { AddRows(kThreadRuns); }
    void questionsOnCallerThreadWorkOnWorker()
    {
        const auto &[name, answers, calls] = CurrentRow(kThreadRuns);
        const bool quit = QByteArray(name) == "program quits";
        ScriptedUi ui;
        ui.conflictAnswers = {ConflictAnswer::SkipAll};
        ui.errorAnswers = {ErrorAnswer::Retry};
        if (quit)
            ui.onCreate = [] { QCoreApplication::exit(0); };
        ChattyOperation work;
        ThreadedOperation threaded(work);
        QTimer cancel; // as a window's button would, while the caller waits
        cancel.callOnTimeout([&] { ui.cancelAfterBytes = 0; });
        cancel.start(300);
        QCOMPARE(threaded.perform({}, ui), ResultCancelled);
        QVERIFY(work.ranOn && work.ranOn != QThread::currentThread());
        QCOMPARE(work.answers.join(','), QString(answers));
        QCOMPARE(ui.calls.join(','), QString(calls));
        QCOMPARE(ui.threads.count(QThread::currentThread()), ui.threads.size());
        // A few updates a second, not one per piece of work.
        QVERIFY2(quit || (!ui.progress.isEmpty() && ui.progress.size() < 50 &&
                          ui.progress.last().bytesDone > 0),
                 qPrintable(QString::number(ui.progress.size())));
    }
};

QTEST_GUILESS_MAIN(FolderEngineTest)
#include "tst_FolderEngine.moc"
