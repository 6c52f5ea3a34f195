// The worker thread: the work runs off the calling thread, every question
// and the end reach the window's thread, progress and Cancel get across.

#include "ThreadedOperation.h"
#include "TreeFixture.h"

namespace {
// Asks each question once, then reports progress until it is cancelled.
class ChattyOperation : public FileOperation {
public:
    QThread *ranOn = nullptr;
    QStringList answers;

    qint32 perform(const ShellRequest &, OperationUi &ui) override
    {
        ranOn = QThread::currentThread();
        answers << (ui.askCreateFolder("/x") ? "yes" : "no");
        answers << (ui.askReplace("/x/a") == ConflictAnswer::SkipAll ? "skip all" : "?");
        answers << (ui.askError("/x/b", "broken") == ErrorAnswer::Retry ? "retry" : "?");
        ui.report("left alone");
        for (qint64 done = 0; !ui.cancelRequested(); ++done) {
            ui.showProgress({"file", done, 1000});
            QThread::msleep(1);
        }
        ui.finished();
        return ResultCancelled;
    }
};
} // namespace

class ThreadedOperationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Last row: once the program is quitting, no event loop of this run turns
    // again: the work is cancelled, and its later questions answered with
    // Cancel instead of waiting for ever on a loop that has stopped.
    void questionsOnCallerThreadWorkOnWorker_data()
    {
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QString>("calls");
        QTest::newRow("running") << "yes,skip all,retry"
                                 << "create,replace,error,report,finished";
        QTest::newRow("program quits") << "yes,?,?"
                                       << "create";
    }
    void questionsOnCallerThreadWorkOnWorker()
    {
        QFETCH(QString, answers);
        QFETCH(QString, calls);
        const bool quit = QTest::currentDataTag() == QLatin1String("program quits");
        fixture::ScriptedUi ui;
        ui.conflictAnswers = {ConflictAnswer::SkipAll};
        ui.errorAnswers = {ErrorAnswer::Retry};
        if (quit)
            ui.onCreate = [] { QCoreApplication::exit(0); };
        ChattyOperation work;
        ThreadedOperation threaded(work);
        QTimer cancel; // as a window's button would, while the caller waits
        cancel.callOnTimeout([&] { ui.cancelAfterBytes = 0; });
        cancel.start(300);
        QCOMPARE(threaded.perform({}, ui), ResultCancelled);
        QVERIFY(work.ranOn && work.ranOn != QThread::currentThread());
        QCOMPARE(work.answers.join(','), answers);
        QCOMPARE(ui.calls.join(','), calls);
        QCOMPARE(ui.threads, QList<QThread *>(ui.threads.size(), QThread::currentThread()));
        // A few updates a second, not one per piece of work.
        QVERIFY2(quit || (!ui.progress.isEmpty() && ui.progress.size() < 50 &&
                          ui.progress.last().bytesDone > 0),
                 qPrintable(QString::number(ui.progress.size())));
    }
};

QTEST_GUILESS_MAIN(ThreadedOperationTest)
#include "tst_ThreadedOperation.moc"
