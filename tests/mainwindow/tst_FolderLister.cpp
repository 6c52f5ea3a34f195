// Listing folders as the browser needs them: which files, in what order.
#include "FolderLister.h"
#include "Mp3Files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class FolderListerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mp3Files_data();
    void mp3Files();
    void symlinks();
    void unlistable();
    void subfolders();
    void sortOrder_data();
    void sortOrder();
    void volumeRoot_data();
    void volumeRoot();
    void realVolumes();
};

void FolderListerTest::mp3Files_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("mixed case, other files")
        << QStringList{"c.txt", "B.MP3", "a.mp3"} << QStringList{"a.mp3", "B.MP3"};
    QTest::newRow("hidden left out") << QStringList{".x.mp3", "y.mp3"} << QStringList{"y.mp3"};
    QTest::newRow("extension only at the end")
        << QStringList{"a.mp3.txt", "mp3", "x.mp", ".mp3", "song.Mp3"} << QStringList{"song.Mp3"};
    QTest::newRow("empty folder") << QStringList{} << QStringList{};
    QTest::newRow("non-ASCII names")
        << QStringList{"\u00e9t\u00e9.mp3", "Zz.mp3", "\u00c9clair.mp3"}
        << QStringList{"Zz.mp3", "\u00c9clair.mp3", "\u00e9t\u00e9.mp3"};
}

void FolderListerTest::mp3Files()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, listed);
    QTemporaryDir dir;
    for (const QString &name : files)
        QVERIFY(Mp3Files::Write(dir.filePath(name), "x"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.mp3"))); // a folder is no file
    SystemFolderLister lister;
    bool ok = false;
    QCOMPARE(lister.mp3Files(dir.path(), &ok), listed);
    QVERIFY(ok);
}

void FolderListerTest::symlinks()
{
    QTemporaryDir dir;
    QVERIFY(Mp3Files::Write(dir.filePath(QStringLiteral("real.mp3")), "x"));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("real.mp3")),
                        dir.filePath(QStringLiteral("link.mp3"))));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")),
                        dir.filePath(QStringLiteral("dangling.mp3"))));
    SystemFolderLister lister;
    QCOMPARE(lister.mp3Files(dir.path(), nullptr), QStringList({"link.mp3", "real.mp3"}));
}

void FolderListerTest::unlistable()
{
    QTemporaryDir dir;
    SystemFolderLister lister;
    bool ok = true;
    QCOMPARE(lister.mp3Files(dir.filePath(QStringLiteral("vanished")), &ok), QStringList());
    QVERIFY(!ok);
    QVERIFY(!lister.canList(dir.filePath(QStringLiteral("vanished"))));
    QVERIFY(lister.canList(dir.path()));
    QVERIFY(Mp3Files::Write(dir.filePath(QStringLiteral("file")), "x"));
    QCOMPARE(lister.mp3Files(dir.filePath(QStringLiteral("file")), &ok), QStringList());
    QVERIFY(!ok);
}

void FolderListerTest::subfolders()
{
    QTemporaryDir dir;
    QDir root(dir.path());
    for (const char *name : {"beta", "Alpha", ".hidden", "gamma"})
        QVERIFY(root.mkdir(QString::fromLatin1(name)));
    QVERIFY(Mp3Files::Write(dir.filePath(QStringLiteral("file.mp3")), "x"));
    SystemFolderLister lister;
    QCOMPARE(lister.subfolders(dir.path()), QStringList({"Alpha", "beta", "gamma"}));
}

void FolderListerTest::sortOrder_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("case ignored") << QStringList{"b.mp3", "A.mp3", "c.mp3"}
                                  << QStringList{"A.mp3", "b.mp3", "c.mp3"};
    QTest::newRow("same but for case: total order")
        << QStringList{"a.mp3", "A.mp3"} << QStringList{"A.mp3", "a.mp3"};
    QTest::newRow("prefix first") << QStringList{"ab.mp3", "a.mp3"}
                                  << QStringList{"a.mp3", "ab.mp3"};
}

void FolderListerTest::sortOrder()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);
    SortAsFileList(names);
    QCOMPARE(names, sorted);
}

void FolderListerTest::volumeRoot_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("root");
    QTest::newRow("inside a mount") << "/media/stick/music"
                                    << "/media/stick";
    QTest::newRow("the mount itself") << "/media/stick"
                                      << "/media/stick";
    QTest::newRow("similar name is not inside") << "/media/sticky/x"
                                                << "/media";
    QTest::newRow("similar name at the top") << "/mediax/y"
                                             << "/";
    QTest::newRow("root") << "/home/user"
                          << "/";
}

void FolderListerTest::volumeRoot()
{
    QFETCH(QString, path);
    QFETCH(QString, root);
    const QList<Volume> volumes = {{"/", "/"}, {"/media/stick", "stick"}, {"/media", "media"}};
    QCOMPARE(VolumeRootOf(volumes, path), root);
}

void FolderListerTest::realVolumes()
{
    const QList<Volume> volumes = SystemFolderLister().volumes();
    QVERIFY(!volumes.isEmpty());
    QCOMPARE(volumes.first().root, QStringLiteral("/"));
    for (const Volume &volume : volumes) {
        QVERIFY2(!volume.root.startsWith(QStringLiteral("/proc")), qPrintable(volume.root));
        QVERIFY2(!volume.root.startsWith(QStringLiteral("/sys")), qPrintable(volume.root));
    }
}

QTEST_GUILESS_MAIN(FolderListerTest)
#include "tst_FolderLister.moc"
