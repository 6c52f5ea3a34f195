#include "TagRename.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

int RunQuietly(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(20000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

class TestTagRename : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void newFileName_data();
    void newFileName();
    void rename_data();
    void rename();
    void caseOnlyRenameOnFat();

private:
    void makeFile(const QString &name, const QByteArray &contents);
    QScopedPointer<QTemporaryDir> dir_;
};

void TestTagRename::init()
{
    dir_.reset(new QTemporaryDir);
    QVERIFY(dir_->isValid());
}

void TestTagRename::makeFile(const QString &name, const QByteArray &contents)
{
    QFile file(dir_->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(contents), qint64(contents.size()));
}

void TestTagRename::newFileName_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("titleFirst");
    QTest::addColumn<QString>("artistFirst");
    QTest::newRow("plain") << "Morning" << "Quartet" << "Morning - Quartet.mp3"
                           << "Quartet - Morning.mp3";
    QTest::newRow("spaces trimmed") << "  Morning " << " Quartet  " << "Morning - Quartet.mp3"
                                    << "Quartet - Morning.mp3";
    QTest::newRow("inner spaces kept") << "A  B" << "C" << "A  B - C.mp3" << "C - A  B.mp3";
    QTest::newRow("tabs are text") << "\tA" << "B" << "\tA - B.mp3" << "B - \tA.mp3";
    QTest::newRow("odd characters kept") << "Why?*" << "A:B" << "Why?* - A:B.mp3"
                                         << "A:B - Why?*.mp3";
    QTest::newRow("no tag text") << "No ID Version 1.1 Tag Found" << "X"
                                 << "No ID Version 1.1 Tag Found - X.mp3"
                                 << "X - No ID Version 1.1 Tag Found.mp3";
    QTest::newRow("empty title") << "   " << "X" << "" << "";
    QTest::newRow("empty artist") << "X" << "" << "" << "";
}

void TestTagRename::newFileName()
{
    QFETCH(QString, title);
    QFETCH(QString, artist);
    QFETCH(QString, titleFirst);
    QFETCH(QString, artistFirst);
    QCOMPARE(NewFileName(title, artist, RenameOrder::TitleArtist), titleFirst);
    QCOMPARE(NewFileName(title, artist, RenameOrder::ArtistTitle), artistFirst);
}

void TestTagRename::rename_data()
{
    QTest::addColumn<QString>("newName");
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<bool>("renamed");
    QTest::newRow("plain") << "B - A.mp3" << false << true;
    QTest::newRow("upper-case extension to lower") << "old.mp3" << false << true;
    QTest::newRow("characters FAT would refuse") << "a:b?*.mp3" << false << true;
    QTest::newRow("existing target") << "taken.mp3" << true << false;
    QTest::newRow("slash would leave the folder") << "../up.mp3" << false << false;
    QTest::newRow("slash into subfolder") << "sub/x.mp3" << false << false;
    QTest::newRow("zero character") << QStringLiteral("a") + QChar(0) + "b.mp3" << false << false;
    QTest::newRow("dot dot") << ".." << false << false;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("same name") << "old.MP3" << false << true;
}

void TestTagRename::rename()
{
    QFETCH(QString, newName);
    QFETCH(bool, targetExists);
    QFETCH(bool, renamed);
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("sub")));
    makeFile(QStringLiteral("old.MP3"), "song");
    if (targetExists)
        makeFile(newName, "other");
    const QStringList before = QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    QCOMPARE(RenameInFolder(dir_->path(), QStringLiteral("old.MP3"), newName), renamed);

    QDir folder(dir_->path());
    if (renamed) {
        QFile moved(folder.filePath(newName));
        QVERIFY(moved.open(QIODevice::ReadOnly));
        QCOMPARE(moved.readAll(), QByteArray("song"));
    } else {
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(QDir(folder.filePath(QStringLiteral("sub"))).isEmpty());
        QVERIFY(!QFile::exists(QFileInfo(folder.filePath(QStringLiteral(".."))).absoluteFilePath()
                               + QStringLiteral("/up.mp3")));
        if (targetExists) {
            QFile other(folder.filePath(newName));
            QVERIFY(other.open(QIODevice::ReadOnly));
            QCOMPARE(other.readAll(), QByteArray("other"));
        }
    }
}

// FAT ignores letter case, so "Song.MP3" -> "Song.mp3" finds its target taken
// by the file itself.
void TestTagRename::caseOnlyRenameOnFat()
{
    if (geteuid() != 0)
        QSKIP("mounting a FAT image needs root");
    if (QStandardPaths::findExecutable(QStringLiteral("mkfs.vfat")).isEmpty()
        && !QFile::exists(QStringLiteral("/usr/sbin/mkfs.vfat")))
        QSKIP("mkfs.vfat (dosfstools) is not installed");
    const QString image = dir_->filePath(QStringLiteral("fat.img"));
    QFile imageFile(image);
    QVERIFY(imageFile.open(QIODevice::WriteOnly));
    QVERIFY(imageFile.resize(2 * 1024 * 1024));
    imageFile.close();
    QCOMPARE(RunQuietly(QStringLiteral("/usr/sbin/mkfs.vfat"), {image}), 0);
    const QString mountPoint = dir_->filePath(QStringLiteral("mnt"));
    QVERIFY(QDir().mkpath(mountPoint));
    if (RunQuietly(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("loop"), image,
                                             mountPoint})
        != 0)
        QSKIP("this machine cannot mount a FAT image (no loop device or no vfat in the kernel)");
    auto unmount = qScopeGuard([&] {
        QProcess::execute(QStringLiteral("umount"), {mountPoint});
    });
    {
        QFile song(mountPoint + QStringLiteral("/Song.MP3"));
        QVERIFY(song.open(QIODevice::WriteOnly));
        song.write("music");
    }
    QVERIFY(RenameInFolder(mountPoint, QStringLiteral("Song.MP3"), QStringLiteral("Song.mp3")));
    QCOMPARE(QDir(mountPoint).entryList(QDir::Files), QStringList{QStringLiteral("Song.mp3")});
    QFile song(mountPoint + QStringLiteral("/Song.mp3"));
    QVERIFY(song.open(QIODevice::ReadOnly));
    QCOMPARE(song.readAll(), QByteArray("music"));
}

QTEST_GUILESS_MAIN(TestTagRename)
#include "tst_tagrename.moc"
