#include "AccessibleTree.h"
#include "ColourWindow.h"
#include "RenderCheck.h"
#include "TableRows.h"

#include <QtTest>
#include <QtWidgets>

class ColourWindowTest : public QObject {
    Q_OBJECT

    static QScrollBar *bar(QWidget &window, int i)
    {
        return window.findChild<QScrollBar *>(QStringLiteral("ColorScroll%1").arg(i));
    }
    BackgroundColour colour_;
    QVector<QColor> painted_;
    // Opened on a hand-edited file (clamped) or one read in part (the main
    // window follows); then each gesture on bar `index`, "value" and "press"
    // as assistive technology makes them.
    // clang-format off
    const struct { const char *name; BackgroundColour start; int index; QString gesture; QColor now; } rows_[10] = {
        {"opened, hand-edited", {300, -5, 12}, 1, "", {255, 0, 12}},
        {"opened, read in part", {10, 20, 190}, 1, "", {10, 20, 190}},
        {"blue key right", {}, 3, "key Right", {220, 220, 191}},
        {"red home", {}, 1, "key Home", {0, 220, 190}},
        {"red trough: one step", {}, 1, "trough", {219, 220, 190}},
        {"red dragged, painted when let go", {}, 1, "drag", {100, 220, 190}},
        {"green key home, then Ok: kept", {}, 2, "ok", {220, 0, 190}},
        {"reset", {3, 255, 0}, 2, "reset", {220, 220, 190}},
        {"blue set", {}, 3, "value 255", {220, 220, 255}},
        {"reset pressed", {3, 255, 0}, 2, "press", {220, 220, 190}}};
    // clang-format on

private Q_SLOTS:
    void looks()
    {
        ColourWindow window(colour_ = {}, {});
        QVERIFY(window.isModal() && window.minimumSize() == window.maximumSize());
        // The fixed colours stay whatever the background becomes; red is now 0.
        bar(window, 1)->triggerAction(QAbstractSlider::SliderToMinimum);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(LooksLikeReference(&window, QStringLiteral(REFERENCE_DIR "/colourwindow.png")));
    }

    void changes_data() { AddRows(rows_); }

    void changes()
    {
        const auto &[name, start, index, gesture, now] = CurrentRow(rows_);
        // The main window's ApplyBackground notes each colour it repaints in;
        // opening paints it in the colour the bars start at.
        painted_.clear();
        ColourWindow window(colour_ = start, [this] {
            painted_ << QColor(colour_.red, colour_.green, colour_.blue);
        });
        const QVector<QColor> opened = std::exchange(painted_, {});
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("CancelKnop"));
        QScrollBar *changed = bar(window, index);
        if (gesture.startsWith("key "))
            QTest::keyClick(changed, Qt::Key(QKeySequence(gesture.mid(4))[0].key()));
        else if (gesture == "trough")
            QTest::mouseClick(changed, Qt::LeftButton, {}, QPoint(30, changed->height() / 2));
        else if (gesture.startsWith("value "))
            accessible::Of(changed)->valueInterface()->setCurrentValue(gesture.mid(6).toInt());
        else if (gesture == "press") {
            QVERIFY(accessible::Act(window.findChild<QPushButton *>("ResetKnop"),
                                    QAccessibleActionInterface::pressAction()));
            QTRY_COMPARE(painted_.size(), 1);
        } else if (gesture == "reset")
            QTest::mouseClick(window.findChild<QPushButton *>("ResetKnop"), Qt::LeftButton);
        else if (gesture == "ok") { // nothing is restored on closing
            QTest::keyClick(changed, Qt::Key_Home);
            QTest::mouseClick(window.findChild<QPushButton *>("CancelKnop"), Qt::LeftButton);
            QVERIFY(window.result() == QDialog::Accepted && window.isHidden());
        } else if (gesture == "drag") {
            changed->setSliderDown(true);
            changed->setSliderPosition(100);
            QVERIFY(painted_.isEmpty() && colour_.red == 220);
            changed->setSliderDown(false);
        }
        // Colour, bars, value labels and the window's own face all show now.
        QCOMPARE(QColor(colour_.red, colour_.green, colour_.blue), now);
        const int values[] = {now.red(), now.green(), now.blue()};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(bar(window, i + 1)->value(), values[i]);
            QCOMPARE(window.findChild<QLabel *>(QStringLiteral("ColorLabel%1").arg(i + 1))->text(),
                     QStringLiteral("%1: %2").arg("RGB"[i]).arg(values[i]));
        }
        QCOMPARE(window.palette().color(QPalette::Window), now);
        // A screen reader hears the values shown and can name every control.
        QCOMPARE(accessible::NamesNotShown(&window) + accessible::Unnamed(&window), QString());
        // and repainted live, once per change.
        QCOMPARE(gesture.isEmpty() ? opened : painted_, QVector<QColor>{now});
        QCOMPARE(window.grab().toImage().pixelColor(4, 4), now); // as the user sees it
    }
};

QTEST_MAIN(ColourWindowTest)
#include "tst_colourwindow.moc"
