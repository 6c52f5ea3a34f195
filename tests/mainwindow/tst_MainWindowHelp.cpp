// The help panel, shown and hidden by F1 and by the menu.
#include "ImageButton.h"
#include "Mp3Files.h"
#include "PictureBox.h"
#include "WindowHarness.h"

#include <QAction>
#include <QFrame>
#include <QPainter>
#include <QtTest>

class MainWindowHelpTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void toggle_data();
    void toggle();
    void contents();
    void legendPictures();
    void sameAgain();
    void tagViewUpdatedBehindHelp();

private:
    bool helpShown() const;
    std::unique_ptr<WindowHarness> harness;
};

void MainWindowHelpTest::init()
{
    harness = std::make_unique<WindowHarness>();
    harness->open().show();
    QVERIFY(QTest::qWaitForWindowExposed(harness->window.get()));
}

void MainWindowHelpTest::cleanup()
{
    harness.reset();
}

bool MainWindowHelpTest::helpShown() const
{
    const bool help = harness->find<QFrame>(QStringLiteral("HelpFrame"))->isVisible();
    const bool tags = harness->find<QFrame>(QStringLiteral("Frame4"))->isVisible();
    if (help == tags)
        qFatal("exactly one of the two panels must be in view");
    if (harness->find<QAction>(QStringLiteral("HelpHelp"))->isChecked() != help)
        qFatal("the check mark must follow the panel");
    return help;
}

void MainWindowHelpTest::toggle_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("F1") << true;
    QTest::newRow("menu") << false;
}

void MainWindowHelpTest::toggle()
{
    QFETCH(bool, byKey);
    auto press = [&] {
        if (byKey)
            QTest::keyClick(harness->window.get(), Qt::Key_F1);
        else
            harness->find<QAction>(QStringLiteral("HelpHelp"))->trigger();
    };
    QVERIFY(!helpShown());
    press();
    QVERIFY(helpShown());
    press();
    QVERIFY(!helpShown());
    press();
    QVERIFY(helpShown());
}

void MainWindowHelpTest::contents()
{
    QTest::keyClick(harness->window.get(), Qt::Key_F1);
    const auto &drawn = harness->find<PictureBox>(QStringLiteral("HelpPic"))->drawn();
    QCOMPARE(drawn.size(), 1 + 5 + 2 * 5);
    QCOMPARE(drawn[0].text, QStringLiteral("Uitleg Brelko"));
    QCOMPARE(drawn[0].position, QPoint(10, 10));
    QCOMPARE(drawn[0].pointSize, 12.0);
    QVERIFY(drawn[0].bold);
    QCOMPARE(drawn[0].colour, QColor(0, 120, 0));
    const QStringList steps = {
        "  1. Zoek m.b.v. het navigatiemenu mp3-files op uw computer op.",
        "  2. Selecteer in de lijst met gevonden mp3-files \u00e9\u00e9n bestand.",
        "  3. De tags (gegevens) zijn nu zichtbaar indien voorhanden.",
        "  4. Met de rode button (Update) kunt u de tags wijzigen.",
        "  5. Met de 2 groene buttons kunt u de bastandsnaam wijzigen."};
    for (int i = 0; i < 5; ++i) {
        const PictureBox::Drawn &step = drawn[1 + i];
        QCOMPARE(step.text, steps[i]);
        QCOMPARE(step.position, QPoint(10, 39 + 17 * i));
        QCOMPARE(step.pointSize, 10.0);
        QVERIFY(!step.bold);
        QCOMPARE(step.colour, QColor(100, 100, 0));
    }
    const QStringList legend = {"Alle velden leegmaken", "Achtergrondkleuren wijzigen",
                                "Copyeren of verplaatsen van folders inclusief bestanden",
                                "Afdrukken van de tags", "Website met veel meer gratis software"};
    const QPoint pictures[] = {{20, 140}, {50, 170}, {20, 200}, {50, 230}, {20, 260}};
    for (int i = 0; i < 5; ++i) {
        const PictureBox::Drawn &picture = drawn[6 + 2 * i];
        const PictureBox::Drawn &text = drawn[7 + 2 * i];
        QCOMPARE(picture.position, pictures[i]);
        QCOMPARE(picture.pictureSize, QSize(32, 32));
        QCOMPARE(text.text, legend[i]);
        QCOMPARE(text.position, pictures[i] + QPoint(40, 8));
        QCOMPARE(text.colour, QColor(200, 0, 0));
        QCOMPARE(text.pointSize, 10.0);
        QVERIFY(!text.bold);
    }
}

void MainWindowHelpTest::legendPictures()
{
    harness->window->setBackground({10, 100, 10});
    QTest::keyClick(harness->window.get(), Qt::Key_F1);
    auto *help = harness->find<PictureBox>(QStringLiteral("HelpPic"));
    // The panel keeps the desktop's window colour, not the user's.
    QCOMPARE(help->background(), QApplication::palette().color(QPalette::Base));
    const QPoint corners[] = {{20, 140}, {50, 170}, {20, 200}, {50, 230}, {20, 260}};
    for (int i = 0; i < 5; ++i) {
        // The button's own picture, drawn at two thirds on the panel's colour.
        QImage expected(32, 32, QImage::Format_RGB32);
        expected.fill(help->background());
        QPainter painter(&expected);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(0, 0, 32, 32),
                          harness->find<ImageButton>(QStringLiteral("Knop_%1").arg(i))->picture());
        painter.end();
        // Neighbouring rows overlap by two pixels at the corners.
        QCOMPARE(help->surface().copy(QRect(corners[i] + QPoint(2, 2), QSize(28, 28))),
                 expected.copy(2, 2, 28, 28));
    }
}

void MainWindowHelpTest::sameAgain()
{
    QTest::keyClick(harness->window.get(), Qt::Key_F1);
    const QImage first = harness->find<PictureBox>(QStringLiteral("HelpPic"))->surface();
    QTest::keyClick(harness->window.get(), Qt::Key_F1);
    QTest::keyClick(harness->window.get(), Qt::Key_F1);
    QCOMPARE(harness->find<PictureBox>(QStringLiteral("HelpPic"))->surface(), first);
    // What is on screen is that surface.
    const QImage onScreen = harness->find<PictureBox>(QStringLiteral("HelpPic"))->grab().toImage();
    QCOMPARE(onScreen.convertToFormat(QImage::Format_RGB32).copy(0, 0, 200, 40),
             first.copy(0, 0, 200, 40));
}

void MainWindowHelpTest::tagViewUpdatedBehindHelp()
{
    QVERIFY(Mp3Files::Write(harness->dir.filePath(QStringLiteral("a.mp3")),
                            Mp3Files::Audio(1) + Mp3Files::Trailer({"Een"})));
    harness->window->openFolder(harness->dir.path());
    QTest::keyClick(harness->window.get(), Qt::Key_F1);
    harness->clickRow(0);
    QVERIFY(helpShown());
    QCOMPARE(harness->text(QStringLiteral("Text1")), QStringLiteral("Een"));
    QCOMPARE(harness->find<PictureBox>(QStringLiteral("Pic"))->background(), QColor(Qt::black));
}

QTEST_MAIN(MainWindowHelpTest)
#include "tst_MainWindowHelp.moc"
