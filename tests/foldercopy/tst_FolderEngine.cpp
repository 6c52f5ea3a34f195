// The engine on real folders: where things end up, the questions it asks,
// and that nothing of the source is ever lost.

#include "FileIo.h"
#include "FolderEngine.h"
#include "TreeFixture.h"

#include <fcntl.h>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/socket.h>
#include <sys/un.h>

using namespace fixture;

class FolderEngineTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir temp_;
    QString src_, dst_;
    FileIo io_;

    qint32 perform(qint32 action, quint16 flags, ScriptedUi &ui, QString source = {},
                   QString destination = {})
    {
        FolderEngine engine(io_);
        return engine.perform({action, source.isNull() ? src_ : source,
                               destination.isNull() ? dst_ : destination, flags},
                              ui);
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(temp_.isValid());
        src_ = temp_.filePath("music/album");
        dst_ = temp_.filePath("backup");
        QDir(temp_.path()).removeRecursively();
        QDir().mkpath(temp_.path());
        makeTree(src_);
    }

    void intoExistingOrMissingFolder_data()
    {
        QTest::addColumn<qint32>("action");
        QTest::addColumn<bool>("destinationExists");
        QTest::addColumn<quint16>("flags");
        QTest::addColumn<int>("questions");
        QTest::newRow("copy into existing") << FO_COPY << true << quint16(0) << 0;
        QTest::newRow("copy into missing asks") << FO_COPY << false << quint16(0) << 1;
        QTest::newRow("copy into missing, no confirmation")
            << FO_COPY << false << FOF_NOCONFIRMATION << 0;
        QTest::newRow("move into existing") << FO_MOVE << true << quint16(0) << 0;
        QTest::newRow("move into missing asks") << FO_MOVE << false << quint16(0) << 1;
        QTest::newRow("move, all options") << FO_MOVE << false << quint16(0x011C) << 0;
    }
    void intoExistingOrMissingFolder()
    {
        QFETCH(qint32, action);
        QFETCH(bool, destinationExists);
        QFETCH(quint16, flags);
        QFETCH(int, questions);
        if (destinationExists)
            QDir().mkpath(dst_);
        const auto before = snapshot(src_);
        ScriptedUi ui;
        QCOMPARE(perform(action, flags, ui), ResultOk);
        QCOMPARE(ui.creates.size(), questions);
        QCOMPARE(snapshot(dst_ + "/album"), before);
        QCOMPARE(QFileInfo::exists(src_), action == FO_COPY);
        if (action == FO_COPY)
            QCOMPARE(snapshot(src_), before);
        QVERIFY(QFileInfo(dst_ + "/album/empty folder").isDir());
        QVERIFY(ui.errors.isEmpty());
        QCOMPARE(ui.finishedCalls, 1);
    }

    void declinedFolderCreationTouchesNothing()
    {
        ScriptedUi ui;
        ui.createAnswer = false;
        QCOMPARE(perform(FO_MOVE, 0, ui), ResultNotCreated);
        QVERIFY(!QFileInfo::exists(dst_));
        QVERIFY(QFileInfo::exists(src_ + "/a.txt"));
    }

    void refusesBadRequests_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<qint32>("action");
        QTest::addColumn<qint32>("result");
        QTest::newRow("empty source") << ""
                                      << "backup" << FO_COPY << qint32(ResultBadSource);
        QTest::newRow("missing source") << "nothere"
                                        << "backup" << FO_COPY << qint32(ResultBadSource);
        QTest::newRow("file as source") << "music/album/a.txt"
                                        << "backup" << FO_MOVE << qint32(ResultBadSource);
        QTest::newRow("empty destination") << "music/album"
                                           << "" << FO_MOVE << qint32(ResultBadDestination);
        QTest::newRow("file as destination")
            << "music/album"
            << "music/album/a.txt" << FO_COPY << qint32(ResultInsideSource);
        QTest::newRow("destination is a file")
            << "music/album/sub"
            << "music/album/a.txt" << FO_COPY << qint32(ResultBadDestination);
        QTest::newRow("into itself") << "music/album"
                                     << "music/album" << FO_COPY << qint32(ResultInsideSource);
        QTest::newRow("into a subfolder")
            << "music/album"
            << "music/album/sub" << FO_MOVE << qint32(ResultInsideSource);
        QTest::newRow("into a missing subfolder")
            << "music/album"
            << "music/album/x/y" << FO_COPY << qint32(ResultInsideSource);
        QTest::newRow("through dots")
            << "music/album"
            << "music/../music/album/sub" << FO_COPY << qint32(ResultInsideSource);
        QTest::newRow("root as source") << "/"
                                        << "backup" << FO_COPY << qint32(ResultInsideSource);
        QTest::newRow("move into own parent") << "music/album"
                                              << "music" << FO_MOVE << qint32(ResultSameFolder);
        QTest::newRow("unknown action") << "music/album"
                                        << "backup" << 3 << qint32(ResultUnknownAction);
    }
    void refusesBadRequests()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(qint32, action);
        QFETCH(qint32, result);
        auto place = [&](const QString &path) {
            return path.isEmpty() || path.startsWith('/') ? path : temp_.filePath(path);
        };
        const auto before = snapshot(temp_.path());
        ScriptedUi ui;
        QCOMPARE(perform(action, FOF_NOCONFIRMATION, ui, place(source), place(destination)),
                 result);
        QCOMPARE(ui.reports.size(), 1);
        QCOMPARE(snapshot(temp_.path()), before);
        QVERIFY(!QFileInfo::exists(temp_.filePath("backup")));
        QVERIFY(!QFileInfo::exists(temp_.filePath("music/album/x")));
    }

    void copyIntoOwnParentGetsFreeName()
    {
        const auto before = snapshot(src_);
        ScriptedUi ui;
        QCOMPARE(perform(FO_COPY, 0, ui, src_, temp_.filePath("music")), ResultOk);
        QCOMPARE(snapshot(temp_.filePath("music/album (2)")), before);
        QCOMPARE(snapshot(src_), before);
        QCOMPARE(perform(FO_COPY, 0, ui, src_, temp_.filePath("music")), ResultOk);
        QCOMPARE(snapshot(temp_.filePath("music/album (3)")), before);
        QVERIFY(ui.conflicts.isEmpty());
    }

    void sourceThroughALinkKeepsItsName()
    {
        QFile::link(src_, temp_.filePath("music/favourites"));
        const auto before = snapshot(src_);
        ScriptedUi ui;
        QCOMPARE(perform(FO_COPY, FOF_NOCONFIRMATION, ui, temp_.filePath("music/favourites/")),
                 ResultOk);
        QCOMPARE(snapshot(dst_ + "/favourites"), before);
        QVERIFY(!QFileInfo::exists(dst_ + "/album"));
    }

    void conflictAnswers_data()
    {
        QTest::addColumn<QList<ConflictAnswer>>("answers");
        QTest::addColumn<quint16>("flags");
        QTest::addColumn<QStringList>("replaced"); // of a.txt, sub/b.dat
        QTest::addColumn<int>("questions");
        QTest::addColumn<qint32>("result");
        using A = ConflictAnswer;
        QTest::newRow("replace, skip") << QList<A>{A::Replace, A::Skip} << quint16(0)
                                       << QStringList{"a.txt"} << 2 << qint32(ResultOk);
        QTest::newRow("skip, replace") << QList<A>{A::Skip, A::Replace} << quint16(0)
                                       << QStringList{"sub/b.dat"} << 2 << qint32(ResultOk);
        QTest::newRow("replace all") << QList<A>{A::ReplaceAll} << quint16(0)
                                     << QStringList{"a.txt", "sub/b.dat"} << 1 << qint32(ResultOk);
        QTest::newRow("skip all") << QList<A>{A::SkipAll} << quint16(0) << QStringList{} << 1
                                  << qint32(ResultOk);
        QTest::newRow("cancel") << QList<A>{A::Cancel} << quint16(0) << QStringList{} << 1
                                << qint32(ResultCancelled);
        QTest::newRow("no confirmation replaces")
            << QList<A>{} << FOF_NOCONFIRMATION << QStringList{"a.txt", "sub/b.dat"} << 0
            << qint32(ResultOk);
    }
    void conflictAnswers()
    {
        QFETCH(QList<ConflictAnswer>, answers);
        QFETCH(quint16, flags);
        QFETCH(QStringList, replaced);
        QFETCH(int, questions);
        QFETCH(qint32, result);
        for (const char *move : {"copy", "move"}) {
            init();
            writeFile(dst_ + "/album/a.txt", "old a");
            writeFile(dst_ + "/album/sub/b.dat", "old b");
            writeFile(dst_ + "/album/mine.txt", "mine");
            const auto before = snapshot(src_);
            ScriptedUi ui;
            ui.conflictAnswers = answers;
            const bool moving = QByteArray(move) == "move";
            QCOMPARE(perform(moving ? FO_MOVE : FO_COPY, flags, ui), result);
            QCOMPARE(ui.conflicts.size(), questions);
            QCOMPARE(readFile(dst_ + "/album/mine.txt"), QByteArray("mine"));
            for (const QString &name : {QStringLiteral("a.txt"), QStringLiteral("sub/b.dat")}) {
                const QByteArray now = readFile(dst_ + "/album/" + name);
                const QByteArray original =
                    pattern(name.section('/', -1).left(1), name == "a.txt" ? 1000 : 70000);
                QCOMPARE(now == original, replaced.contains(name));
                // A skipped or refused file stays in the source when moving.
                if (moving && !replaced.contains(name))
                    QCOMPARE(readFile(src_ + '/' + name), original);
            }
            QCOMPARE(lostEntries(before, src_, dst_ + "/album"), QStringList());
            QCOMPARE(QFileInfo::exists(src_), !(moving && replaced.size() == 2));
        }
    }

    void renameOnCollisionGivesFreeNames()
    {
        writeFile(dst_ + "/album/a.txt", "old");
        writeFile(dst_ + "/album (2)/x", "taken too");
        const auto before = snapshot(src_);
        ScriptedUi ui;
        QCOMPARE(perform(FO_COPY, FOF_RENAMEONCOLLISION, ui), ResultOk);
        QCOMPARE(snapshot(dst_ + "/album (3)"), before);
        QCOMPARE(readFile(dst_ + "/album/a.txt"), QByteArray("old"));
        QVERIFY(ui.conflicts.isEmpty());
    }

    void fileInTheWayOfFolderIsAnError()
    {
        writeFile(dst_ + "/album/sub", "a file named like the folder");
        const auto before = snapshot(src_);
        ScriptedUi ui;
        ui.errorDefault = ErrorAnswer::Skip;
        QCOMPARE(perform(FO_MOVE, FOF_NOCONFIRMATION, ui), ResultIncomplete);
        QCOMPARE(ui.errors.size(), 1);
        QCOMPARE(readFile(dst_ + "/album/sub"), QByteArray("a file named like the folder"));
        QVERIFY(QFileInfo::exists(src_ + "/sub/b.dat"));
        QVERIFY(!QFileInfo::exists(src_ + "/a.txt"));
        QCOMPARE(lostEntries(before, src_, dst_ + "/album"), QStringList());
    }

    void sameFileSystemMoveIsOneRename()
    {
        QDir().mkpath(dst_);
        const ino_t folder = inodeOf(src_);
        const ino_t file = inodeOf(src_ + "/sub/b.dat");
        ScriptedUi ui;
        QCOMPARE(perform(FO_MOVE, 0, ui), ResultOk);
        QCOMPARE(inodeOf(dst_ + "/album"), folder);
        QCOMPARE(inodeOf(dst_ + "/album/sub/b.dat"), file);
    }

    void crossFileSystemMove_data()
    {
        QTest::addColumn<bool>("merge");
        QTest::newRow("new folder") << false;
        QTest::newRow("into existing folder") << true;
    }
    void crossFileSystemMove()
    {
        QFETCH(bool, merge);
        QTemporaryDir other(QStringLiteral("/dev/shm/brelko-test-XXXXXX"));
        if (!other.isValid() || deviceOf(other.path()) == deviceOf(temp_.path()))
            QSKIP("no second file system: /dev/shm is missing or on the work disk");
        const QString source = other.filePath("album");
        makeTree(source);
        if (merge)
            writeFile(dst_ + "/album/mine.txt", "mine");
        QDir().mkpath(dst_);
        const auto before = snapshot(source);
        ScriptedUi ui;
        QCOMPARE(perform(FO_MOVE, 0, ui, source), ResultOk);
        QCOMPARE(lostEntries(before, source, dst_ + "/album"), QStringList());
        QVERIFY(!QFileInfo::exists(source));
        auto after = snapshot(dst_ + "/album");
        after.remove("mine.txt");
        QCOMPARE(after, before);
    }

    void linksStayLinks()
    {
        QFile::link(".", src_ + "/loop");
        QFile::link("ping", src_ + "/pong");
        QFile::link("pong", src_ + "/ping");
        QFile::link("/etc/hostname", src_ + "/absolute");
        QFile::link("nowhere", src_ + "/dangling");
        const auto before = snapshot(src_);
        ScriptedUi ui;
        QCOMPARE(perform(FO_COPY, FOF_NOCONFIRMATION, ui), ResultOk);
        QCOMPARE(snapshot(dst_ + "/album"), before);
        QVERIFY(QFileInfo(dst_ + "/album/loop").isSymLink());
        QCOMPARE(QFileInfo(dst_ + "/album/absolute").symLinkTarget(), QString("/etc/hostname"));
    }

    void specialFilesAreSkippedAndReported_data()
    {
        QTest::addColumn<qint32>("action");
        QTest::newRow("copy") << FO_COPY;
        QTest::newRow("move to another file system") << FO_MOVE;
    }
    void specialFilesAreSkippedAndReported()
    {
        QFETCH(qint32, action);
        // A move within one file system renames the folder with all in it,
        // so only a move to another one has to leave special files behind.
        QTemporaryDir other(QStringLiteral("/dev/shm/brelko-test-XXXXXX"));
        if (action == FO_MOVE &&
            (!other.isValid() || deviceOf(other.path()) == deviceOf(temp_.path())))
            QSKIP("no second file system: /dev/shm is missing or on the work disk");
        const QString destination = action == FO_MOVE ? other.path() : dst_;
        const QByteArray fifo = QFile::encodeName(src_ + "/pipe");
        QCOMPARE(::mkfifo(fifo.constData(), 0644), 0);
        const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = QFile::encodeName(src_ + "/sub/socket");
        qstrncpy(address.sun_path, socketPath.constData(), sizeof address.sun_path);
        QCOMPARE(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ScriptedUi ui;
        QCOMPARE(perform(action, FOF_NOCONFIRMATION, ui, src_, destination), ResultIncomplete);
        ::close(sock);
        QCOMPARE(ui.reports.size(), 1);
        QVERIFY(ui.reports.first().contains("pipe"));
        QVERIFY(ui.reports.first().contains("socket"));
        QVERIFY(QFileInfo::exists(src_ + "/pipe"));
        QVERIFY(QFileInfo::exists(src_ + "/sub/socket"));
        QVERIFY(!QFileInfo::exists(destination + "/album/pipe"));
        QVERIFY(QFileInfo::exists(destination + "/album/sub/b.dat"));
        // The folders that still hold them stay; what could move, moved.
        QCOMPARE(QFileInfo::exists(src_ + "/sub/b.dat"), action == FO_COPY);
        QCOMPARE(QFileInfo::exists(src_ + "/sub/deeper"), action == FO_COPY);
    }

    void permissionsAndTimesAreKept()
    {
        const QByteArray file = QFile::encodeName(src_ + "/sub/b.dat");
        const QByteArray folder = QFile::encodeName(src_ + "/sub");
        QCOMPARE(::chmod(file.constData(), 0640), 0);
        QCOMPARE(::chmod(folder.constData(), 0750), 0);
        const struct timespec times[2] = {{1000000000, 5}, {1200000000, 123456789}};
        QCOMPARE(::utimensat(AT_FDCWD, file.constData(), times, 0), 0);
        QCOMPARE(::utimensat(AT_FDCWD, folder.constData(), times, 0), 0);
        ScriptedUi ui;
        QCOMPARE(perform(FO_COPY, FOF_NOCONFIRMATION, ui), ResultOk);
        for (const QString &name : {QStringLiteral("sub/b.dat"), QStringLiteral("sub")}) {
            struct stat original, copy;
            QCOMPARE(::lstat(QFile::encodeName(src_ + '/' + name).constData(), &original), 0);
            QCOMPARE(::lstat(QFile::encodeName(dst_ + "/album/" + name).constData(), &copy), 0);
            QCOMPARE(copy.st_mode, original.st_mode);
            QCOMPARE(copy.st_mtim.tv_sec, original.st_mtim.tv_sec);
            QCOMPARE(copy.st_mtim.tv_nsec, original.st_mtim.tv_nsec);
        }
    }

    void progressFollowsOptions_data()
    {
        QTest::addColumn<quint16>("flags");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("named");
        QTest::newRow("names") << quint16(0) << true << true;
        QTest::newRow("simple progress") << FOF_SIMPLEPROGRESS << true << false;
        QTest::newRow("silent") << FOF_SILENT << false << false;
    }
    void progressFollowsOptions()
    {
        QFETCH(quint16, flags);
        QFETCH(bool, shown);
        QFETCH(bool, named);
        ScriptedUi ui;
        QCOMPARE(perform(FO_COPY, flags | FOF_NOCONFIRMATION, ui), ResultOk);
        QCOMPARE(!ui.progress.isEmpty(), shown);
        if (!shown)
            return;
        QVERIFY(
            std::all_of(ui.progress.cbegin(), ui.progress.cend(), [&](const OperationProgress &p) {
                return p.currentName.isEmpty() != named;
            }));
        QCOMPARE(ui.progress.last().bytesTotal, qint64(1000 + 70000 + 3000 + 10 + 20 + 30 + 40));
        QCOMPARE(ui.progress.last().bytesDone, ui.progress.last().bytesTotal);
    }
};

QTEST_GUILESS_MAIN(FolderEngineTest)
#include "tst_FolderEngine.moc"
