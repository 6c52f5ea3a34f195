#include "EventLoopPauser.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <cmath>

namespace {
void SleepUntil(const QDeadlineTimer &deadline)
{
    const qint64 nanoseconds = deadline.remainingTimeNSecs();
    if (nanoseconds > 0)
        QThread::usleep((unsigned long)((nanoseconds + 999) / 1000));
}
} // namespace

void EventLoopPauser::pause(float seconds)
{
    if (!(seconds > 0.0f))
        return;
    const auto nanoseconds = static_cast<qint64>(std::ceil(double(seconds) * 1e9));
    QDeadlineTimer deadline(std::chrono::nanoseconds(nanoseconds), Qt::PreciseTimer);
    if (!QCoreApplication::instance()) {
        SleepUntil(deadline);
        return;
    }
    while (!deadline.hasExpired()) {
        if (QCoreApplication::closingDown())
            return;
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        // Whole milliseconds, rounded up, so the loop never wakes just early.
        timer.start(int((deadline.remainingTimeNSecs() + 999999) / 1000000));
        loop.exec();
        // Once the program is quitting every event loop returns at once; the
        // rest of the wait is slept rather than spun through.
        if (timer.isActive()) {
            SleepUntil(deadline);
            return;
        }
    }
}
