// The copy window with its chooser, engine, pauser and message boxes
// replaced: what it shows, and what it hands the engine.

#include "AccessibleTree.h"
#include "CopyFoldersWindow.h"
#include "FileIo.h"
#include "FolderChooser.h"
#include "FolderEngine.h"
#include "MessageService.h"
#include "OperationDialogs.h"
#include "Pauser.h"
#include "RenderCheck.h"
#include "TestFiles.h"
#include "ThreadedOperation.h"
#include "TreeFixture.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <functional>

namespace {
Qt::CursorShape ProgramPointer()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

// Stand-ins for the services the window is given, recording what it asks.
struct Fakes : FolderChooser, FileOperation, Pauser, MessageService {
    QStringList chosen, titles;
    QList<ShellRequest> requests;
    QList<Qt::CursorShape> pointers; // at each start of the work and of the pause
    QList<float> pauses;
    std::function<void()> onPause;
    QList<MessageRequest> shown;
    MessageAnswer answer = MessageAnswer::Yes;

    QString chooseFolder(QWidget *, const QString &title) override
    {
        titles << title;
        return chosen.isEmpty() ? QString() : chosen.takeFirst();
    }
    qint32 perform(const ShellRequest &request, OperationUi &) override
    {
        requests << request;
        pointers << ProgramPointer();
        return ResultOk;
    }
    void pause(float seconds) override
    {
        pauses << seconds;
        pointers << ProgramPointer();
        if (onPause)
            onPause();
    }
    MessageAnswer show(QWidget *, const MessageRequest &request) override
    {
        shown << request;
        return answer;
    }
};

// The real system calls, with the copying slowed to a crawl until let go.
struct SlowIo : FileIo {
    std::atomic<bool> slow{true};
    ssize_t copyFileRange(int in, int out, size_t size) override
    {
        if (!slow)
            return FileIo::copyFileRange(in, out, size);
        QThread::msleep(5);
        return FileIo::copyFileRange(in, out, std::min(size, size_t(4096)));
    }
};
} // namespace

class CopyFoldersWindowTest : public QObject {
    Q_OBJECT

private:
    Fakes fakes_;
    CopyFolderPaths paths_;
    std::unique_ptr<CopyFoldersWindow> window_;

    void open(FileOperation *engine = nullptr)
    {
        window_ = std::make_unique<CopyFoldersWindow>(
            paths_, BackgroundColour{10, 120, 230},
            CopyFoldersServices{fakes_, engine ? *engine : fakes_, fakes_, fakes_});
        window_->show();
    }
    // What assistive technology does to a control.
    void act(const QString &name, const QString &action)
    {
        QVERIFY2(accessible::Act(control(name), action), qPrintable(name + ' ' + action));
    }
    template <typename T = QWidget> T *control(const QString &name)
    {
        T *found = window_->findChild<T *>(name);
        return found ? found : (qFatal("no control %s", qPrintable(name)), nullptr);
    }
    void click(const QString &name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    bool checked(const QString &name) { return control<QAbstractButton>(name)->isChecked(); }
    void choose(const QString &source, const QString &destination)
    {
        fakes_.chosen = {source, destination};
        click("Command1_0");
        click("Command1_1");
    }

private Q_SLOTS:
    void init()
    {
        fakes_ = {};
        paths_ = {};
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }

    void looks()
    {
        open();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QVERIFY(LooksLikeReference(window_.get(), QStringLiteral(REFERENCE_DIR "/copywindow.png")));
    }

    // Each opening starts afresh, but the chosen folders are kept for the run.
    void openingStateAndPathsKept()
    {
        for (int opening = 0; opening < 2; ++opening) {
            open();
            QCOMPARE(window_->windowTitle(), QString(" Copy Folders"));
            for (const char *box : {"Text1", "Text2"})
                QVERIFY(control<QLineEdit>(box)->text().isEmpty());
            QVERIFY(checked("Option1_2") && !checked("Option1_1"));
            for (int i = 0; i < 5; ++i)
                QVERIFY(!checked(QString("Check1_%1").arg(i)));
            QCOMPARE(window_->actionCode(), FO_COPY);
            QTRY_COMPARE(QApplication::focusWidget(), control("Text1"));
            choose(opening ? "" : "/music/a", opening ? "" : "/backup");
            for (const char *name : {"Option1_1", "Check1_0", "Check1_2", "Check1_4", "Command3"})
                click(name);
            QVERIFY(!window_->isVisible());
        }
        // "Prompt me before" names the kept folders; No skips the work but
        // not the pause.
        open();
        click("Check1_4");
        fakes_.answer = MessageAnswer::No;
        click("Command2");
        QCOMPARE(fakes_.shown.size(), 1);
        const MessageRequest warning = fakes_.shown.first();
        QCOMPARE(warning.text,
                 QString("You have chosen to move or copy the folder and contents of :\r\n"
                         "/music/a\r\n\r\nto the destination:\r\n/backup\r\n\r\n"
                         "Are you sure that you want to proceed with this action?"));
        QCOMPARE(warning.caption, QString("Warning"));
        QVERIFY(warning.buttons == MessageButtons::YesNo &&
                warning.icon == MessageIcon::Exclamation &&
                warning.defaultAnswer == MessageAnswer::Yes);
        QVERIFY(fakes_.requests.isEmpty() && ProgramPointer() == Qt::ArrowCursor);
        QCOMPARE(fakes_.pauses.size(), 1);
        fakes_.answer = MessageAnswer::Yes;
        click("Command2");
        QVERIFY(fakes_.requests.first() == ShellRequest({FO_COPY, "/music/a", "/backup", 0}));
    }

    // Choices made through the accessibility actions, or the keyboard, count
    // as clicks do: Start hands over what the window shows.
    void assistiveChoices_data()
    {
        QTest::addColumn<QStringList>("gestures"); // action or "key", then the control
        QTest::addColumn<qint32>("actionCode");
        QTest::addColumn<int>("flags");
        const QString toggle = QAccessibleActionInterface::toggleAction();
        QTest::newRow("move toggled") << QStringList{toggle, "Option1_1"} << FO_MOVE << 0;
        QTest::newRow("move by arrow key") << QStringList{"key", "Option1_2"} << FO_MOVE << 0;
        QTest::newRow("move, then copy toggled")
            << QStringList{toggle, "Option1_1", toggle, "Option1_2"} << FO_COPY << 0;
        QTest::newRow("options toggled")
            << QStringList{toggle,     "Check1_0", toggle,     "Check1_1", toggle,
                           "Check1_2", toggle,     "Check1_3", toggle,     "Check1_1"}
            << FO_COPY << 0x001C;
    }
    void assistiveChoices()
    {
        QFETCH(QStringList, gestures);
        QFETCH(qint32, actionCode);
        QFETCH(int, flags);
        open();
        QCOMPARE(accessible::Unnamed(window_.get()), QString());
        choose("/music/a", "/backup");
        for (int i = 0; i + 1 < gestures.size(); i += 2) {
            if (gestures[i] == "key") {
                QVERIFY(QTest::qWaitForWindowActive(window_.get()));
                control(gestures[i + 1])->setFocus();
                QTest::keyClick(control(gestures[i + 1]), Qt::Key_Up);
            } else
                act(gestures[i + 1], gestures[i]);
        }
        QCOMPARE(checked("Option1_1"), actionCode == FO_MOVE);
        act("Command2", QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(fakes_.requests.size(), 1);
        QVERIFY(fakes_.requests[0] ==
                ShellRequest({actionCode, "/music/a", "/backup", quint16(flags)}));
    }

    // Move chosen through the toggle action really moves the folder.
    void moveChosenByToggleMoves()
    {
        QTemporaryDir disk;
        const QString source = disk.filePath("music"), target = disk.filePath("backup");
        QVERIFY(QDir().mkpath(source + "/album") && QDir().mkpath(target));
        WriteFile(source + "/album/a.mp3", MpegFrames(3));
        FileIo io;
        FolderEngine engine(io);
        open(&engine);
        choose(source, target);
        act("Option1_1", QAccessibleActionInterface::toggleAction());
        act("Command2", QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(!QFileInfo::exists(source));
        QCOMPARE(ReadFile(target + "/music/album/a.mp3"), MpegFrames(3));
    }

    // The questions of a running operation are answered through the
    // accessibility actions of their buttons.
    void replaceQuestion_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        QTest::newRow("Replace") << "Replace" << int(ConflictAnswer::Replace);
        QTest::newRow("Skip all") << "Skip all" << int(ConflictAnswer::SkipAll);
        QTest::newRow("Cancel") << "Cancel" << int(ConflictAnswer::Cancel);
    }
    void replaceQuestion()
    {
        QFETCH(QString, button);
        QFETCH(int, answer);
        open();
        OperationDialogs dialogs(window_.get(), fakes_);
        accessible::ModalVisit visit;
        accessible::PressInNextModal(button, visit);
        QCOMPARE(int(dialogs.askReplace("/backup/a.mp3")), answer);
        QCOMPARE(visit.unnamed, QString());
        QCOMPARE(visit.unheard, QString());
    }

    // The progress dialog's text is what a screen reader hears, as it goes.
    void progressHeard()
    {
        open();
        OperationDialogs dialogs(window_.get(), fakes_);
        for (const OperationProgress &step :
             {OperationProgress{"a.mp3", 0, 4096}, OperationProgress{"b.mp3", 2048, 4096}}) {
            dialogs.showProgress(step);
            auto *progress = window_->findChild<QProgressDialog *>("CopyProgress");
            QVERIFY(progress && progress->labelText() == OperationDialogs::progressText(step));
            QCOMPARE(accessible::NamesNotShown(progress), QString());
            QCOMPARE(accessible::Unnamed(progress), QString());
        }
    }

    void startHandsTheChosenFoldersOver()
    {
        open();
        choose("/music/a", "/backup");
        QCOMPARE(fakes_.titles, QStringList({"Select the SOURCE to move or copy:",
                                             "Select the folder DESTINATION:"}));
        click("Command1_0"); // cancelled choices change nothing
        click("Command1_1");
        for (const char *name : {"Option1_1", "Check1_0", "Check1_1", "Check1_2", "Check1_3"})
            click(name);
        // Typing in the boxes changes nothing that is handed over.
        QTest::keyClicks(control("Text1"), "/elsewhere");
        click("Command2");
        click("Command2");
        QCOMPARE(fakes_.requests.size(), 2);
        const ShellRequest expected{FO_MOVE, "/music/a", "/backup", 0x011C};
        QVERIFY(fakes_.requests[0] == expected && fakes_.requests[1] == expected);
        QVERIFY(fakes_.shown.isEmpty());
        QCOMPARE(fakes_.pauses, QList<float>({2.0f, 2.0f}));
        // The hourglass shows from the start until the pause ends; then the
        // plain arrow everywhere, one level, not one per run.
        QCOMPARE(fakes_.pointers, QList<Qt::CursorShape>(4, Qt::WaitCursor));
        QVERIFY(ProgramPointer() == Qt::ArrowCursor && QGuiApplication::overrideCursor());
        QGuiApplication::restoreOverrideCursor();
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Last: once the program is quitting, no event loop of this run turns again.
    void waysOutDuringOperation_data()
    {
        QTest::addColumn<QString>("wayOut");
        QTest::addColumn<bool>("refused");
        for (const char *way : {"Escape", "close box", "Exit"})
            QTest::newRow(way) << way << true;
        QTest::newRow("program quits") << "quit" << false;
    }
    void waysOutDuringOperation()
    {
        QFETCH(QString, wayOut);
        QFETCH(bool, refused);
        QTemporaryDir dir;
        const QString source = dir.filePath("music"), target = dir.filePath("backup");
        fixture::makeTree(source);
        fixture::writeFile(source + "/sub/big.wav", fixture::pattern("big", 4 << 20));
        const auto before = fixture::snapshot(source);
        SlowIo io;
        FolderEngine engine(io);
        ThreadedOperation threaded(engine);
        window_ = std::make_unique<CopyFoldersWindow>(
            paths_, BackgroundColour{}, CopyFoldersServices{fakes_, threaded, fakes_, fakes_});
        fakes_.chosen = {source, target};
        bool shownDuringOperation = false;
        // Silent: no progress dialog, whose Escape would cancel the work.
        QTimer::singleShot(0, this, [&] {
            click("Check1_0");
            click("Command1_0");
            click("Command1_1");
            click("Command2");
        });
        QTimer::singleShot(300, this, [&] {
            if (wayOut == "Escape")
                QTest::keyClick(window_.get(), Qt::Key_Escape);
            else if (wayOut == "close box")
                window_->close();
            else if (wayOut == "Exit")
                click("Command3");
            else
                QCoreApplication::exit(0);
            shownDuringOperation = window_->isVisible();
            io.slow = false;
        });
        // Once the operation has ended, the window may go.
        fakes_.onPause = [&] { window_->close(); };
        window_->exec();
        QCOMPARE(fakes_.pauses.size(), 1);
        const auto copied = fixture::snapshot(target + "/music");
        if (refused) {
            QVERIFY(shownDuringOperation);
            QCOMPARE(copied, before);
            return;
        }
        // Quitting cancels: what was published is whole, and no temporary
        // file is left behind.
        QVERIFY(copied.size() < before.size());
        for (auto it = copied.cbegin(); it != copied.cend(); ++it)
            QCOMPARE(it.value(), before.value(it.key()));
        QCOMPARE(fixture::lostEntries(before, source, target + "/music"), QStringList());
    }
};

QTEST_MAIN(CopyFoldersWindowTest)
#include "tst_CopyFoldersWindow.moc"
