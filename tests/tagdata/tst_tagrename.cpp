#include "TagRename.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

class TestTagRename : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newFileName_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("titleFirst");
        QTest::addColumn<QString>("artistFirst");
        const auto row = [](const char *name, const char *title, const char *artist,
                            const char *titleFirst, const char *artistFirst) {
            QTest::newRow(name) << QString(title) << QString(artist) << QString(titleFirst)
                                << QString(artistFirst);
        };
        row("spaces trimmed", "  Morning ", " Quartet  ", "Morning - Quartet.mp3",
            "Quartet - Morning.mp3");
        row("tabs and inner spaces are text", "\tA  B", "C", "\tA  B - C.mp3", "C - \tA  B.mp3");
        row("odd characters kept", "Why?*", "A:B", "Why?* - A:B.mp3", "A:B - Why?*.mp3");
        row("empty title", "   ", "X", "", "");
        row("empty artist", "X", "", "", "");
    }

    void newFileName()
    {
        QFETCH(QString, title);
        QFETCH(QString, artist);
        QFETCH(QString, titleFirst);
        QFETCH(QString, artistFirst);
        QCOMPARE(NewFileName(title, artist, RenameOrder::TitleArtist), titleFirst);
        QCOMPARE(NewFileName(title, artist, RenameOrder::ArtistTitle), artistFirst);
    }

    void rename_data()
    {
        QTest::addColumn<QString>("newName");
        QTest::addColumn<bool>("renamed");
        QTest::newRow("upper-case extension to lower") << "old.mp3" << true;
        QTest::newRow("characters FAT would refuse") << "a:b?*.mp3" << true;
        QTest::newRow("same name") << "old.MP3" << true;
        QTest::newRow("existing target") << "taken.mp3" << false;
        QTest::newRow("slash would leave the folder") << "../up.mp3" << false;
        QTest::newRow("slash into subfolder") << "sub/x.mp3" << false;
        QTest::newRow("zero character") << QStringLiteral("a") + QChar(0) + "b.mp3" << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("empty") << "" << false;
    }

    void rename()
    {
        QFETCH(QString, newName);
        QFETCH(bool, renamed);
        QTemporaryDir parent;
        QDir dir(parent.path());
        QVERIFY(dir.mkpath(QStringLiteral("in/sub")) && dir.cd(QStringLiteral("in")));
        WriteFile(dir.filePath(QStringLiteral("old.MP3")), "song");
        WriteFile(dir.filePath(QStringLiteral("taken.mp3")), "other");
        const auto everything = [&] {
            return QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot) +
                   dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot) +
                   QDir(dir.filePath(QStringLiteral("sub"))).entryList(QDir::Files);
        };
        const QStringList before = everything();

        QCOMPARE(RenameInFolder(dir.path(), QStringLiteral("old.MP3"), newName), renamed);

        if (renamed) {
            QCOMPARE(ReadFile(dir.filePath(newName)), QByteArray("song"));
        } else {
            QCOMPARE(everything(), before);
            QCOMPARE(ReadFile(dir.filePath(QStringLiteral("old.MP3"))), QByteArray("song"));
        }
        QCOMPARE(ReadFile(dir.filePath(QStringLiteral("taken.mp3"))), QByteArray("other"));
    }

    // FAT ignores letter case, so "Song.MP3" -> "Song.mp3" finds its target taken
    // by the file itself.
    void caseOnlyRenameOnFat()
    {
        if (geteuid() != 0 || !QFile::exists(QStringLiteral("/usr/sbin/mkfs.vfat")))
            QSKIP("mounting a FAT image needs root and mkfs.vfat (dosfstools)");
        QTemporaryDir dir;
        const QString image = dir.filePath(QStringLiteral("fat.img"));
        const QString mountPoint = dir.filePath(QStringLiteral("mnt"));
        QVERIFY(QDir().mkpath(mountPoint));
        QCOMPARE(RunQuietly(QStringLiteral("/usr/sbin/mkfs.vfat"),
                            {QStringLiteral("-C"), image, QStringLiteral("2048")}),
                 0);
        if (RunQuietly(QStringLiteral("mount"),
                       {QStringLiteral("-o"), QStringLiteral("loop"), image, mountPoint}))
            QSKIP(
                "this machine cannot mount a FAT image (no loop device or no vfat in the kernel)");
        auto unmount = qScopeGuard([&] { RunQuietly(QStringLiteral("umount"), {mountPoint}); });
        WriteFile(mountPoint + QStringLiteral("/Song.MP3"), "music");
        QVERIFY(RenameInFolder(mountPoint, QStringLiteral("Song.MP3"), QStringLiteral("Song.mp3")));
        QCOMPARE(QDir(mountPoint).entryList(QDir::Files), QStringList{QStringLiteral("Song.mp3")});
        QCOMPARE(ReadFile(mountPoint + QStringLiteral("/Song.mp3")), QByteArray("music"));
    }
};

QTEST_GUILESS_MAIN(TestTagRename)
#include "tst_tagrename.moc"
