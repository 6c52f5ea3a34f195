// The copy window with its chooser, engine, pauser and message boxes
// replaced: what it shows, and what it hands the engine.

#include "CopyFoldersWindow.h"
#include "WindowFakes.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

using namespace fakes;

class CopyFoldersWindowTest : public QObject {
    Q_OBJECT

private:
    Chooser chooser_;
    Engine engine_;
    RecordingPauser pauser_;
    Messages messages_;
    CopyFolderPaths paths_;
    BackgroundColour colour_{10, 120, 230};

    std::unique_ptr<CopyFoldersWindow> open()
    {
        auto window = std::make_unique<CopyFoldersWindow>(
            paths_, colour_, CopyFoldersServices{chooser_, engine_, pauser_, messages_});
        window->show();
        return window;
    }
    template <typename T = QWidget> static T *control(QWidget *window, const char *name)
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    static void click(QWidget *window, const char *name)
    {
        QTest::mouseClick(control(window, name), Qt::LeftButton);
    }
    void choose(QWidget *window, const QString &source, const QString &destination)
    {
        chooser_.answers = {source, destination};
        click(window, "Command1_0");
        click(window, "Command1_1");
    }

private Q_SLOTS:
    void init()
    {
        chooser_ = {};
        engine_ = {};
        pauser_ = {};
        messages_ = {};
        paths_ = {};
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }

    void firstOpening()
    {
        paths_ = {"/earlier/source", "/earlier/target"};
        auto window = open();
        QCOMPARE(window->windowTitle(), QString(" Copy Folders"));
        QVERIFY(control<QLineEdit>(window.get(), "Text1")->text().isEmpty());
        QVERIFY(control<QLineEdit>(window.get(), "Text2")->text().isEmpty());
        QVERIFY(control<QRadioButton>(window.get(), "Option1_2")->isChecked());
        QVERIFY(!control<QRadioButton>(window.get(), "Option1_1")->isChecked());
        QCOMPARE(window->actionCode(), FO_COPY);
        for (int i = 0; i < 5; ++i)
            QVERIFY(!control<QCheckBox>(window.get(), qPrintable(QString("Check1_%1").arg(i)))
                         ->isChecked());
        QTRY_COMPARE(QApplication::focusWidget(), control(window.get(), "Text1"));
    }

    void userColour_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"CopyMap", "Frame1", "Frame2", "Frame3", "Option1_1", "Option1_2",
                                 "Check1_0", "Check1_1", "Check1_2", "Check1_3", "Check1_4"})
            QTest::newRow(name) << name;
    }
    void userColour()
    {
        QFETCH(QString, name);
        auto window = open();
        QWidget *widget =
            name == "CopyMap" ? window.get() : control(window.get(), qPrintable(name));
        QCOMPARE(widget->palette().color(QPalette::Window), QColor(10, 120, 230));
        QVERIFY(widget->autoFillBackground());
        // And it is what the screen shows.
        const QImage shot = widget->grab().toImage();
        QCOMPARE(QColor(shot.pixel(shot.width() - 2, 1)), QColor(10, 120, 230));
    }

    void fixedColours()
    {
        auto window = open();
        for (const char *name : {"Text1", "Text2"}) {
            const QPalette palette = control(window.get(), name)->palette();
            QCOMPARE(palette.color(QPalette::Base), QColor(200, 200, 230));
            QCOMPARE(palette.color(QPalette::Text), QColor(64, 64, 0));
        }
        for (const char *name : {"Label1", "Label2"})
            QCOMPARE(control(window.get(), name)->palette().color(QPalette::WindowText),
                     QColor(64, 64, 0));
        for (const char *name : {"Option1_1", "Check1_0", "Check1_4"})
            QCOMPARE(control(window.get(), name)->palette().color(QPalette::WindowText),
                     QColor(64, 64, 64));
        QCOMPARE(control(window.get(), "Frame2")->palette().color(QPalette::WindowText),
                 QColor(Qt::black));
        const QImage green = control(window.get(), "Command1_0")->grab().toImage();
        QCOMPARE(QColor(green.pixel(3, green.height() / 2)), QColor(192, 255, 192));
        const QImage red = control(window.get(), "Command3")->grab().toImage();
        QCOMPARE(QColor(red.pixel(3, red.height() / 2)), QColor(255, 192, 192));
        const QImage outline = control(window.get(), "Label6")->grab().toImage();
        QCOMPARE(QColor(outline.pixel(1, 1)), QColor(Qt::black));
    }

    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        const struct {
            const char *name;
            QRect twips;
        } places[] = {
            {"Frame1", {90, 0, 6930, 4830}},       {"Text1", {240, 540, 4500, 300}},
            {"Text2", {240, 1140, 4500, 300}},     {"Image1", {5490, 1770, 720, 720}},
            {"Frame2", {240, 1800, 4500, 900}},    {"Option1_1", {150, 270, 3300, 180}},
            {"Option1_2", {150, 540, 3300, 180}},  {"Frame3", {240, 3000, 4500, 1590}},
            {"Check1_0", {210, 330, 3600, 180}},   {"Check1_1", {210, 630, 3600, 180}},
            {"Check1_2", {210, 930, 3600, 180}},   {"Check1_3", {210, 1230, 3600, 180}},
            {"Label3", {5100, 465, 1500, 390}},    {"Command1_0", {5130, 495, 1440, 330}},
            {"Label4", {5100, 1065, 1500, 390}},   {"Command1_1", {5130, 1095, 1440, 330}},
            {"Check1_4", {5040, 2790, 1860, 180}}, {"Label5", {5100, 3600, 1500, 390}},
            {"Command2", {5130, 3630, 1440, 330}}, {"Label6", {5100, 4170, 1500, 390}},
            {"Command3", {5130, 4200, 1440, 330}},
        };
        for (const auto &place : places)
            QTest::newRow(place.name) << place.name << place.twips;
    }
    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        auto window = open();
        const QRect pixels(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
        const QRect shown = control(window.get(), qPrintable(name))->geometry();
        if (!name.startsWith("Option") && !name.startsWith("Check")) {
            QCOMPARE(shown, pixels);
            return;
        }
        // Option and check boxes grow around their middle line to show the
        // whole caption, and stay inside their frame.
        QCOMPARE(shown.left(), pixels.left());
        QVERIFY(qAbs(shown.center().y() - pixels.center().y()) <= 1);
        QVERIFY(shown.width() >= pixels.width() && shown.height() >= pixels.height());
        QVERIFY(shown.right() < control(window.get(), qPrintable(name))->parentWidget()->width());
        QVERIFY(shown.width() >= control(window.get(), qPrintable(name))->sizeHint().width() ||
                shown.right() >=
                    control(window.get(), qPrintable(name))->parentWidget()->width() - 3);
    }

    void labelsSitWhereTheyStart()
    {
        auto window = open();
        QCOMPARE(control(window.get(), "Label1")->pos(), QPoint(17, 20));
        QCOMPARE(control(window.get(), "Label2")->pos(), QPoint(18, 60));
    }

    void textsAndAccessibleNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("accessible");
        auto row = [](const char *name, const char *text, const char *accessible) {
            QTest::newRow(name) << name << text << accessible;
        };
        row("Label1", "Move or copy this folder", "");
        row("Label2", "And put it to...", "");
        row("Text1", "", "Move or copy this folder");
        row("Text2", "", "And put it to...");
        row("Frame2", " Action to Perform ", "Action to Perform");
        row("Frame3", " Options ", "Options");
        row("Option1_1", "Move Source Folder to Destination", "Move Source Folder to Destination");
        row("Option1_2", "Copy Source Folder to Destination", "Copy Source Folder to Destination");
        row("Check1_0", "Don't show operation (no copy dialog)",
            "Don't show operation (no copy dialog)");
        row("Check1_1", "Don't show filenames for multiple deletes",
            "Don't show filenames for multiple deletes");
        row("Check1_2", "Don't prompt for confirmation", "Don't prompt for confirmation");
        row("Check1_3", "Rename file if target name already exists",
            "Rename file if target name already exists");
        row("Check1_4", "Prompt me before", "Prompt me before");
        row("Command1_0", "Select Source", "Select Source");
        row("Command1_1", "Select Target", "Select Target");
        row("Command2", "Start Copy", "Start Copy");
        row("Command3", "Exit", "Exit");
    }
    void textsAndAccessibleNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, accessible);
        auto window = open();
        QWidget *widget = control(window.get(), qPrintable(name));
        QString shown;
        if (auto *label = qobject_cast<QLabel *>(widget))
            shown = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            shown = button->text();
        else if (auto *frame = qobject_cast<QGroupBox *>(widget))
            shown = frame->title();
        else if (auto *box = qobject_cast<QLineEdit *>(widget))
            shown = box->text();
        QCOMPARE(shown, text);
        if (!accessible.isEmpty())
            QCOMPARE(widget->accessibleName(), accessible);
    }

    void keyboardOrder()
    {
        auto window = open();
        QStringList order;
        QWidget *widget = control(window.get(), "Text1");
        do {
            if (widget->focusPolicy() & Qt::TabFocus)
                order << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != control(window.get(), "Text1"));
        QCOMPARE(order, QStringList({"Text1", "Text2", "Option1_1", "Option1_2", "Check1_0",
                                     "Check1_1", "Check1_2", "Check1_3", "Command1_0", "Command1_1",
                                     "Command2", "Command3", "Check1_4"}));
    }

    void chooserTitlesAndCancel()
    {
        auto window = open();
        choose(window.get(), "/music/a", "/backup");
        QCOMPARE(chooser_.titles, QStringList({"Select the SOURCE to move or copy:",
                                               "Select the folder DESTINATION:"}));
        // Cancelled choices change nothing.
        click(window.get(), "Command1_0");
        click(window.get(), "Command1_1");
        QCOMPARE(paths_.sourcePath, QString("/music/a"));
        QCOMPARE(paths_.destinationPath, QString("/backup"));
        QCOMPARE(control<QLineEdit>(window.get(), "Text1")->text(), QString("/music/a"));
        QCOMPARE(control<QLineEdit>(window.get(), "Text2")->text(), QString("/backup"));
    }

    void startHandsTheChosenFoldersOver_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<qint32>("action");
        QTest::addColumn<int>("flags");
        QTest::newRow("copy, nothing") << "Option1_2" << QStringList{} << FO_COPY << 0;
        QTest::newRow("move, all four")
            << "Option1_1" << QStringList{"Check1_0", "Check1_1", "Check1_2", "Check1_3"} << FO_MOVE
            << 0x011C;
        QTest::newRow("simple progress")
            << "Option1_2" << QStringList{"Check1_1"} << FO_COPY << 0x0100;
    }
    void startHandsTheChosenFoldersOver()
    {
        QFETCH(QString, option);
        QFETCH(QStringList, boxes);
        QFETCH(qint32, action);
        QFETCH(int, flags);
        auto window = open();
        choose(window.get(), "/music/a", "/backup");
        click(window.get(), qPrintable(option));
        for (const QString &box : boxes)
            click(window.get(), qPrintable(box));
        // Typing in the boxes changes nothing that is handed over.
        QTest::keyClicks(control(window.get(), "Text1"), "/elsewhere");
        click(window.get(), "Command2");
        click(window.get(), "Command2");
        const ShellRequest expected{action, "/music/a", "/backup", quint16(flags)};
        QCOMPARE(engine_.requests.size(), 2);
        QVERIFY(engine_.requests[0] == expected);
        QVERIFY(engine_.requests[1] == expected);
        QVERIFY(messages_.shown.isEmpty());
        QCOMPARE(pauser_.pauses, QList<float>({2.0f, 2.0f}));
    }

    void warningTextAndNo()
    {
        auto window = open();
        choose(window.get(), "/music/a", "/backup");
        click(window.get(), "Check1_4");
        messages_.answer = MessageAnswer::No;
        click(window.get(), "Command2");
        QCOMPARE(messages_.shown.size(), 1);
        const MessageRequest warning = messages_.shown.first();
        QCOMPARE(warning.text,
                 QString("You have chosen to move or copy the folder and contents of :\r\n"
                         "/music/a\r\n\r\nto the destination:\r\n/backup\r\n\r\n"
                         "Are you sure that you want to proceed with this action?"));
        QCOMPARE(warning.caption, QString("Warning"));
        QVERIFY(warning.buttons == MessageButtons::YesNo);
        QVERIFY(warning.icon == MessageIcon::Exclamation);
        QVERIFY(warning.defaultAnswer == MessageAnswer::Yes);
        QVERIFY(engine_.requests.isEmpty());
        QCOMPARE(pauser_.pauses.size(), 1);
        QCOMPARE(ProgramPointer(), Qt::ArrowCursor);
        messages_.answer = MessageAnswer::Yes;
        click(window.get(), "Command2");
        QCOMPARE(engine_.requests.size(), 1);
        QCOMPARE(messages_.shown[1].text, warning.text);
    }

    void pathsKeptAndOptionsResetAcrossOpenings()
    {
        {
            auto window = open();
            choose(window.get(), "/music/a", "/backup");
            click(window.get(), "Option1_1");
            click(window.get(), "Check1_2");
            QCOMPARE(window->actionCode(), FO_MOVE);
            click(window.get(), "Command3");
            QVERIFY(!window->isVisible());
        }
        auto window = open();
        QVERIFY(control<QLineEdit>(window.get(), "Text1")->text().isEmpty());
        QVERIFY(control<QRadioButton>(window.get(), "Option1_2")->isChecked());
        QVERIFY(!control<QCheckBox>(window.get(), "Check1_2")->isChecked());
        click(window.get(), "Check1_4");
        click(window.get(), "Command2");
        QVERIFY(messages_.shown.first().text.contains("\r\n/music/a\r\n"));
        QVERIFY(messages_.shown.first().text.contains("\r\n/backup\r\n"));
        QVERIFY(engine_.requests.first() == ShellRequest({FO_COPY, "/music/a", "/backup", 0}));
    }

    void hourglassUntilThePauseEnds()
    {
        auto window = open();
        choose(window.get(), "/music/a", "/backup");
        click(window.get(), "Command2");
        QCOMPARE(engine_.pointers, QList<Qt::CursorShape>({Qt::WaitCursor}));
        QCOMPARE(pauser_.pointers, QList<Qt::CursorShape>({Qt::WaitCursor}));
        QCOMPARE(ProgramPointer(), Qt::ArrowCursor);
        QVERIFY(QGuiApplication::overrideCursor()); // the plain arrow everywhere
        click(window.get(), "Command2");
        QCOMPARE(ProgramPointer(), Qt::ArrowCursor);
        QGuiApplication::restoreOverrideCursor();
        QVERIFY(!QGuiApplication::overrideCursor()); // one level, not one per run
    }

    void clickDuringThePauseIsHandled()
    {
        auto window = open();
        choose(window.get(), "/music/a", "/backup");
        pauser_.during = [&] {
            pauser_.during = nullptr;
            click(window.get(), "Command3");
        };
        click(window.get(), "Command2");
        QVERIFY(!window->isVisible());
        QCOMPARE(engine_.requests.size(), 1);
    }

    void opensModallyAndReturnsOnExit()
    {
        QTimer::singleShot(0, [] {
            QWidget *window = QApplication::activeModalWidget();
            QVERIFY(window && window->objectName() == "CopyMap");
            QTest::mouseClick(window->findChild<QWidget *>("Command3"), Qt::LeftButton);
        });
        ShowCopyFoldersWindow(nullptr, paths_, colour_,
                              CopyFoldersServices{chooser_, engine_, pauser_, messages_});
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(CopyFoldersWindowTest)
#include "tst_CopyFoldersWindow.moc"
