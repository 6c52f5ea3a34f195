#include "ThreadedOperation.h"

#include "OperationUi.h"

#include <atomic>
#include <memory>
#include <optional>
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
        return onHome([&] { return ui_.askReplace(target); });
    }
    ErrorAnswer askError(const QString &path, const QString &reason) override
    {
        return onHome([&] { return ui_.askError(path, reason); });
    }
    bool askCreateFolder(const QString &path) override
    {
        return onHome([&] { return ui_.askCreateFolder(path); });
    }
    void report(const QString &message) override
    {
        onHome([&] {
            ui_.report(message);
            return true;
        });
    }
    void finished() override
    {
        onHome([&] {
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

private:
    template <typename Call> auto onHome(Call call) -> decltype(call())
    {
        decltype(call()) answer{};
        QMetaObject::invokeMethod(
            &home_, [&] { answer = call(); }, Qt::BlockingQueuedConnection);
        return answer;
    }

    OperationUi &ui_;
    QObject &home_;
    QMutex mutex_;
    std::optional<OperationProgress> latest_;
    std::atomic<bool> cancel_{false};
    bool ended_ = false; // home thread only
};
} // namespace

qint32 ThreadedOperation::perform(const ShellRequest &request, OperationUi &ui)
{
    QObject home;
    Relay relay(ui, home);
    qint32 result = ResultCancelled;
    std::unique_ptr<QThread> worker(
        QThread::create([&] { result = work_.perform(request, relay); }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, &home, [&] { relay.pump(); });
    poll.start();
    worker->start();
    loop.exec();
    worker->wait();
    return result;
}
