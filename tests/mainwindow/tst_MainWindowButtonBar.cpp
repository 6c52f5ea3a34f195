// The five picture buttons with their press animation, and the menu items
// that launch things outside the program.
#include "MainTexts.h"
#include "Mp3Files.h"
#include "Twips.h"
#include "WindowHarness.h"

#include <QAction>
#include <QtTest>

class MainWindowButtonBarTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void pressAnimation_data();
    void pressAnimation();
    void twoButtonsInQuickSuccession();
    void sameButtonTwiceDuringItsPress();
    void clearFieldsButton();
    void windowButtons_data();
    void windowButtons();
    void printOnlyWithEntries();
    void softwarePage();
    void play_data();
    void play();

private:
    QWidget *knop(int index) const;
    void click(int index);
    std::unique_ptr<WindowHarness> harness;
};

void MainWindowButtonBarTest::init()
{
    harness = std::make_unique<WindowHarness>();
    harness->open().show();
    QVERIFY(QTest::qWaitForWindowExposed(harness->window.get()));
}

void MainWindowButtonBarTest::cleanup()
{
    harness.reset();
}

QWidget *MainWindowButtonBarTest::knop(int index) const
{
    return harness->find<QWidget>(QStringLiteral("Knop_%1").arg(index));
}

void MainWindowButtonBarTest::click(int index)
{
    QTest::mouseClick(knop(index), Qt::LeftButton);
}

static QPoint RestPosition(int index)
{
    return QPoint(Px(120 + 930 * index), Px(105));
}

void MainWindowButtonBarTest::pressAnimation_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < MainWindow::ButtonCount; ++i)
        QTest::addRow("Knop(%d)", i) << i;
}

void MainWindowButtonBarTest::pressAnimation()
{
    QFETCH(int, index);
    QPoint during;
    harness->pauser.during = [&] { during = knop(index)->pos(); };
    click(index);
    QCOMPARE(harness->pauser.pauses, QList<float>({0.2f}));
    QCOMPARE(during, QPoint(Px(120 + 930 * index + 30), Px(135)));
    QCOMPARE(knop(index)->pos(), RestPosition(index));
}

void MainWindowButtonBarTest::twoButtonsInQuickSuccession()
{
    // The second click arrives while the first one waits.
    bool nested = false;
    harness->pauser.during = [&] {
        if (nested)
            return;
        nested = true;
        click(3);
    };
    click(1);
    QCOMPARE(harness->pauser.pauses.size(), 2);
    for (int i = 0; i < MainWindow::ButtonCount; ++i)
        QCOMPARE(knop(i)->pos(), RestPosition(i));
}

void MainWindowButtonBarTest::sameButtonTwiceDuringItsPress()
{
    int depth = 0;
    harness->pauser.during = [&] {
        if (depth++ == 0)
            click(2);
    };
    click(2);
    QCOMPARE(harness->pauser.pauses.size(), 2);
    QCOMPARE(knop(2)->pos(), RestPosition(2));
}

void MainWindowButtonBarTest::clearFieldsButton()
{
    QVERIFY(Mp3Files::Write(harness->dir.filePath(QStringLiteral("a.mp3")),
                            Mp3Files::Audio(1) + Mp3Files::Trailer({"T"})));
    harness->window->openFolder(harness->dir.path());
    harness->clickRow(0);
    // The fields are still there while the button is down.
    QString titleDuringPress;
    harness->pauser.during = [&] { titleDuringPress = harness->text(QStringLiteral("Text1")); };
    click(0);
    QCOMPARE(titleDuringPress, QStringLiteral("T"));
    QCOMPARE(harness->text(QStringLiteral("Text1")), QString());
    QCOMPARE(harness->listed(), QStringList());
    QCOMPARE(harness->window->selectedFilePath(), QString());
}

void MainWindowButtonBarTest::windowButtons_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("colours") << 1;
    QTest::newRow("copy folders") << 2;
}

void MainWindowButtonBarTest::windowButtons()
{
    QFETCH(int, index);
    click(index); // nothing set yet: only the animation
    QCOMPARE(knop(index)->pos(), RestPosition(index));
    QPoint whenRun;
    int runs = 0;
    harness->window->setButtonAction(index, [&] {
        ++runs;
        whenRun = knop(index)->pos();
    });
    click(index);
    QCOMPARE(runs, 1);
    QCOMPARE(whenRun, RestPosition(index)); // the action starts with the button back
    click(index == 1 ? 2 : 1);
    QCOMPARE(runs, 1);
}

void MainWindowButtonBarTest::printOnlyWithEntries()
{
    int prints = 0;
    harness->window->setButtonAction(3, [&] { ++prints; });
    click(3);
    QCOMPARE(prints, 0);
    QVERIFY(Mp3Files::Write(harness->dir.filePath(QStringLiteral("a.mp3")), "x"));
    harness->window->openFolder(harness->dir.path());
    click(3); // entries, none selected: the report decides what to print
    QCOMPARE(prints, 1);
    harness->window->clearFields();
    click(3);
    QCOMPARE(prints, 1);
    QVERIFY(harness->messages.shown.isEmpty());
}

void MainWindowButtonBarTest::softwarePage()
{
    click(4);
    harness->find<QAction>(QStringLiteral("HelpMeerSoftware"))->trigger();
    QCOMPARE(harness->shell.opened, QStringList({SoftwarePageUrl(), SoftwarePageUrl()}));
    QCOMPARE(harness->pauser.pauses.size(), 1); // the menu has no animation
}

void MainWindowButtonBarTest::play_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("target"); // relative to the music folder; "-" for empty
    QTest::newRow("file selected") << "selected"
                                   << "b.mp3";
    QTest::newRow("after a change of folder") << "refilled"
                                              << "";
    QTest::newRow("after Velden leeg") << "cleared"
                                       << "-";
    QTest::newRow("before any click") << "start"
                                      << "-";
}

void MainWindowButtonBarTest::play()
{
    QFETCH(QString, state);
    QFETCH(QString, target);
    for (const char *name : {"a.mp3", "b.mp3"})
        QVERIFY(Mp3Files::Write(harness->dir.filePath(QString::fromLatin1(name)), "x"));
    harness->window->openFolder(harness->dir.path());
    if (state != QLatin1String("start"))
        harness->clickRow(1);
    if (state == QLatin1String("refilled"))
        harness->window->openFolder(harness->dir.path());
    if (state == QLatin1String("cleared"))
        harness->window->clearFields();
    QTest::keyClick(harness->window.get(), Qt::Key_F5);
    const QString expected =
        target == QLatin1String("-") ? QString() : harness->dir.path() + QLatin1Char('/') + target;
    QCOMPARE(harness->shell.opened, QStringList({expected}));
}

QTEST_MAIN(MainWindowButtonBarTest)
#include "tst_MainWindowButtonBar.moc"
