#include "ColourWindow.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Stands in for the main window: its eight background surfaces, painted
// by an ApplyBackground of its own, which also notes every call.
struct MainStandIn {
    explicit MainStandIn(BackgroundColour &colour) : colour(colour)
    {
        for (const char *name :
             {"Main", "Frame1", "Frame2", "Frame3", "Frame4", "Frame5", "Frame6", "HelpFrame"}) {
            auto *surface = new QFrame(&window);
            surface->setObjectName(QString::fromLatin1(name));
            surfaces.append(surface);
        }
    }
    std::function<void()> applyBackground()
    {
        return [this] {
            const QColor now(colour.red, colour.green, colour.blue);
            painted.append(now);
            if (dialog)
                ownBackgroundFirst.append(dialog->palette().color(QPalette::Window) == now);
            for (QFrame *surface : surfaces) {
                QPalette palette = surface->palette();
                palette.setColor(QPalette::Window, now);
                surface->setPalette(palette);
            }
        };
    }
    bool allSurfaces(const QColor &expected) const
    {
        return std::all_of(surfaces.begin(), surfaces.end(), [&](QFrame *surface) {
            return surface->palette().color(QPalette::Window) == expected;
        });
    }

    BackgroundColour &colour;
    QWidget window;
    QVector<QFrame *> surfaces;
    QVector<QColor> painted;
    QVector<bool> ownBackgroundFirst;
    QDialog *dialog = nullptr;
};

QScrollBar *bar(QWidget &window, int index)
{
    return window.findChild<QScrollBar *>(QStringLiteral("ColorScroll%1").arg(index));
}

QString label(QWidget &window, int index)
{
    return window.findChild<QLabel *>(QStringLiteral("ColorLabel%1").arg(index))->text();
}

QColor background(QWidget &window)
{
    return window.palette().color(QPalette::Window);
}

} // namespace

class ColourWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opens_data();
    void opens();
    void layout_data();
    void layout();
    void texts_data();
    void texts();
    void barChanges_data();
    void barChanges();
    void dragPaintsOnRelease();
    void reset_data();
    void reset();
    void okKeepsColourThroughTheSettingsFile();
    void keyboardOrder();
};

void ColourWindowTest::opens_data()
{
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QColor>("shown");
    QTest::newRow("default") << 220 << 220 << 190 << QStringList{"R: 220", "G: 220", "B: 190"}
                             << QColor(220, 220, 190);
    QTest::newRow("single digits")
        << 7 << 0 << 255 << QStringList{"R: 7", "G: 0", "B: 255"} << QColor(7, 0, 255);
    QTest::newRow("hand-edited, clamped")
        << 300 << -5 << 12 << QStringList{"R: 255", "G: 0", "B: 12"} << QColor(255, 0, 12);
}

void ColourWindowTest::opens()
{
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(QStringList, labels);
    QFETCH(QColor, shown);
    BackgroundColour colour{red, green, quint8(blue)};
    MainStandIn main(colour);
    ColourWindow window(colour, main.applyBackground(), &main.window);

    for (int i = 1; i <= 3; ++i)
        QCOMPARE(label(window, i), labels[i - 1]);
    QCOMPARE(bar(window, 1)->value(), shown.red());
    QCOMPARE(bar(window, 2)->value(), shown.green());
    QCOMPARE(bar(window, 3)->value(), shown.blue());
    QCOMPARE(QColor(colour.red, colour.green, colour.blue), shown);
    QCOMPARE(background(window), shown);
    // The main window is repainted only when clamping changed the colour.
    const bool clamped = red != shown.red() || green != shown.green();
    QCOMPARE(main.painted.size(), clamped ? 1 : 0);
    if (clamped)
        QVERIFY(main.allSurfaces(shown));
}

void ColourWindowTest::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels"); // twips / 15
    QTest::newRow("Label1") << "Label1" << QRect(16, 16, 116, 64);
    QTest::newRow("ColorScroll1") << "ColorScroll1" << QRect(18, 18, 112, 20);
    QTest::newRow("ColorScroll2") << "ColorScroll2" << QRect(18, 38, 112, 20);
    QTest::newRow("ColorScroll3") << "ColorScroll3" << QRect(18, 58, 112, 20);
    QTest::newRow("Label3") << "Label3" << QRect(16, 116, 62, 26);
    QTest::newRow("ResetKnop") << "ResetKnop" << QRect(18, 118, 58, 22);
    QTest::newRow("BackKnoppen") << "BackKnoppen" << QRect(200, 117, 60, 26);
    QTest::newRow("CancelKnop") << "CancelKnop" << QRect(202, 119, 56, 22);
    // Self-sizing labels: only their top-left corner is laid out.
    QTest::newRow("ColorLabel1") << "ColorLabel1" << QRect(139, 20, 0, 0);
    QTest::newRow("ColorLabel2") << "ColorLabel2" << QRect(139, 40, 0, 0);
    QTest::newRow("ColorLabel3") << "ColorLabel3" << QRect(139, 60, 0, 0);
    QTest::newRow("Label2") << "Label2" << QRect(18, 86, 0, 0);
    QTest::newRow("Label4") << "Label4" << QRect(84, 120, 0, 0);
}

void ColourWindowTest::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    BackgroundColour colour;
    ColourWindow window(colour, {});
    QWidget *control = window.findChild<QWidget *>(name);
    QVERIFY(control);
    if (pixels.size().isEmpty()) {
        QCOMPARE(control->pos(), pixels.topLeft());
        QCOMPARE(control->size(), control->sizeHint());
    } else {
        QCOMPARE(control->geometry(), pixels);
    }
    QCOMPARE(window.objectName(), QStringLiteral("Config"));
    QCOMPARE(window.windowTitle(), QStringLiteral(" Configuratie"));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(window.isModal());
    QVERIFY(
        !(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
}

void ColourWindowTest::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour"); // text colour, or the face of a button
    QTest::newRow("red value") << "ColorLabel1"
                               << "R: 0" << QColor(64, 0, 0);
    QTest::newRow("green value") << "ColorLabel2"
                                 << "G: 220" << QColor(0, 64, 0);
    QTest::newRow("blue value") << "ColorLabel3"
                                << "B: 190" << QColor(0, 0, 64);
    QTest::newRow("caption") << "Label2"
                             << "Achtergrondkleuren" << QColor(64, 64, 64);
    QTest::newRow("reset caption") << "Label4"
                                   << "Reset kleuren" << QColor(64, 64, 64);
    QTest::newRow("reset") << "ResetKnop"
                           << "Reset" << QColor(190, 220, 220);
    QTest::newRow("ok") << "CancelKnop"
                        << "Ok" << QColor(255, 224, 192);
}

void ColourWindowTest::texts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    BackgroundColour chosen;
    ColourWindow window(chosen, {});
    // The fixed colours stay whatever the background becomes.
    bar(window, 1)->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(background(window), QColor(0, 220, 190));

    if (auto *button = window.findChild<QPushButton *>(name)) {
        QCOMPARE(button->text(), text);
        QCOMPARE(button->accessibleName(), text);
        QCOMPARE(button->palette().color(QPalette::Button), colour);
        return;
    }
    auto *caption = window.findChild<QLabel *>(name);
    QVERIFY(caption);
    QCOMPARE(caption->text(), text);
    QCOMPARE(caption->palette().color(QPalette::WindowText), colour);
    QCOMPARE(caption->font().family(), QStringLiteral("Arial"));
    QCOMPARE(caption->font().pointSizeF(), 9.75);
    QVERIFY(!caption->autoFillBackground());
}

void ColourWindowTest::barChanges_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<int>("expected");
    QTest::newRow("red left arrow") << 1 << "left arrow" << 219;
    QTest::newRow("red trough left of the thumb") << 1 << "trough" << 219;
    QTest::newRow("green right arrow") << 2 << "right arrow" << 221;
    QTest::newRow("blue key right") << 3 << "key right" << 191;
    QTest::newRow("blue key left") << 3 << "key left" << 189;
    QTest::newRow("red to its start") << 1 << "key home" << 0;
    QTest::newRow("green to its end") << 2 << "key end" << 255;
    QTest::newRow("blue beyond its end") << 3 << "end, then right arrow" << 255;
}

void ColourWindowTest::barChanges()
{
    QFETCH(int, index);
    QFETCH(QString, gesture);
    QFETCH(int, expected);
    BackgroundColour colour;
    MainStandIn main(colour);
    ColourWindow window(colour, main.applyBackground(), &main.window);
    main.dialog = &window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QScrollBar *changed = bar(window, index);
    const int middle = changed->height() / 2;
    const int rightArrow = changed->width() - 4;
    if (gesture == "left arrow")
        QTest::mouseClick(changed, Qt::LeftButton, {}, QPoint(4, middle));
    else if (gesture == "right arrow")
        QTest::mouseClick(changed, Qt::LeftButton, {}, QPoint(rightArrow, middle));
    else if (gesture == "trough")
        QTest::mouseClick(changed, Qt::LeftButton, {}, QPoint(30, middle));
    else if (gesture == "key right")
        QTest::keyClick(changed, Qt::Key_Right);
    else if (gesture == "key left")
        QTest::keyClick(changed, Qt::Key_Left);
    else if (gesture == "key home")
        QTest::keyClick(changed, Qt::Key_Home);
    else if (gesture == "key end")
        QTest::keyClick(changed, Qt::Key_End);
    else {
        QTest::keyClick(changed, Qt::Key_End);
        QTest::mouseClick(changed, Qt::LeftButton, {}, QPoint(rightArrow, middle));
    }

    int values[] = {220, 220, 190};
    values[index - 1] = expected;
    const QColor now(values[0], values[1], values[2]);
    QCOMPARE(QColor(colour.red, colour.green, colour.blue), now);
    QCOMPARE(changed->value(), expected);
    QCOMPARE(label(window, index), QStringLiteral("%1: %2").arg("RGB"[index - 1]).arg(expected));
    QCOMPARE(background(window), now);
    QVERIFY(main.allSurfaces(now));
    QVERIFY(!main.painted.isEmpty());
    QCOMPARE(main.painted.last(), now);
    QVERIFY(!main.ownBackgroundFirst.contains(false));
    // What the user sees: the window's own face in the new colour, the black frame still black.
    const QImage seen = window.grab().toImage();
    QCOMPARE(seen.pixelColor(4, 4), now);
    QCOMPARE(seen.pixelColor(16, 50), QColor(Qt::black));
}

void ColourWindowTest::dragPaintsOnRelease()
{
    BackgroundColour colour;
    MainStandIn main(colour);
    ColourWindow window(colour, main.applyBackground());
    QScrollBar *red = bar(window, 1);
    red->setSliderDown(true);
    red->setSliderPosition(100);
    QCOMPARE(colour.red, 220);
    QCOMPARE(label(window, 1), QStringLiteral("R: 220"));
    QVERIFY(main.painted.isEmpty());
    red->setSliderDown(false);
    QCOMPARE(colour.red, 100);
    QCOMPARE(label(window, 1), QStringLiteral("R: 100"));
    QCOMPARE(main.painted, QVector<QColor>{QColor(100, 220, 190)});
}

void ColourWindowTest::reset_data()
{
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::newRow("after changes") << 3 << 255 << 0;
    QTest::newRow("already the default") << 220 << 220 << 190;
}

void ColourWindowTest::reset()
{
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    BackgroundColour colour{red, green, quint8(blue)};
    MainStandIn main(colour);
    ColourWindow window(colour, main.applyBackground());
    main.dialog = &window;
    QTest::mouseClick(window.findChild<QPushButton *>("ResetKnop"), Qt::LeftButton);

    const QColor beige(220, 220, 190);
    QCOMPARE(colour, (BackgroundColour{220, 220, 190}));
    QCOMPARE(bar(window, 1)->value(), 220);
    QCOMPARE(bar(window, 2)->value(), 220);
    QCOMPARE(bar(window, 3)->value(), 190);
    QCOMPARE(label(window, 1), QStringLiteral("R: 220"));
    QCOMPARE(label(window, 2), QStringLiteral("G: 220"));
    QCOMPARE(label(window, 3), QStringLiteral("B: 190"));
    QCOMPARE(background(window), beige);
    QCOMPARE(main.painted, QVector<QColor>{beige}); // painted again, once
    QCOMPARE(main.ownBackgroundFirst, QVector<bool>{true});
    QVERIFY(main.allSurfaces(beige));
}

void ColourWindowTest::okKeepsColourThroughTheSettingsFile()
{
    BackgroundColour colour;
    MainStandIn main(colour);
    {
        ColourWindow window(colour, main.applyBackground());
        bar(window, 2)->triggerAction(QAbstractSlider::SliderToMinimum);
        bar(window, 3)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QTest::mouseClick(window.findChild<QPushButton *>("CancelKnop"), Qt::LeftButton);
        QCOMPARE(window.result(), int(QDialog::Accepted));
    }
    const BackgroundColour chosen{220, 0, 191};
    QCOMPARE(colour, chosen); // nothing is restored on closing
    QVERIFY(main.allSurfaces(QColor(220, 0, 191)));

    ColourWindow again(colour, main.applyBackground());
    QCOMPARE(bar(again, 2)->value(), 0);
    QCOMPARE(bar(again, 3)->value(), 191);

    // At exit the main window stores the colour; the next start reads it.
    QTemporaryDir dir;
    const SettingsFile file(dir.filePath("Brelko.ini"));
    QVERIFY(WriteSettingsFile(file, colour));
    BackgroundColour nextStart;
    QVERIFY(ReadSettingsFile(file, nextStart));
    QCOMPARE(nextStart, chosen);
}

void ColourWindowTest::keyboardOrder()
{
    BackgroundColour colour;
    ColourWindow window(colour, {});
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("CancelKnop"));
    QStringList order;
    for (int i = 0; i < 5; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, (QStringList{"CancelKnop", "ColorScroll1", "ColorScroll2", "ColorScroll3",
                                 "ResetKnop"}));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("CancelKnop"));
    QCOMPARE(bar(window, 1)->accessibleName(), QStringLiteral("R"));
    QCOMPARE(bar(window, 2)->accessibleName(), QStringLiteral("G"));
    QCOMPARE(bar(window, 3)->accessibleName(), QStringLiteral("B"));
}

QTEST_MAIN(ColourWindowTest)
#include "tst_colourwindow.moc"
