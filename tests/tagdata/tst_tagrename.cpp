#include "TagRename.h"
#include "TestFiles.h"

#include <unistd.h>

class TestTagRename : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Title and artist in both orders, or no name at all.
    void newFileName()
    {
        // clang-format off
        const char *rows[][4] = {
            {"  Morning ", " Quartet  ", "Morning - Quartet.mp3", "Quartet - Morning.mp3"}, // trimmed
            {"\tA  B", "C", "\tA  B - C.mp3", "C - \tA  B.mp3"}, // tabs and inner spaces are text
            {"Why?*", "A:B", "Why?* - A:B.mp3", "A:B - Why?*.mp3"}, // odd characters kept
            {"   ", "X", "", ""}, {"X", "", "", ""}};                // empty title or artist
        // clang-format on
        for (const auto &[title, artist, titleFirst, artistFirst] : rows) {
            QCOMPARE(NewFileName(title, artist, RenameOrder::TitleArtist), QString(titleFirst));
            QCOMPARE(NewFileName(title, artist, RenameOrder::ArtistTitle), QString(artistFirst));
        }
    }

    // Upper-case extension to lower, characters FAT would refuse, the same
    // name; then a taken name, a way out of the folder or into a subfolder,
    // a zero character, "..", nothing.
    void rename_data()
    {
        QTest::addColumn<QString>("newName");
        QTest::addColumn<bool>("renamed");
        for (const QString name : {"old.mp3", "a:b?*.mp3", "old.MP3"})
            QTest::newRow(qPrintable(name)) << name << true;
        for (const QString name : {"taken.mp3", "../up.mp3", "sub/x.mp3", "a\\0b.mp3", "..", ""})
            QTest::newRow(qPrintable(name)) << QString(name).replace("\\0", QChar(0)) << false;
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

        QCOMPARE(ReadFile(dir.filePath(renamed ? newName : "old.MP3")), QByteArray("song"));
        if (!renamed)
            QCOMPARE(everything(), before);
        QCOMPARE(ReadFile(dir.filePath(QStringLiteral("taken.mp3"))), QByteArray("other"));
    }

    // FAT ignores letter case, so "Song.MP3" -> "Song.mp3" finds its target taken
    // by the file itself.
    void caseOnlyRenameOnFat()
    {
        if (geteuid() != 0 || !QFile::exists(QStringLiteral("/usr/sbin/mkfs.vfat")))
            QSKIP("mounting a FAT image needs root and mkfs.vfat (dosfstools)");
        QTemporaryDir dir;
        const QString image = dir.filePath("fat.img"), mountPoint = dir.filePath("mnt");
        QVERIFY(QDir().mkpath(mountPoint));
        QCOMPARE(RunQuietly("/usr/sbin/mkfs.vfat", {"-C", image, "2048"}), 0);
        if (RunQuietly("mount", {"-o", "loop", image, mountPoint}))
            QSKIP("this machine cannot mount a FAT image (no loop device or vfat)");
        auto unmount = qScopeGuard([&] { RunQuietly("umount", {mountPoint}); });
        WriteFile(mountPoint + "/Song.MP3", "music");
        QVERIFY(RenameInFolder(mountPoint, "Song.MP3", "Song.mp3"));
        QCOMPARE(QDir(mountPoint).entryList(QDir::Files), QStringList{"Song.mp3"});
        QCOMPARE(ReadFile(mountPoint + "/Song.mp3"), QByteArray("music"));
    }
};

QTEST_GUILESS_MAIN(TestTagRename)
#include "tst_tagrename.moc"
