// Listing folders as the browser needs them: which files, in what order.
#include "FolderLister.h"

#include <QtTest>

class FolderListerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mp3Files()
    {
        const QList<QPair<QStringList, QStringList>> rows = {
            {{"c.txt", "B.MP3", "a.mp3", ".x.mp3"}, {"a.mp3", "B.MP3"}}, // hidden left out
            {{"a.mp3.txt", "mp3", "x.mp", ".mp3", "song.Mp3"}, {"song.Mp3"}},
            {{"a.mp3", "A.mp3", "ab.mp3"}, {"A.mp3", "a.mp3", "ab.mp3"}}, // a total order
            {{"\u00e9t\u00e9.mp3", "Zz.mp3", "\u00c9clair.mp3"},
             {"Zz.mp3", "\u00c9clair.mp3", "\u00e9t\u00e9.mp3"}}};
        for (const auto &[files, listed] : rows) {
            QTemporaryDir dir;
            for (const QString &name : files)
                QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.mp3"))); // a folder is no file
            bool ok = false;
            QCOMPARE(SystemFolderLister().mp3Files(dir.path(), &ok), listed);
            QVERIFY(ok);
        }
    }

    void unlistableAndSubfolders()
    {
        QTemporaryDir dir;
        SystemFolderLister lister;
        bool ok = true;
        for (const char *name : {"vanished", "file"}) {
            QCOMPARE(lister.mp3Files(dir.filePath(name), &ok), QStringList());
            QVERIFY(!ok);
            QVERIFY(QFile(dir.filePath("file")).open(QIODevice::WriteOnly));
        }
        QVERIFY(lister.canList(dir.path()) && !lister.canList(dir.filePath("vanished")));
        for (const char *name : {"beta", "Alpha", ".hidden", "gamma"})
            QVERIFY(QDir(dir.path()).mkdir(name));
        QCOMPARE(lister.subfolders(dir.path()), QStringList({"Alpha", "beta", "gamma"}));
    }

    void volumes()
    {
        const QList<Volume> mounts = {{"/", "/"}, {"/media/stick", "stick"}, {"/media", "media"}};
        QCOMPARE(VolumeRootOf(mounts, "/media/stick/music"), "/media/stick");
        QCOMPARE(VolumeRootOf(mounts, "/media/stick"), "/media/stick");
        QCOMPARE(VolumeRootOf(mounts, "/media/sticky/x"), "/media"); // similar name: not inside
        QCOMPARE(VolumeRootOf(mounts, "/mediax/y"), "/");
        const QList<Volume> real = SystemFolderLister().volumes();
        QVERIFY(!real.isEmpty() && real.first().root == "/");
        for (const Volume &volume : real)
            QVERIFY2(!volume.root.startsWith("/proc") && !volume.root.startsWith("/sys"),
                     qPrintable(volume.root));
    }
};

QTEST_GUILESS_MAIN(FolderListerTest)
#include "tst_FolderLister.moc"
