// The engine when things go wrong: unreadable files, a full disk, the file
// size limit, Cancel in the middle of a file. After every fault each byte of
// the source must still be in the source or whole at the destination.

#include "FileIo.h"
#include "FolderEngine.h"
#include "TreeFixture.h"

#include <csignal>
#include <fcntl.h>
#include <QTemporaryDir>
#include <QtTest>
#include <set>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>

using namespace fixture;

namespace {
// Makes reads of one file name fail, and flushes, a given number of times.
class FaultyIo : public FileIo {
public:
    std::string badName;
    int readFailures = 0;
    int flushFailures = 0; // of fsync and syncfs together

    int open(const std::string &path, int flags, mode_t mode) override
    {
        const int fd = FileIo::open(path, flags, mode);
        if (fd >= 0 && LastName(path) == badName && (flags & O_ACCMODE) == O_RDONLY)
            badFds_.insert(fd);
        return fd;
    }
    int close(int fd) override
    {
        badFds_.erase(fd);
        return FileIo::close(fd);
    }
    ssize_t read(int fd, void *buffer, size_t size) override
    {
        return failRead(fd) ? -1 : FileIo::read(fd, buffer, size);
    }
    ssize_t copyFileRange(int in, int out, size_t size) override
    {
        return failRead(in) ? -1 : FileIo::copyFileRange(in, out, size);
    }
    int fsync(int fd) override { return failFlush() ? -1 : FileIo::fsync(fd); }
    int syncFileSystem(int fd) override { return failFlush() ? -1 : FileIo::syncFileSystem(fd); }

private:
    bool failFlush()
    {
        if (flushFailures <= 0)
            return false;
        --flushFailures;
        errno = EIO;
        return true;
    }
    bool failRead(int fd)
    {
        if (!badFds_.count(fd) || readFailures <= 0)
            return false;
        --readFailures;
        errno = EIO;
        return true;
    }
    std::set<int> badFds_;
};

bool SecondFileSystem(const QTemporaryDir &other, const QTemporaryDir &work)
{
    return other.isValid() && deviceOf(other.path()) != deviceOf(work.path());
}
} // namespace

class FolderEngineFaultsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir temp_;
    QString src_, dst_;

    QStringList temporariesBelow(const QString &root) { return lostEntries({}, root, root); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(temp_.isValid());
        src_ = temp_.filePath("music/album");
        dst_ = temp_.filePath("backup");
        QDir(temp_.path()).removeRecursively();
        QDir().mkpath(dst_);
        makeTree(src_);
    }

    void unreadableSourceFile_data()
    {
        QTest::addColumn<qint32>("action");
        QTest::addColumn<int>("failures");
        QTest::addColumn<QList<ErrorAnswer>>("answers");
        QTest::addColumn<qint32>("result");
        QTest::addColumn<bool>("arrives");
        using E = ErrorAnswer;
        for (qint32 action : {FO_COPY, FO_MOVE}) {
            const char *verb = action == FO_COPY ? "copy" : "move";
            QTest::addRow("%s, skip", verb)
                << action << 100 << QList<E>{E::Skip} << qint32(ResultIncomplete) << false;
            QTest::addRow("%s, retry then fine", verb)
                << action << 1 << QList<E>{E::Retry} << qint32(ResultOk) << true;
            QTest::addRow("%s, retry, cancel", verb)
                << action << 100 << QList<E>{E::Retry, E::Cancel} << qint32(ResultCancelled)
                << false;
        }
    }
    void unreadableSourceFile()
    {
        QFETCH(qint32, action);
        QFETCH(int, failures);
        QFETCH(QList<ErrorAnswer>, answers);
        QFETCH(qint32, result);
        QFETCH(bool, arrives);
        // A move on one file system never reads a file; the source goes on
        // another one so that the move has to copy.
        QTemporaryDir other(QStringLiteral("/dev/shm/brelko-test-XXXXXX"));
        QString source = src_;
        if (action == FO_MOVE) {
            if (!SecondFileSystem(other, temp_))
                QSKIP("no second file system: /dev/shm is missing or on the work disk");
            source = other.filePath("album");
            makeTree(source);
        }
        const auto before = snapshot(source);
        FaultyIo io;
        io.badName = "b.dat";
        io.readFailures = failures;
        ScriptedUi ui;
        ui.errorAnswers = answers;
        FolderEngine engine(io);
        // All four options set: none of them hides an error question.
        QCOMPARE(engine.perform({action, source, dst_, 0x011C}, ui), result);
        QCOMPARE(ui.errors.size(), answers.size());
        QVERIFY(ui.errors.first().contains("b.dat"));
        QCOMPARE(QFileInfo::exists(dst_ + "/album/sub/b.dat"), arrives);
        QCOMPARE(lostEntries(before, source, dst_ + "/album"), QStringList());
        if (action == FO_MOVE && !arrives)
            QVERIFY(QFileInfo::exists(source + "/sub/b.dat"));
    }

    void failedFlush_data()
    {
        QTest::addColumn<int>("failures");
        QTest::addColumn<qint32>("result");
        // Small files are flushed together; when that fails each is copied
        // again and flushed on its own.
        QTest::newRow("common flush fails once") << 1 << qint32(ResultOk);
        QTest::newRow("every flush fails") << 1000 << qint32(ResultIncomplete);
    }
    void failedFlush()
    {
        QFETCH(int, failures);
        QFETCH(qint32, result);
        writeFile(dst_ + "/album/-leading dash", "old");
        const auto before = snapshot(src_);
        FaultyIo io;
        io.flushFailures = failures;
        ScriptedUi ui;
        ui.errorDefault = ErrorAnswer::Skip;
        FolderEngine engine(io);
        QCOMPARE(engine.perform({FO_COPY, src_, dst_, FOF_NOCONFIRMATION}, ui), result);
        QCOMPARE(ui.errors.isEmpty(), result == ResultOk);
        if (result == ResultOk) {
            QCOMPARE(snapshot(dst_ + "/album"), before);
        } else {
            QCOMPARE(readFile(dst_ + "/album/-leading dash"), QByteArray("old"));
            QVERIFY(!QFileInfo::exists(dst_ + "/album/a.txt"));
        }
        QCOMPARE(temporariesBelow(dst_), QStringList());
    }

    void fullDisk_data()
    {
        QTest::addColumn<qint32>("action");
        QTest::addColumn<ErrorAnswer>("answer");
        QTest::newRow("copy, skip") << FO_COPY << ErrorAnswer::Skip;
        QTest::newRow("copy, cancel") << FO_COPY << ErrorAnswer::Cancel;
        QTest::newRow("move, skip") << FO_MOVE << ErrorAnswer::Skip;
        QTest::newRow("move, cancel") << FO_MOVE << ErrorAnswer::Cancel;
    }
    void fullDisk()
    {
        QFETCH(qint32, action);
        QFETCH(ErrorAnswer, answer);
        const QString small = temp_.filePath("small");
        QDir().mkpath(small);
        if (::mount("tmpfs", QFile::encodeName(small).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("cannot mount a small tmpfs here (needs root)");
        auto unmount =
            qScopeGuard([&] { ::umount2(QFile::encodeName(small).constData(), MNT_DETACH); });
        writeFile(src_ + "/sub/zz-big.bin", pattern("big", 200000)); // cannot fit
        writeFile(small + "/album/a.txt", "old");
        const auto before = snapshot(src_);
        ScriptedUi ui;
        ui.errorDefault = answer;
        FileIo io;
        FolderEngine engine(io);
        const qint32 result = engine.perform({action, src_, small, FOF_NOCONFIRMATION}, ui);
        QCOMPARE(result, answer == ErrorAnswer::Skip ? ResultIncomplete : ResultCancelled);
        QVERIFY(!ui.errors.isEmpty());
        QVERIFY(ui.errors.first().contains(QString::fromLocal8Bit(strerror(ENOSPC))));
        QVERIFY(!QFileInfo::exists(small + "/album/sub/zz-big.bin"));
        QCOMPARE(QFileInfo::exists(src_ + "/sub/zz-big.bin"), true);
        QCOMPARE(lostEntries(before, src_, small + "/album"), QStringList());
    }

    void fileSizeLimit_data()
    {
        QTest::addColumn<qint32>("action");
        QTest::newRow("copy") << FO_COPY;
        QTest::newRow("move to another file system") << FO_MOVE;
    }
    void fileSizeLimit()
    {
        QFETCH(qint32, action);
        QTemporaryDir other(QStringLiteral("/dev/shm/brelko-test-XXXXXX"));
        QString destination = dst_;
        if (action == FO_MOVE) {
            if (!SecondFileSystem(other, temp_))
                QSKIP("no second file system: /dev/shm is missing or on the work disk");
            destination = other.path();
        }
        const auto before = snapshot(src_);
        // The limit would hit this test too, so the operation runs in a child.
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const struct rlimit limit = {16 * 1024, 16 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ScriptedUi ui;
            ui.errorDefault = ErrorAnswer::Skip;
            FileIo io;
            FolderEngine engine(io);
            const qint32 result =
                engine.perform({action, src_, destination, FOF_NOCONFIRMATION}, ui);
            const bool askedAboutBig = ui.errors.size() == 1 && ui.errors.first().contains("b.dat");
            ::_exit(askedAboutBig ? result : 100);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), int(ResultIncomplete));
        QVERIFY(!QFileInfo::exists(destination + "/album/sub/b.dat"));
        QVERIFY(QFileInfo::exists(destination + "/album/a.txt"));
        QCOMPARE(lostEntries(before, src_, destination + "/album"), QStringList());
        QCOMPARE(QFileInfo::exists(src_ + "/a.txt"), action == FO_COPY);
    }

    void cancelInTheMiddleOfALargeFile_data()
    {
        QTest::addColumn<qint32>("action");
        QTest::addColumn<bool>("oldVersion");
        QTest::newRow("copy") << FO_COPY << false;
        QTest::newRow("copy over an old version") << FO_COPY << true;
        QTest::newRow("move to another file system") << FO_MOVE << false;
        QTest::newRow("move over an old version") << FO_MOVE << true;
    }
    void cancelInTheMiddleOfALargeFile()
    {
        QFETCH(qint32, action);
        QFETCH(bool, oldVersion);
        QTemporaryDir other(QStringLiteral("/dev/shm/brelko-test-XXXXXX"));
        QString destination = dst_;
        if (action == FO_MOVE) {
            if (!SecondFileSystem(other, temp_))
                QSKIP("no second file system: /dev/shm is missing or on the work disk");
            destination = other.path();
        }
        const qint64 size = 40 * 1024 * 1024;
        writeFile(src_ + "/sub/large.bin", pattern("large", size));
        if (oldVersion)
            writeFile(destination + "/album/sub/large.bin", "old version");
        const auto before = snapshot(src_);
        ScriptedUi ui;
        ui.conflictDefault = ConflictAnswer::ReplaceAll;
        FileIo io;
        FolderEngine engine(io);
        // Every other file comes before large.bin in name order.
        const qint64 smallFiles = 20 + 1000 + 30 + 70000 + 3000;
        ui.cancelAfterBytes = smallFiles + 1;
        QCOMPARE(engine.perform({action, src_, destination, 0}, ui), ResultCancelled);
        const OperationProgress last = ui.progress.last();
        QCOMPARE(last.currentName, QString("large.bin"));
        QVERIFY2(last.bytesDone > smallFiles && last.bytesDone < smallFiles + size,
                 qPrintable(QString::number(last.bytesDone)));
        QCOMPARE(readFile(destination + "/album/sub/large.bin"),
                 oldVersion ? QByteArray("old version") : QByteArray());
        QCOMPARE(readFile(destination + "/album/a.txt"), pattern("a", 1000));
        QCOMPARE(lostEntries(before, src_, destination + "/album"), QStringList());
        QVERIFY(QFileInfo::exists(src_ + "/sub/large.bin"));
    }
};

QTEST_GUILESS_MAIN(FolderEngineFaultsTest)
#include "tst_FolderEngineFaults.moc"
