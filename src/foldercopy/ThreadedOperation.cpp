#include "ThreadedOperation.h"

#include "OperationUi.h"

#include <atomic>
#include <memory>
#include <optional>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QMutex>
#include <QThread>
#include <QTimer>

namespace {
// Stands in for the window's ui on the worker thread.
class Relay : public OperationUi {
public:
    Relay(OperationUi &ui, QObject &home) : ui_(ui), home_(home) {}

    ConflictAnswer askReplace(const QString &target) override
    {
        return onHome(ConflictAnswer::Cancel, [&] { return ui_.askReplace(target); });
    }
    ErrorAnswer askError(const QString &path, const QString &reason) override
    {
        return onHome(ErrorAnswer::Cancel, [&] { return ui_.askError(path, reason); });
    }
    bool askCreateFolder(const QString &path) override
    {
        return onHome(false, [&] { return ui_.askCreateFolder(path); });
    }
    void report(const QString &message) override
    {
        onHome(true, [&] {
            ui_.report(message);
            return true;
        });
    }
    void finished() override
    {
        onHome(true, [&] {
            ended_ = true;
            ui_.finished();
            return true;
        });
    }
    void showProgress(const OperationProgress &progress) override
    {
        QMutexLocker lock(&mutex_);
        latest_ = progress;
    }
    bool cancelRequested() override { return cancel_; }

    // On the home thread: shows the latest progress and picks up Cancel.
    void pump()
    {
        std::optional<OperationProgress> progress;
        {
            QMutexLocker lock(&mutex_);
            progress.swap(latest_);
        }
        if (progress && !ended_)
            ui_.showProgress(*progress);
        if (!ended_ && ui_.cancelRequested())
            cancel_ = true;
    }

    // On the home thread, when its event loop will not turn again: the work
    // is cancelled and every further question is answered with fallback.
    void stop()
    {
        stopped_ = true;
        cancel_ = true;
    }

private:
    template <typename Answer, typename Call> Answer onHome(Answer fallback, Call call)
    {
        Answer answer = fallback;
        if (!stopped_)
            QMetaObject::invokeMethod(
                &home_, [&] { answer = stopped_ ? fallback : call(); },
                Qt::BlockingQueuedConnection);
        return answer;
    }

    OperationUi &ui_;
    QObject &home_;
    QMutex mutex_;
    std::optional<OperationProgress> latest_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> stopped_{false};
    bool ended_ = false; // home thread only
};
} // namespace

qint32 ThreadedOperation::perform(const ShellRequest &request, OperationUi &ui)
{
    QObject home;
    Relay relay(ui, home);
    qint32 result = ResultCancelled;
    std::atomic<bool> done{false};
    std::unique_ptr<QThread> worker(QThread::create([&] {
        result = work_.perform(request, relay);
        done = true;
    }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, &home, [&] { relay.pump(); });
    poll.start();
    worker->start();
    loop.exec();
    // Unfinished work here means the program is quitting, and no event loop
    // of this thread turns again: waiting for the work as it is would wait
    // for ever on its next question. It is cancelled, and a question already
    // on its way is answered here.
    if (!done)
        relay.stop();
    while (!worker->wait(QDeadlineTimer(20)))
        QCoreApplication::sendPostedEvents(&home, QEvent::MetaCall);
    return result;
}
