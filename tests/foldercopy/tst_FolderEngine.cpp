// The engine on real folders: where things end up, the questions it asks,
// and, after every fault, that each byte of the source is still in the
// source or whole at the destination.

#include "FileIo.h"
#include "FolderEngine.h"
#include "TreeFixture.h"

#include <csignal>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>

using namespace fixture;
using A = ConflictAnswer;

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

    ssize_t read(int fd, void *buffer, size_t size) override
    {
        return fail(fd) ? -1 : FileIo::read(fd, buffer, size);
    }
    ssize_t copyFileRange(int in, int out, size_t size) override
    {
        return fail(in) ? -1 : FileIo::copyFileRange(in, out, size);
    }

private:
    bool fail(int fd)
    {
        struct stat info {};
        if (::fstat(fd, &info) != 0 || info.st_ino != badFile || failures <= 0)
            return false;
        --failures;
        errno = EIO;
        return true;
    }
};

struct Placement {
    qint32 action;
    int existing; // 0 missing, 1 empty, 2 holding album/mine.txt
    bool far;     // destination on another file system
    quint16 flags = 0;
    bool createAnswer = true;
};
struct Conflict {
    qint32 action;
    QList<ConflictAnswer> answers; // none: without confirmation
    QStringList replaced;          // of a.txt and sub/b.dat
};
enum FaultKind { Unreadable, FullDisk, SizeLimit, LargeCancel, Special, SwappedFifo };
struct Fault {
    FaultKind kind;
    qint32 action;
    QList<ErrorAnswer> answers;
    qint32 result;
    bool old = false;
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
} // namespace
Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Placement)
Q_DECLARE_METATYPE(Conflict)

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

    void placement_data()
    {
        QTest::addColumn<Placement>("p");
        QTest::newRow("copy into existing") << Placement{FO_COPY, 1, false};
        QTest::newRow("copy into missing") << Placement{FO_COPY, 0, false};
        QTest::newRow("copy, merge") << Placement{FO_COPY, 2, false};
        QTest::newRow("move into existing") << Placement{FO_MOVE, 1, false};
        QTest::newRow("move into missing") << Placement{FO_MOVE, 0, false};
        QTest::newRow("move, merge") << Placement{FO_MOVE, 2, false};
        QTest::newRow("move, all options") << Placement{FO_MOVE, 0, false, 0x011C};
        QTest::newRow("move, creation declined") << Placement{FO_MOVE, 0, false, 0, false};
        QTest::newRow("move across") << Placement{FO_MOVE, 1, true};
        QTest::newRow("move across, merge") << Placement{FO_MOVE, 2, true};
    }
    void placement()
    {
        QFETCH(Placement, p);
        NEED_SECOND_FILE_SYSTEM(p.far);
        const QString destination = p.far ? other_.filePath("backup") : dst_;
        if (p.existing)
            QDir().mkpath(destination);
        if (p.existing == 2)
            writeFile(destination + "/album/mine.txt", "mine");
        const auto before = snapshot(src_);
        const struct stat folder = statOf(src_), file = statOf(src_ + "/sub/b.dat");
        ScriptedUi ui;
        ui.createAnswer = p.createAnswer;
        QCOMPARE(Perform({p.action, src_, destination, p.flags}, ui),
                 p.createAnswer ? ResultOk : ResultNotCreated);
        QCOMPARE(ui.creates.size(), !p.existing && !(p.flags & FOF_NOCONFIRMATION) ? 1 : 0);
        QVERIFY(ui.errors.isEmpty() && ui.conflicts.isEmpty());
        // Declined, nothing is created and nothing moves.
        QCOMPARE(QFileInfo::exists(destination), p.createAnswer);
        const bool moved = p.action == FO_MOVE && p.createAnswer;
        auto after = snapshot(destination + "/album");
        QCOMPARE(after.take("mine.txt").isEmpty(), p.existing != 2);
        QCOMPARE(after, p.createAnswer ? before : decltype(before)());
        QCOMPARE(QFileInfo(destination + "/album/empty folder").isDir(), p.createAnswer);
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
    void refusalsAndFreeNames_data()
    {
        QTest::addColumn<ShellRequest>("request"); // paths relative to the work folder
        QTest::addColumn<qint32>("result");
        QTest::addColumn<QString>("lands"); // where a copy under a free name goes
        auto row = [](const char *name, const char *source, const char *destination, qint32 action,
                      OperationResult result, const char *lands = "",
                      quint16 flags = FOF_NOCONFIRMATION) {
            QTest::newRow(name) << ShellRequest{action, source, destination, flags}
                                << qint32(result) << QString(lands);
        };
        row("empty source", "", "backup", FO_COPY, ResultBadSource);
        row("file as source", "music/album/a.txt", "backup", FO_MOVE, ResultBadSource);
        row("empty destination", "music/album", "", FO_MOVE, ResultBadDestination);
        row("destination is a file", "music/album/sub", "music/album/a.txt", FO_COPY,
            ResultBadDestination);
        row("into itself", "music/album", "music/album", FO_COPY, ResultInsideSource);
        row("into a missing subfolder", "music/album", "music/album/x/y", FO_COPY,
            ResultInsideSource);
        row("through dots", "music/album", "music/../music/album/sub", FO_COPY, ResultInsideSource);
        row("move into own parent", "music/album", "music", FO_MOVE, ResultSameFolder);
        row("unknown action", "music/album", "backup", 3, ResultUnknownAction);
        row("copy into own parent", "music/album", "music", FO_COPY, ResultOk, "music/album (2)",
            0);
        row("rename on collision", "music/album", "backup", FO_COPY, ResultOk, "backup/album (3)",
            FOF_RENAMEONCOLLISION);
    }
    void refusalsAndFreeNames()
    {
        QFETCH(ShellRequest, request);
        QFETCH(qint32, result);
        QFETCH(QString, lands);
        for (QString *path : {&request.source, &request.destination})
            if (!path->isEmpty() && !path->startsWith('/'))
                *path = temp_.filePath(*path);
        writeFile(dst_ + "/album/a.txt", "old");
        writeFile(dst_ + "/album (2)/x", "taken too");
        const QStringList paths = allBelow(temp_.path());
        const auto before = snapshot(temp_.path()), source = snapshot(src_);
        ScriptedUi ui;
        QCOMPARE(Perform(request, ui), result);
        QVERIFY(ui.conflicts.isEmpty());
        if (lands.isEmpty()) {
            QCOMPARE(ui.reports.size(), 1);
            QCOMPARE(allBelow(temp_.path()), paths);
            QCOMPARE(snapshot(temp_.path()), before);
        } else {
            QCOMPARE(snapshot(temp_.filePath(lands)), source);
            QCOMPARE(snapshot(src_), source);
            QCOMPARE(ReadFile(dst_ + "/album/a.txt"), QByteArray("old"));
        }
    }

    void conflictAnswers_data()
    {
        QTest::addColumn<Conflict>("c");
        for (qint32 action : {FO_COPY, FO_MOVE}) {
            auto row = [&](const char *name, QList<A> answers, QStringList replaced) {
                QTest::addRow("%s, %s", action == FO_COPY ? "copy" : "move", name)
                    << Conflict{action, answers, replaced};
            };
            row("replace, skip", {A::Replace, A::Skip}, {"a.txt"});
            row("skip, replace", {A::Skip, A::Replace}, {"sub/b.dat"});
            row("replace all", {A::ReplaceAll}, {"a.txt", "sub/b.dat"});
            row("skip all", {A::SkipAll}, {});
            row("cancel", {A::Cancel}, {});
            row("no confirmation", {}, {"a.txt", "sub/b.dat"});
        }
    }
    void conflictAnswers()
    {
        QFETCH(Conflict, c);
        writeFile(dst_ + "/album/a.txt", "old a");
        writeFile(dst_ + "/album/sub/b.dat", "old b");
        writeFile(dst_ + "/album/mine.txt", "mine");
        const auto before = snapshot(src_);
        ScriptedUi ui;
        ui.conflictAnswers = c.answers;
        const quint16 flags = c.answers.isEmpty() ? FOF_NOCONFIRMATION : 0;
        QCOMPARE(Perform({c.action, src_, dst_, flags}, ui),
                 c.answers.contains(A::Cancel) ? ResultCancelled : ResultOk);
        QCOMPARE(ui.conflicts.size(), c.answers.size());
        QCOMPARE(ReadFile(dst_ + "/album/mine.txt"), QByteArray("mine"));
        for (const QString &name : {QStringLiteral("a.txt"), QStringLiteral("sub/b.dat")}) {
            QCOMPARE(contentOf(dst_ + "/album/" + name) == before[name], c.replaced.contains(name));
            // A skipped or refused file stays in the source when moving.
            if (!c.replaced.contains(name))
                QCOMPARE(contentOf(src_ + '/' + name), before[name]);
        }
        QCOMPARE(lostEntries(before, src_, dst_ + "/album"), QStringList());
        QCOMPARE(QFileInfo::exists(src_), !(c.action == FO_MOVE && c.replaced.size() == 2));
    }

    // Each fault on the file that meets it, with an old version of that file
    // at the destination when old is set: the old one stays until the new one
    // is whole, and no byte of the source goes missing. All four options are
    // set for unreadable files: none of them hides an error question.
    void faults_data()
    {
        QTest::addColumn<Fault>("f");
        using E = ErrorAnswer;
        const QList<E> skip{E::Skip}, cancel{E::Cancel};
        for (qint32 action : {FO_COPY, FO_MOVE}) {
            const char *verb = action == FO_COPY ? "copy" : "move";
            auto row = [&](const char *name, Fault f) {
                f.action = action;
                QTest::addRow("%s, %s", verb, name) << f;
            };
            row("unreadable, skip", {Unreadable, 0, skip, ResultIncomplete});
            row("unreadable, retry then fine", {Unreadable, 0, {E::Retry}, ResultOk});
            row("unreadable, retry, cancel",
                {Unreadable, 0, {E::Retry, E::Cancel}, ResultCancelled});

            row("full disk, skip", {FullDisk, 0, skip, ResultIncomplete, true});
            row("full disk, cancel", {FullDisk, 0, cancel, ResultCancelled, true});
            row("file size limit", {SizeLimit, 0, skip, ResultIncomplete, true});
            row("cancel in a large file", {LargeCancel, 0, {}, ResultCancelled});
            row("cancel in a large file over old", {LargeCancel, 0, {}, ResultCancelled, true});
            row("special file", {Special, 0, {}, ResultIncomplete});
            row("FIFO swapped in after its check", {SwappedFifo, 0, skip, ResultIncomplete});
        }
    }
    void faults()
    {
        QFETCH(Fault, f);
        NEED_SECOND_FILE_SYSTEM(f.action == FO_MOVE);
        const QString target = f.kind == FullDisk    ? temp_.filePath("small")
                               : f.action == FO_MOVE ? other_.path()
                                                     : dst_;
        const QString name = f.kind == Special       ? "sub/pipe"
                             : f.kind == FullDisk    ? "sub/zz-big.bin"
                             : f.kind == LargeCancel ? "sub/large.bin"
                                                     : "sub/b.dat";
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
        else if (f.kind != Unreadable && f.kind != SizeLimit)
            writeFile(src_ + '/' + name,
                      pattern(name, f.kind == FullDisk ? 200000 : largeSize)); // too big for 64k
        const QString copy = target + "/album/" + name;
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
        QCOMPARE(Perform({f.action, src_, target, flags}, ui, failures, f.kind == SizeLimit,
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
            QCOMPARE(ReadFile(target + "/album/a.txt"), pattern("a", 1000));
        const OperationProgress last = ui.progress.value(ui.progress.size() - 1);
        if (f.kind == LargeCancel) // stopped inside the large file
            QVERIFY(last.currentName == "large.bin" && last.bytesDone > smallFiles &&
                    last.bytesDone < smallFiles + largeSize);
    }
};

QTEST_GUILESS_MAIN(FolderEngineTest)
#include "tst_FolderEngine.moc"
