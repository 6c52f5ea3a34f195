// The dialogs of a running operation, and a real copy started from the
// window: the engine on its worker thread, the questions in front of the user.

#include "CopyFoldersWindow.h"
#include "FileIo.h"
#include "FolderEngine.h"
#include "OperationDialogs.h"
#include "ThreadedOperation.h"
#include "TreeFixture.h"
#include "WindowFakes.h"

#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace fakes;

namespace {
// Clicks the button with this text in the next modal box, as soon as one
// opens; gives up after a few seconds.
void AnswerNextBox(const QString &buttonText)
{
    auto *poll = new QTimer;
    auto *waited = new QElapsedTimer;
    waited->start();
    QObject::connect(poll, &QTimer::timeout, [=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box && waited->elapsed() < 5000)
            return;
        poll->deleteLater();
        delete waited;
        if (!box)
            return;
        for (QAbstractButton *button : box->buttons())
            if (button->text() == buttonText)
                return button->click();
        box->reject();
    });
    poll->start(10);
}
} // namespace

class OperationDialogsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void replaceQuestion_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<ConflictAnswer>("answer");
        QTest::newRow("replace") << "Replace" << ConflictAnswer::Replace;
        QTest::newRow("skip") << "Skip" << ConflictAnswer::Skip;
        QTest::newRow("replace all") << "Replace all" << ConflictAnswer::ReplaceAll;
        QTest::newRow("skip all") << "Skip all" << ConflictAnswer::SkipAll;
        QTest::newRow("cancel") << "Cancel" << ConflictAnswer::Cancel;
    }
    void replaceQuestion()
    {
        QFETCH(QString, button);
        QFETCH(ConflictAnswer, answer);
        Messages messages;
        QWidget owner;
        OperationDialogs dialogs(&owner, messages);
        AnswerNextBox(button);
        QVERIFY(dialogs.askReplace("/backup/album/a.mp3") == answer);
    }

    void errorQuestion_data()
    {
        QTest::addColumn<MessageAnswer>("given");
        QTest::addColumn<ErrorAnswer>("answer");
        QTest::newRow("retry") << MessageAnswer::Retry << ErrorAnswer::Retry;
        QTest::newRow("skip") << MessageAnswer::Skip << ErrorAnswer::Skip;
        QTest::newRow("cancel") << MessageAnswer::Cancel << ErrorAnswer::Cancel;
        QTest::newRow("closed box cancels") << MessageAnswer::Ok << ErrorAnswer::Cancel;
    }
    void errorQuestion()
    {
        QFETCH(MessageAnswer, given);
        QFETCH(ErrorAnswer, answer);
        Messages messages;
        messages.answer = given;
        OperationDialogs dialogs(nullptr, messages);
        QVERIFY(dialogs.askError("/music/a.mp3", "Input/output error") == answer);
        const MessageRequest &asked = messages.shown.first();
        QVERIFY(asked.buttons == MessageButtons::RetrySkipCancel);
        QVERIFY(asked.text.contains("/music/a.mp3"));
        QVERIFY(asked.text.contains("Input/output error"));
    }

    void createQuestion()
    {
        Messages messages;
        OperationDialogs dialogs(nullptr, messages);
        messages.answer = MessageAnswer::Yes;
        QVERIFY(dialogs.askCreateFolder("/backup/new"));
        messages.answer = MessageAnswer::No;
        QVERIFY(!dialogs.askCreateFolder("/backup/new"));
        QVERIFY(messages.shown.first().buttons == MessageButtons::YesNo);
        QVERIFY(messages.shown.first().text.contains("/backup/new"));
    }

    void progressText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("with name") << "song.mp3"
                                   << "song.mp3\n1.50 kB of 3.00 MB";
        QTest::newRow("simple") << ""
                                << "1.50 kB of 3.00 MB";
    }
    void progressText()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QCOMPARE(OperationDialogs::progressText({name, 1536, 3 * 1024 * 1024}), text);
    }

    void progressCancelAndEnd()
    {
        Messages messages;
        QWidget owner;
        owner.show();
        OperationDialogs dialogs(&owner, messages);
        QVERIFY(!owner.findChild<QProgressDialog *>("CopyProgress"));
        dialogs.showProgress({"song.mp3", 10, 100});
        auto *progress = owner.findChild<QProgressDialog *>("CopyProgress");
        QVERIFY(progress && progress->isVisible());
        QCOMPARE(progress->labelText(), OperationDialogs::progressText({"song.mp3", 10, 100}));
        QCOMPARE(progress->value(), 100);
        QVERIFY(!dialogs.cancelRequested());
        progress->findChild<QPushButton *>()->click();
        QVERIFY(dialogs.cancelRequested());
        dialogs.finished();
        QVERIFY(!owner.findChild<QProgressDialog *>("CopyProgress"));
    }

    void realCopyFromTheWindow()
    {
        QTemporaryDir temp;
        const QString source = temp.filePath("music/album");
        fixture::makeTree(source);
        fixture::writeFile(temp.filePath("backup/album/a.txt"), "old");
        const auto before = fixture::snapshot(source);
        FileIo io;
        FolderEngine engine(io);
        ThreadedOperation threaded(engine);
        Chooser chooser;
        chooser.answers = {source, temp.filePath("backup")};
        RecordingPauser pauser;
        Messages messages;
        CopyFolderPaths paths;
        CopyFoldersWindow window(paths, {},
                                 CopyFoldersServices{chooser, threaded, pauser, messages});
        window.show();
        window.findChild<QPushButton *>("Command1_0")->click();
        window.findChild<QPushButton *>("Command1_1")->click();
        AnswerNextBox("Replace all");
        window.findChild<QPushButton *>("Command2")->click();
        QCOMPARE(fixture::snapshot(temp.filePath("backup/album")), before);
        QCOMPARE(fixture::snapshot(source), before);
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(!window.findChild<QProgressDialog *>("CopyProgress"));
        QCOMPARE(pauser.pauses.size(), 1);
    }
};

QTEST_MAIN(OperationDialogsTest)
#include "tst_OperationDialogs.moc"
