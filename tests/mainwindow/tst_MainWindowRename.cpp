// The two rename buttons: the chosen file renamed after title and artist.
#include "Mp3Files.h"
#include "WindowHarness.h"

#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

#include <unistd.h>

namespace {

int RunQuietly(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
               ? process.exitCode()
               : -1;
}

} // namespace

class MainWindowRenameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void rename_data();
    void rename();
    void emptyTitleOrArtist_data();
    void emptyTitleOrArtist();
    void existingTarget();
    void nothingSelected();
    void vanishedFile();
    void fileWithoutTrailer();
    void caseOnlyOnFat();

private:
    void openAt(const QString &folder, int row);
    void type(const QString &title, const QString &artist);
    void clickRename(int order);
    QStringList filesOnDisk(const QString &folder) const;
    std::unique_ptr<WindowHarness> harness;
};

void MainWindowRenameTest::init()
{
    harness = std::make_unique<WindowHarness>();
}

void MainWindowRenameTest::cleanup()
{
    harness.reset();
}

void MainWindowRenameTest::openAt(const QString &folder, int row)
{
    harness->open().show();
    QVERIFY(QTest::qWaitForWindowExposed(harness->window.get()));
    harness->window->openFolder(folder);
    if (row >= 0)
        harness->clickRow(row);
}

void MainWindowRenameTest::type(const QString &title, const QString &artist)
{
    harness->find<QLineEdit>(QStringLiteral("Text1"))->setText(title);
    harness->find<QLineEdit>(QStringLiteral("Text2"))->setText(artist);
}

void MainWindowRenameTest::clickRename(int order)
{
    QTest::mouseClick(harness->find<QPushButton>(QStringLiteral("RenameKnop_%1").arg(order)),
                      Qt::LeftButton);
}

QStringList MainWindowRenameTest::filesOnDisk(const QString &folder) const
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

void MainWindowRenameTest::rename_data()
{
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("newName"); // empty: the file keeps its name
    QTest::newRow("title - artist") << "x.mp3"
                                    << "Morning"
                                    << "Quartet" << 0 << "Morning - Quartet.mp3";
    QTest::newRow("artist - title") << "x.mp3"
                                    << "Morning"
                                    << "Quartet" << 1 << "Quartet - Morning.mp3";
    QTest::newRow("upper-case extension") << "x.MP3"
                                          << "T"
                                          << "A" << 0 << "T - A.mp3";
    QTest::newRow("blanks around trimmed") << "x.mp3"
                                           << "  T "
                                           << " A  " << 0 << "T - A.mp3";
    QTest::newRow("characters kept as typed")
        << "x.mp3"
        << "Wat? *Nu*"
        << "A: \"B\" <C>|" << 0 << "Wat? *Nu* - A: \"B\" <C>|.mp3";
    QTest::newRow("slash refused") << "x.mp3"
                                   << "../boven"
                                   << "A" << 0 << "";
    QTest::newRow("slash in artist refused") << "x.mp3"
                                             << "T"
                                             << "sub/dir" << 1 << "";
    QTest::newRow("backslash is a plain character") << "x.mp3"
                                                    << "a\\b"
                                                    << "C" << 0 << "a\\b - C.mp3";
}

void MainWindowRenameTest::rename()
{
    QFETCH(QString, oldName);
    QFETCH(QString, title);
    QFETCH(QString, artist);
    QFETCH(int, order);
    QFETCH(QString, newName);
    const QByteArray bytes = Mp3Files::Audio(1) + Mp3Files::Trailer({"T", "A"});
    QVERIFY(Mp3Files::Write(harness->dir.filePath(oldName), bytes));
    QVERIFY(QDir(harness->dir.path()).mkdir(QStringLiteral("sub")));
    openAt(harness->dir.path(), 0);
    harness->find<QLabel>(QStringLiteral("Label13"))->setText(QStringLiteral("marker"));
    type(title, artist);
    clickRename(order);

    const QString expected = newName.isEmpty() ? oldName : newName;
    QCOMPARE(filesOnDisk(harness->dir.path()), QStringList({expected}));
    QCOMPARE(Mp3Files::Read(harness->dir.filePath(expected)), bytes);
    QVERIFY(filesOnDisk(harness->dir.filePath(QStringLiteral("sub"))).isEmpty());
    QVERIFY(harness->messages.shown.isEmpty());
    // The list is rebuilt with nothing selected; the count and the view of
    // the old name stay.
    QCOMPARE(harness->listed(), QStringList({expected}));
    QCOMPARE(harness->selectedRow(), -1);
    QCOMPARE(harness->text(QStringLiteral("Label13")), QStringLiteral("marker"));
    QCOMPARE(harness->window->selectedFilePath(), harness->dir.filePath(oldName));
    QCOMPARE(harness->text(QStringLiteral("Label3")),
             QStringLiteral("Bestand ..............: ") + oldName);
}

void MainWindowRenameTest::emptyTitleOrArtist_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("artist");
    QTest::newRow("title of spaces") << "   "
                                     << "A";
    QTest::newRow("no artist") << "T"
                               << "";
}

void MainWindowRenameTest::emptyTitleOrArtist()
{
    QFETCH(QString, title);
    QFETCH(QString, artist);
    QVERIFY(Mp3Files::Write(harness->dir.filePath(QStringLiteral("x.mp3")), "x"));
    openAt(harness->dir.path(), 0);
    type(title, artist);
    clickRename(0);
    QCOMPARE(harness->messages.shown.size(), 1);
    const MessageRequest &error = harness->messages.shown.first();
    QCOMPARE(error.text, QStringLiteral("Titel en/of artiest niet ingevuld!"));
    QCOMPARE(error.caption, QStringLiteral("Error"));
    QCOMPARE(error.icon, MessageIcon::Critical);
    QCOMPARE(error.buttons, MessageButtons::Ok);
    QCOMPARE(filesOnDisk(harness->dir.path()), QStringList({"x.mp3"}));
    QVERIFY(harness->tagFiles.renames.isEmpty());
    QCOMPARE(harness->selectedRow(), 0); // nothing else happened, not even a refill
}

void MainWindowRenameTest::existingTarget()
{
    QVERIFY(Mp3Files::Write(harness->dir.filePath(QStringLiteral("T - A.mp3")), "other"));
    QVERIFY(Mp3Files::Write(harness->dir.filePath(QStringLiteral("x.mp3")), "mine"));
    openAt(harness->dir.path(), 1);
    QCOMPARE(harness->text(QStringLiteral("Label3")),
             QStringLiteral("Bestand ..............: x.mp3"));
    type(QStringLiteral("T"), QStringLiteral("A"));
    clickRename(0);
    QCOMPARE(Mp3Files::Read(harness->dir.filePath(QStringLiteral("T - A.mp3"))),
             QByteArray("other"));
    QCOMPARE(Mp3Files::Read(harness->dir.filePath(QStringLiteral("x.mp3"))), QByteArray("mine"));
    QVERIFY(harness->messages.shown.isEmpty());
    QCOMPARE(harness->listed(), QStringList({"T - A.mp3", "x.mp3"}));
    QCOMPARE(harness->selectedRow(), -1);
}

void MainWindowRenameTest::nothingSelected()
{
    QVERIFY(Mp3Files::Write(harness->dir.filePath(QStringLiteral("a.mp3")),
                            Mp3Files::Audio(1) + Mp3Files::Trailer({"T", "A"})));
    openAt(harness->dir.path(), 0);
    harness->window->openFolder(harness->dir.path()); // refill: no selection
    QVERIFY(Mp3Files::Write(harness->dir.filePath(QStringLiteral("b.mp3")), "new"));
    clickRename(0);
    QVERIFY(harness->tagFiles.renames.isEmpty());
    QCOMPARE(filesOnDisk(harness->dir.path()), QStringList({"a.mp3", "b.mp3"}));
    QCOMPARE(harness->listed(), QStringList({"a.mp3", "b.mp3"})); // but rebuilt
}

void MainWindowRenameTest::vanishedFile()
{
    QVERIFY(Mp3Files::Write(harness->dir.filePath(QStringLiteral("a.mp3")),
                            Mp3Files::Audio(1) + Mp3Files::Trailer({"T", "A"})));
    QVERIFY(Mp3Files::Write(harness->dir.filePath(QStringLiteral("b.mp3")), "b"));
    openAt(harness->dir.path(), 0);
    QVERIFY(QFile::remove(harness->dir.filePath(QStringLiteral("a.mp3"))));
    clickRename(0);
    QCOMPARE(filesOnDisk(harness->dir.path()), QStringList({"b.mp3"}));
    QCOMPARE(harness->listed(), QStringList({"b.mp3"}));
    QVERIFY(harness->messages.shown.isEmpty());
}

void MainWindowRenameTest::fileWithoutTrailer()
{
    QVERIFY(Mp3Files::Write(harness->dir.filePath(QStringLiteral("a.mp3")), Mp3Files::Audio(1)));
    openAt(harness->dir.path(), 0);
    harness->find<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("Kwartet"));
    clickRename(0);
    QCOMPARE(filesOnDisk(harness->dir.path()),
             QStringList({"No ID Version 1.1 Tag Found - Kwartet.mp3"}));
}

void MainWindowRenameTest::caseOnlyOnFat()
{
    const QString mkfs = QStandardPaths::findExecutable(
        QStringLiteral("mkfs.vfat"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    if (geteuid() != 0 || mkfs.isEmpty())
        QSKIP("needs root and mkfs.vfat to mount a FAT image");
    const QString image = harness->dir.filePath(QStringLiteral("fat.img"));
    const QString mountPoint = harness->dir.filePath(QStringLiteral("fat"));
    QVERIFY(QDir().mkpath(mountPoint));
    {
        QFile file(image);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(4 * 1024 * 1024));
    }
    QCOMPARE(RunQuietly(mkfs, {image}), 0);
    if (RunQuietly(QStringLiteral("mount"), {"-o", "loop", image, mountPoint}) != 0)
        QSKIP("this system cannot mount a FAT image (no vfat support or no loop device)");
    struct Unmount {
        QString at;
        ~Unmount() { RunQuietly(QStringLiteral("umount"), {at}); }
    } unmount{mountPoint};

    const QByteArray bytes = Mp3Files::Audio(1) + Mp3Files::Trailer({"Song", "Band"});
    QVERIFY(Mp3Files::Write(mountPoint + QStringLiteral("/Song - Band.MP3"), bytes));
    openAt(mountPoint, 0);
    clickRename(0);
    QCOMPARE(filesOnDisk(mountPoint), QStringList({"Song - Band.mp3"}));
    QCOMPARE(Mp3Files::Read(mountPoint + QStringLiteral("/Song - Band.mp3")), bytes);
}

QTEST_MAIN(MainWindowRenameTest)
#include "tst_MainWindowRename.moc"
