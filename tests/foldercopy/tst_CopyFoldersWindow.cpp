// The copy window with its chooser, pauser and message boxes replaced: what
// it shows, what it hands the engine, and the real work that follows.

#include "AccessibleTree.h"
#include "CopyFoldersWindow.h"
#include "FakeServices.h"
#include "FolderChooser.h"
#include "FolderEngine.h"
#include "OperationDialogs.h"
#include "RenderCheck.h"
#include "ThreadedOperation.h"
#include "TreeFixture.h"

#include <QAbstractButton>
#include <QProgressDialog>

using namespace fixture;

namespace {
// clang-format off
// Silent (Check1_0) when leaving: no progress dialog, whose Escape would cancel the work.
const struct { const char *name; QString gestures; qint32 actionCode; quint16 flags; QString wayOut; } works[] = {
    {"move toggled", "Option1_1", FO_MOVE, 0, ""}, {"move by arrow key", "^Option1_2", FO_MOVE, 0, ""},
    {"move, then copy toggled", "Option1_1 Option1_2", FO_COPY, 0, ""},
    {"options toggled", "Check1_0 Check1_1 Check1_2 Check1_3 Check1_1", FO_COPY, 0x1C, ""},
    {"Escape", "Check1_0", FO_COPY, 4, "Escape"}, {"close box", "Check1_0", FO_COPY, 4, "close box"},
    {"Exit", "Check1_0", FO_COPY, 4, "Exit"}, {"program quits", "Check1_0", FO_COPY, 4, "program quits"}};
// clang-format on

Qt::CursorShape ProgramPointer()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

// Stand-ins for the services the window is given, recording what it asks.
struct Fakes : FolderChooser, FileOperation, FakePauser, FakeMessages {
    QStringList chosen;
    QList<ShellRequest> requests;
    QList<Qt::CursorShape> pointers; // at each start of the work and of the pause
    FileOperation *engine = nullptr; // does the work when set

    QString chooseFolder(QWidget *, const QString &) override
    {
        return chosen.isEmpty() ? QString() : chosen.takeFirst();
    }
    qint32 perform(const ShellRequest &request, OperationUi &ui) override
    {
        requests << request, pointers << ProgramPointer();
        return engine ? engine->perform(request, ui) : ResultOk;
    }
};

// The real system calls, with the copying slowed to a crawl until let go.
struct SlowIo : FileIo {
    std::atomic<bool> slow{true};
    ssize_t copyFileRange(int in, int out, size_t size) override
    {
        return slow ? (QThread::msleep(5), FileIo::copyFileRange(in, out, std::min(size, 4096ul)))
                    : FileIo::copyFileRange(in, out, size);
    }
};
} // namespace

class CopyFoldersWindowTest : public QObject {
    Q_OBJECT

private:
    Fakes fakes_;
    CopyFolderPaths paths_;
    std::unique_ptr<CopyFoldersWindow> window_;

    void open()
    {
        window_ = std::make_unique<CopyFoldersWindow>(
            paths_, BackgroundColour{10, 120, 230},
            CopyFoldersServices{fakes_, fakes_, fakes_, fakes_});
        window_->show();
    }
    // What assistive technology does to a control: press a button, toggle the others.
    void act(const QString &name)
    {
        QVERIFY2(accessible::Act(control(name), name.startsWith("Command")
                                                    ? QAccessibleActionInterface::pressAction()
                                                    : QAccessibleActionInterface::toggleAction()),
                 qPrintable(name));
    }
    QWidget *control(const QString &name) { return window_->findChild<QWidget *>(name); }
    void click(std::initializer_list<const char *> names)
    {
        for (const char *name : names)
            QTest::mouseClick(control(name), Qt::LeftButton);
    }
    void choose(const QString &source, const QString &destination)
    {
        fakes_.chosen = {source, destination};
        click({"Command1_0", "Command1_1"});
    }

private Q_SLOTS:
    void init()
    {
        fakes_ = {};
        fakes_.during = [this] { fakes_.pointers << ProgramPointer(); };
        paths_ = {};
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }

    // Start hands over the chosen folders and options, not what was typed;
    // a new opening starts afresh but keeps the folders for the run.
    void startHandsOverAndReopeningStartsAfresh()
    {
        open();
        choose("/music/a", "/backup");
        choose("", ""); // cancelled choices change nothing
        click({"Option1_1", "Check1_0", "Check1_1", "Check1_2", "Check1_3"});
        QTest::keyClicks(control("Text1"), "/elsewhere");
        click({"Command2", "Command2"});
        const ShellRequest expected{FO_MOVE, "/music/a", "/backup", 0x011C};
        QVERIFY(fakes_.requests == QList<ShellRequest>(2, expected) && fakes_.shown.isEmpty());
        QCOMPARE(fakes_.pauses, QList<float>({2.0f, 2.0f}));
        // The hourglass shows from the start until the pause ends; then the
        // plain arrow everywhere, one level, not one per run.
        QCOMPARE(fakes_.pointers, QList<Qt::CursorShape>(4, Qt::WaitCursor));
        QVERIFY(ProgramPointer() == Qt::ArrowCursor && QGuiApplication::overrideCursor());
        QGuiApplication::restoreOverrideCursor();
        QVERIFY(!QGuiApplication::overrideCursor());
        click({"Check1_4", "Command3"});
        QVERIFY(!window_->isVisible());

        open();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QVERIFY(LooksLikeReference(window_.get(), QStringLiteral(REFERENCE_DIR "/copywindow.png")));
        QTRY_COMPARE(QApplication::focusWidget(), control("Text1"));
        // "Prompt me before" names the kept folders; No skips the work but
        // not the pause.
        fakes_.answer = MessageAnswer::No;
        click({"Check1_4", "Command2"});
        QCOMPARE(fakes_.shown.size(), 1);
        QCOMPARE(fakes_.shown.first().text,
                 QString("You have chosen to move or copy the folder and contents of :\r\n"
                         "/music/a\r\n\r\nto the destination:\r\n/backup\r\n\r\n"
                         "Are you sure that you want to proceed with this action?"));
        QVERIFY(fakes_.requests.size() == 2 && fakes_.pauses.size() == 3 &&
                ProgramPointer() == Qt::ArrowCursor);
        fakes_.answer = MessageAnswer::Yes;
        click({"Command2"});
        QVERIFY(fakes_.requests.last() == ShellRequest({FO_COPY, "/music/a", "/backup", 0}));
    }

    // The questions of a running operation are answered through the
    // accessibility actions of their buttons, and the progress dialog's text
    // is what a screen reader hears, as it goes.
    void questionsAndProgressHeard()
    {
        open();
        OperationDialogs dialogs(window_.get(), fakes_);
        using A = ConflictAnswer;
        for (auto [button, answer] :
             {std::pair{"Replace", A::Replace}, {"Skip all", A::SkipAll}, {"Cancel", A::Cancel}}) {
            accessible::ModalVisit visit;
            accessible::PressInNextModal(button, visit);
            QCOMPARE(dialogs.askReplace("/backup/a.mp3"), answer);
            QCOMPARE(visit.unnamed + visit.unheard, QString());
        }
        for (const OperationProgress &step : {OperationProgress{"a.mp3", 0, 4096}, {"b", 2, 4}}) {
            dialogs.showProgress(step);
            auto *progress = window_->findChild<QProgressDialog *>("CopyProgress");
            QVERIFY(progress && progress->labelText().contains(step.currentName));
            QCOMPARE(accessible::NamesNotShown(progress) + accessible::Unnamed(progress),
                     QString());
        }
    }

    // Real work on a real folder. Choices made through the accessibility
    // actions, or the arrow key (^), count as clicks do: Start hands over what
    // the window shows. While the work runs the window refuses to go; the
    // program quitting cancels it (last: no event loop of this run turns again).
    void realWork_data() { Rows(works); }
    void realWork()
    {
        const auto &w = CurrentRow(works);
        QTemporaryDir dir;
        const QString source = dir.filePath("music"), target = dir.filePath("backup");
        makeTree(source);
        WriteFile(source + "/sub/big.wav", pattern("big", 4 << 20));
        QVERIFY(QDir().mkpath(target));
        const auto before = snapshot(source);
        SlowIo io;
        FolderEngine engine(io);
        ThreadedOperation threaded(engine);
        fakes_.engine = &threaded;
        open();
        QCOMPARE(accessible::Unnamed(window_.get()), QString());
        choose(source, target);
        for (const QString &gesture : w.gestures.split(' ')) {
            if (gesture.startsWith('^') && QTest::qWaitForWindowActive(window_.get())) {
                control(gesture.mid(1))->setFocus();
                QTest::keyClick(control(gesture.mid(1)), Qt::Key_Up);
            } else
                act(gesture);
        }
        QCOMPARE(qobject_cast<QAbstractButton *>(control("Option1_1"))->isChecked(),
                 w.actionCode == FO_MOVE);
        bool shownDuringOperation = false;
        QObject scope; // no timer outlives this run
        QTimer::singleShot(0, &scope, [&] { act("Command2"); });
        QTimer::singleShot(300, &scope, [&] {
            if (w.wayOut == "Escape")
                QTest::keyClick(window_.get(), Qt::Key_Escape);
            else if (w.wayOut == "close box")
                window_->close();
            else if (w.wayOut == "Exit")
                click({"Command3"});
            else if (w.wayOut == "program quits")
                QCoreApplication::exit(0);
            shownDuringOperation = window_->isVisible();
            io.slow = false;
        });
        // Once the operation has ended, the window may go.
        fakes_.during = [&] { window_->close(); };
        window_->exec();
        QVERIFY((fakes_.requests == QList<ShellRequest>{{w.actionCode, source, target, w.flags}}));
        QCOMPARE(fakes_.pauses.size(), 1);
        const auto copied = snapshot(target + "/music");
        QCOMPARE(lostEntries(before, source, target + "/music"), QStringList());
        QCOMPARE(QFileInfo::exists(source), w.actionCode == FO_COPY);
        // Everything arrives, or, when quitting cancels, part of it; what was
        // published is whole either way, and no temporary file is left behind.
        const bool quits = w.wayOut == "program quits";
        QVERIFY(shownDuringOperation || w.wayOut.isEmpty() || quits);
        QCOMPARE(copied.size() < before.size(), quits);
        for (auto it = copied.cbegin(); it != copied.cend(); ++it)
            QCOMPARE(it.value(), before.value(it.key()));
    }
};

QTEST_MAIN(CopyFoldersWindowTest)
#include "tst_CopyFoldersWindow.moc"
