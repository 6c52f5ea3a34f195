// Walking drives and folders: what the MP3 list holds after each change.
#include "Mp3Files.h"
#include "WindowHarness.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QtTest>

class MainWindowBrowsingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void listEmptyAtStart();
    void openFolder_data();
    void openFolder();
    void enterOpensFolder();
    void folderTree();
    void vanishedFolder();
    void driveChange();
    void driveWithoutMedium();
    void tagKeptAcrossFolderChange();
    void clearFieldsThenOpen();
    void folderArgument();
    void moreThan32767Files();

private:
    QString makeFolder(const QString &name, const QStringList &files);
    std::unique_ptr<WindowHarness> harness;
};

void MainWindowBrowsingTest::init()
{
    harness = std::make_unique<WindowHarness>();
    QVERIFY(Mp3Files::Write(harness->dir.filePath(QStringLiteral("start.mp3")), "x"));
}

void MainWindowBrowsingTest::cleanup()
{
    harness.reset();
}

QString MainWindowBrowsingTest::makeFolder(const QString &name, const QStringList &files)
{
    const QString path = harness->dir.filePath(name);
    QDir().mkpath(path);
    for (const QString &file : files) {
        Mp3Files::Tag tag;
        tag.title = file.toLatin1();
        tag.artist = "Artist";
        Mp3Files::Write(path + QLatin1Char('/') + file,
                        Mp3Files::Audio(1) + Mp3Files::Trailer(tag));
    }
    return path;
}

void MainWindowBrowsingTest::listEmptyAtStart()
{
    harness->open();
    QCOMPARE(harness->listed(), QStringList());
    QCOMPARE(harness->text(QStringLiteral("Label13")), QStringLiteral("Files : 0"));
    QCOMPARE(harness->dirPath(), harness->start);
    auto *drive = harness->find<QComboBox>(QStringLiteral("Drive1"));
    QCOMPARE(drive->currentData().toString(), QStringLiteral("/"));
}

void MainWindowBrowsingTest::openFolder_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("mixed case") << QStringList{"a.mp3", "B.MP3", "c.txt"}
                                << QStringList{"a.mp3", "B.MP3"};
    QTest::newRow("hidden") << QStringList{".x.mp3", "y.mp3"} << QStringList{"y.mp3"};
    QTest::newRow("none") << QStringList{"c.txt"} << QStringList{};
}

void MainWindowBrowsingTest::openFolder()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, listed);
    const QString folder = makeFolder(QStringLiteral("Muziek"), files);
    harness->open().show();
    QVERIFY(QTest::qWaitForWindowExposed(harness->window.get()));
    QVERIFY(harness->doubleClickFolder(QStringLiteral("Muziek")));
    QCOMPARE(harness->dirPath(), folder);
    QCOMPARE(harness->listed(), listed);
    QCOMPARE(harness->text(QStringLiteral("Label13")),
             QStringLiteral("Files : %1").arg(listed.size()));
    // List1 mirrors File1 entry for entry.
    QCOMPARE(harness->listed(), SystemFolderLister().mp3Files(folder, nullptr));
    QCOMPARE(harness->selectedRow(), -1);
    QVERIFY(harness->messages.shown.isEmpty());
}

void MainWindowBrowsingTest::enterOpensFolder()
{
    const QString folder = makeFolder(QStringLiteral("Muziek"), {"a.mp3"});
    harness->open().show();
    QVERIFY(QTest::qWaitForWindowExposed(harness->window.get()));
    auto *tree = harness->find<QTreeWidget>(QStringLiteral("Dir1"));
    tree->setFocus();
    QTreeWidgetItem *item = harness->folderItem(QStringLiteral("Muziek"));
    QVERIFY(item);
    tree->setCurrentItem(item);
    QCOMPARE(harness->listed(), QStringList()); // highlighting alone opens nothing
    QTest::keyClick(tree, Qt::Key_Return);
    QCOMPARE(harness->dirPath(), folder);
    QCOMPARE(harness->listed(), QStringList({"a.mp3"}));
}

void MainWindowBrowsingTest::folderTree()
{
    makeFolder(QStringLiteral("Muziek/Zeta"), {});
    makeFolder(QStringLiteral("Muziek/alpha"), {});
    makeFolder(QStringLiteral("Muziek/.verborgen"), {});
    harness->open();
    harness->window->openFolder(harness->dir.filePath(QStringLiteral("Muziek")));
    auto *tree = harness->find<QTreeWidget>(QStringLiteral("Dir1"));
    // From the root down to the current folder, then its subfolders.
    QStringList path;
    for (QTreeWidgetItem *item = tree->currentItem(); item; item = item->parent())
        path.prepend(item->text(0));
    QCOMPARE(path.first(), QStringLiteral("/"));
    QCOMPARE(QStringLiteral("/") + path.mid(1).join(QLatin1Char('/')),
             harness->dir.filePath(QStringLiteral("Muziek")));
    QStringList children;
    for (int i = 0; i < tree->currentItem()->childCount(); ++i)
        children.append(tree->currentItem()->child(i)->text(0));
    QCOMPARE(children, QStringList({"alpha", "Zeta"}));
}

void MainWindowBrowsingTest::vanishedFolder()
{
    makeFolder(QStringLiteral("Muziek"), {"a.mp3", "b.mp3"});
    const QString gone = makeFolder(QStringLiteral("Muziek/Weg"), {"old.mp3"});
    harness->open().show();
    QVERIFY(QTest::qWaitForWindowExposed(harness->window.get()));
    harness->window->openFolder(harness->dir.filePath(QStringLiteral("Muziek")));
    QCOMPARE(harness->listed().size(), 2);
    QVERIFY(QDir(gone).removeRecursively());
    QVERIFY(harness->doubleClickFolder(QStringLiteral("Weg")));
    // Never the previous folder's names under the new folder.
    QCOMPARE(harness->listed(), QStringList());
    QCOMPARE(harness->text(QStringLiteral("Label13")), QStringLiteral("Files : 0"));
    QVERIFY(harness->messages.shown.isEmpty());
}

void MainWindowBrowsingTest::driveChange()
{
    const QString stick = makeFolder(QStringLiteral("stick"), {"s.mp3"});
    harness->folders.fakeVolumes = {{"/", "/"}, {stick, "stick"}};
    harness->open();
    auto *drive = harness->find<QComboBox>(QStringLiteral("Drive1"));
    QCOMPARE(drive->count(), 2);
    makeFolder(QStringLiteral("stick/sub"), {});
    harness->window->openFolder(stick + QStringLiteral("/sub"));
    QCOMPARE(drive->currentIndex(), 1);

    // Another drive opens at its root.
    drive->setCurrentIndex(0);
    drive->activated(0);
    // The drive the program started from brings back the start folder.
    QCOMPARE(harness->dirPath(), harness->start);
    QCOMPARE(harness->listed(), QStringList({"start.mp3"}));
    drive->setCurrentIndex(1);
    drive->activated(1);
    QCOMPARE(harness->dirPath(), stick);
    QCOMPARE(harness->listed(), QStringList({"s.mp3"}));
    QCOMPARE(harness->text(QStringLiteral("Label13")), QStringLiteral("Files : 1"));
}

void MainWindowBrowsingTest::driveWithoutMedium()
{
    const QString cdrom = harness->dir.filePath(QStringLiteral("cdrom"));
    harness->folders.fakeVolumes = {{"/", "/"}, {cdrom, "cdrom"}};
    harness->folders.unreadable.insert(cdrom);
    const QString folder = makeFolder(QStringLiteral("Muziek"), {"a.mp3"});
    harness->open();
    harness->window->openFolder(folder);
    auto *drive = harness->find<QComboBox>(QStringLiteral("Drive1"));
    drive->setCurrentIndex(1);
    drive->activated(1);
    QCOMPARE(drive->currentIndex(), 1); // the drive list shows the choice
    QCOMPARE(harness->dirPath(), folder);
    QCOMPARE(harness->listed(), QStringList({"a.mp3"}));
    QVERIFY(harness->messages.shown.isEmpty());
}

void MainWindowBrowsingTest::tagKeptAcrossFolderChange()
{
    const QString first = makeFolder(QStringLiteral("Een"), {"song.mp3"});
    const QString second = makeFolder(QStringLiteral("Twee"), {"other.mp3"});
    harness->open().show();
    QVERIFY(QTest::qWaitForWindowExposed(harness->window.get()));
    harness->window->openFolder(first);
    harness->clickRow(0);
    QCOMPARE(harness->text(QStringLiteral("Text1")), QStringLiteral("song.mp3"));
    harness->window->openFolder(second);
    QCOMPARE(harness->listed(), QStringList({"other.mp3"}));
    QCOMPARE(harness->text(QStringLiteral("Text1")), QStringLiteral("song.mp3"));
    QCOMPARE(harness->window->selectedFilePath(), first + QStringLiteral("/song.mp3"));
    QCOMPARE(harness->window->selectedFolder(), first + QLatin1Char('/'));
    QCOMPARE(harness->selectedRow(), -1);
}

void MainWindowBrowsingTest::clearFieldsThenOpen()
{
    const QString folder = makeFolder(QStringLiteral("Een"), {"a.mp3", "b.mp3"});
    harness->open();
    harness->window->openFolder(folder);
    harness->window->clearFields();
    QCOMPARE(harness->listed(), QStringList());
    QCOMPARE(harness->text(QStringLiteral("Label13")), QStringLiteral("Files : 0"));
    QCOMPARE(harness->dirPath(), folder); // the folder list keeps its folder
    harness->window->openFolder(harness->start);
    QCOMPARE(harness->listed(), QStringList({"start.mp3"}));
}

void MainWindowBrowsingTest::folderArgument()
{
    const QString folder = makeFolder(QStringLiteral("Muziek"), {"a.mp3", "B.mp3"});
    harness->open();
    // A relative argument is taken from the start folder, as a shell gives it.
    harness->window->openFolder(QStringLiteral("Muziek/"));
    QCOMPARE(harness->dirPath(), folder);
    QCOMPARE(harness->listed(), QStringList({"a.mp3", "B.mp3"}));
    QCOMPARE(harness->text(QStringLiteral("Label13")), QStringLiteral("Files : 2"));
}

void MainWindowBrowsingTest::moreThan32767Files()
{
    const QString folder = makeFolder(QStringLiteral("Groot"), {});
    const int count = 33000;
    for (int i = 0; i < count; ++i) {
        QFile file(folder + QStringLiteral("/%1.mp3").arg(i, 5, 10, QLatin1Char('0')));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    harness->open();
    harness->window->openFolder(folder);
    QCOMPARE(harness->listed().size(), count);
    QCOMPARE(harness->listed().last(), QStringLiteral("32999.mp3"));
    QCOMPARE(harness->text(QStringLiteral("Label13")), QStringLiteral("Files : 33000"));
}

QTEST_MAIN(MainWindowBrowsingTest)
#include "tst_MainWindowBrowsing.moc"
