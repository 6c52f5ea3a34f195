// Start-up with the settings file, the clock and title line, "Velden leeg"
// and the settings written at close.
#include "EventLoopPauser.h"
#include "MainTexts.h"
#include "Mp3Files.h"
#include "PictureBox.h"
#include "WindowHarness.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLineEdit>
#include <QtTest>

class MainWindowLifecycleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void startWithoutSettings();
    void startWithSettings_data();
    void startWithSettings();
    void closeStoresColour_data();
    void closeStoresColour();
    void setBackgroundRepaintsEightSurfaces();
    void clockLabel();
    void titleKeptInLastSlots();
    void clockTicksDuringPause();
    void clearFields();

private:
    QColor surfaceColour(const char *name) const;
    std::unique_ptr<WindowHarness> harness;
};

namespace {
const char *const Surfaces[] = {"MainClient", "Frame1", "Frame2", "Frame3",
                                "Frame4",     "Frame5", "Frame6", "HelpFrame"};
const QByteArray DefaultFile = "\"Quarvel Software 2011\"\r\n\"--------------------------\"\r\n"
                               "220,220,190\r\n";
} // namespace

void MainWindowLifecycleTest::init()
{
    harness = std::make_unique<WindowHarness>();
}

void MainWindowLifecycleTest::cleanup()
{
    harness.reset();
}

QColor MainWindowLifecycleTest::surfaceColour(const char *name) const
{
    return harness->find<QWidget>(QString::fromLatin1(name))->palette().color(QPalette::Window);
}

void MainWindowLifecycleTest::startWithoutSettings()
{
    harness->open();
    for (const char *name : Surfaces)
        QCOMPARE(surfaceColour(name), QColor(220, 220, 190));
    QCOMPARE(Mp3Files::Read(harness->settingsPath), DefaultFile);
    QCOMPARE(harness->text(QStringLiteral("Label13")), QStringLiteral("Files : 0"));
}

void MainWindowLifecycleTest::startWithSettings_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QColor>("shown");
    QTest::addColumn<QByteArray>("rewritten"); // empty: left as it was
    const QByteArray head = "\"Quarvel Software 2011\"\r\n\"--------------------------\"\r\n";
    QTest::newRow("stored colour") << head + "10,20,30\r\n" << QColor(10, 20, 30) << QByteArray();
    QTest::newRow("three lines") << head + "10\r\n20\r\n30\r\n"
                                 << QColor(10, 20, 30) << QByteArray();
    QTest::newRow("only two lines") << head << QColor(220, 220, 190) << DefaultFile;
    QTest::newRow("blue too large") << head + "10,20,300\r\n"
                                    << QColor(220, 220, 190) << head + "10,20,190\r\n";
    QTest::newRow("red above 255 painted as 255") << head + "300,20,30\r\n"
                                                  << QColor(255, 20, 30) << QByteArray();
}

void MainWindowLifecycleTest::startWithSettings()
{
    QFETCH(QByteArray, file);
    QFETCH(QColor, shown);
    QFETCH(QByteArray, rewritten);
    QVERIFY(Mp3Files::Write(harness->settingsPath, file));
    harness->open();
    for (const char *name : Surfaces)
        QCOMPARE(surfaceColour(name), shown);
    QCOMPARE(Mp3Files::Read(harness->settingsPath), rewritten.isEmpty() ? file : rewritten);
}

void MainWindowLifecycleTest::closeStoresColour_data()
{
    QTest::addColumn<bool>("throughMenu");
    QTest::newRow("close box") << false;
    QTest::newRow("Bestand > Exit") << true;
}

void MainWindowLifecycleTest::closeStoresColour()
{
    QFETCH(bool, throughMenu);
    MainWindow &window = harness->open();
    window.show();
    window.setBackground({1, 2, 3});
    if (throughMenu)
        harness->find<QAction>(QStringLiteral("FileExit"))->trigger();
    else
        QVERIFY(window.close());
    QVERIFY(!window.isVisible());
    QCOMPARE(
        Mp3Files::Read(harness->settingsPath),
        QByteArray("\"Quarvel Software 2011\"\r\n\"--------------------------\"\r\n1,2,3\r\n"));
    // The next start opens in that colour.
    WindowHarness next;
    next.settingsPath = harness->settingsPath;
    next.open();
    QCOMPARE(next.window->background(), BackgroundColour({1, 2, 3}));
    QCOMPARE(next.find<QWidget>(QStringLiteral("Frame3"))->palette().color(QPalette::Window),
             QColor(1, 2, 3));
}

void MainWindowLifecycleTest::setBackgroundRepaintsEightSurfaces()
{
    MainWindow &window = harness->open();
    window.setBackground({12, 34, 56});
    QCOMPARE(window.background(), BackgroundColour({12, 34, 56}));
    for (const char *name : Surfaces)
        QCOMPARE(surfaceColour(name), QColor(12, 34, 56));
    // Nothing else takes the colour.
    QCOMPARE(surfaceColour("MenuPic"), QColor(130, 130, 0));
    QCOMPARE(harness->find<QWidget>(QStringLiteral("Text1"))->palette().color(QPalette::Base),
             QColor(250, 250, 190));
}

void MainWindowLifecycleTest::clockLabel()
{
    harness->open();
    harness->clock.time = QDateTime(QDate(2024, 3, 7), QTime(9, 5, 7));
    harness->window->tick();
    QCOMPARE(harness->text(QStringLiteral("KlokLabel")), QStringLiteral("9:05:07 "));
    harness->clock.time = QDateTime(QDate(2024, 3, 7), QTime(23, 59, 0));
    harness->window->tick();
    QCOMPARE(harness->text(QStringLiteral("KlokLabel")), QStringLiteral("23:59:00 "));
    auto *label = harness->find<QLabel>(QStringLiteral("KlokLabel"));
    QCOMPARE(label->size(), label->sizeHint());
}

void MainWindowLifecycleTest::titleKeptInLastSlots()
{
    harness->open();
    // Started at second 45: "Brelko" until the next minute begins.
    harness->clock.time = QDateTime(QDate(2024, 3, 7), QTime(10, 0, 45));
    harness->window->tick();
    QCOMPARE(harness->text(QStringLiteral("Label2")), QStringLiteral("Brelko"));
    harness->clock.time = QDateTime(QDate(2024, 3, 7), QTime(10, 0, 32));
    harness->window->tick();
    for (int second : {42, 50, 59}) {
        harness->clock.time = QDateTime(QDate(2024, 3, 7), QTime(10, 0, second));
        harness->window->tick();
        QCOMPARE(harness->text(QStringLiteral("Label2")), QString::fromLatin1(MakerHost));
    }
}

void MainWindowLifecycleTest::clockTicksDuringPause()
{
    harness->open().show();
    QVERIFY(QTest::qWaitForWindowExposed(harness->window.get()));
    harness->clock.advancing = true;
    harness->clock.readings = 0;
    QElapsedTimer timer;
    timer.start();
    EventLoopPauser().pause(0.6f);
    QVERIFY(timer.elapsed() >= 600);
    // Timer1 went on ticking every 100 ms while the pause lasted.
    QVERIFY2(harness->clock.readings >= 4, qPrintable(QString::number(harness->clock.readings)));
    QCOMPARE(harness->text(QStringLiteral("KlokLabel")),
             ClockText(harness->clock.time.addSecs(harness->clock.readings).time()));
}

void MainWindowLifecycleTest::clearFields()
{
    QVERIFY(Mp3Files::Write(harness->dir.filePath(QStringLiteral("a.mp3")),
                            Mp3Files::Audio(1) + Mp3Files::Trailer({"T", "A", "B", "Y", "C", 8})));
    harness->open().show();
    QVERIFY(QTest::qWaitForWindowExposed(harness->window.get()));
    harness->window->openFolder(harness->dir.path());
    harness->clickRow(0);
    harness->window->clearFields();

    QCOMPARE(harness->listed(), QStringList());
    QCOMPARE(harness->text(QStringLiteral("Label13")), QStringLiteral("Files : 0"));
    QCOMPARE(harness->text(QStringLiteral("Label3")), QStringLiteral("Bestand ..............: "));
    QCOMPARE(harness->text(QStringLiteral("Label4")), QStringLiteral("Date ...................: "));
    QCOMPARE(harness->text(QStringLiteral("Label5")), QStringLiteral("Pathname ...........: "));
    for (int i = 1; i <= 5; ++i)
        QCOMPARE(harness->text(QStringLiteral("Text%1").arg(i)), QString());
    QCOMPARE(harness->find<QComboBox>(QStringLiteral("Combo1"))->currentText(),
             QStringLiteral("Jazz"));
    QCOMPARE(harness->window->selectedFilePath(), QString());
    QCOMPARE(harness->window->selectedFolder(), QString());
    QCOMPARE(harness->window->tagMarker(), QStringLiteral("TAG"));
    QCOMPARE(harness->dirPath(), harness->dir.path());

    auto *pic = harness->find<PictureBox>(QStringLiteral("Pic"));
    QCOMPARE(pic->background(), QColor(Qt::black));
    QStringList texts;
    for (const PictureBox::Drawn &item : pic->drawn())
        texts.append(item.text);
    QCOMPARE(texts, QStringList({"Titel...... ", "Artiest... ", "Album... ", "Jaar...... ",
                                 "Info....... ", "Genre... ", ":", ":", ":", ":", ":", ":"}));
}

QTEST_MAIN(MainWindowLifecycleTest)
#include "tst_MainWindowLifecycle.moc"
