// Waiting with the event loop running.
#include "EventLoopPauser.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <ctime>

class EventLoopPauserTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void durationHeld_data();
    void durationHeld();
    void zeroReturnsAtOnce_data();
    void zeroReturnsAtOnce();
    void eventsHandledMeanwhile();
    void littleProcessorTime();
};

void EventLoopPauserTest::durationHeld_data()
{
    QTest::addColumn<float>("seconds");
    QTest::newRow("press animation") << 0.2f;
    QTest::newRow("half a second") << 0.5f;
}

void EventLoopPauserTest::durationHeld()
{
    QFETCH(float, seconds);
    EventLoopPauser pauser;
    QElapsedTimer timer;
    timer.start();
    pauser.pause(seconds);
    const qint64 elapsed = timer.nsecsElapsed();
    QVERIFY2(elapsed >= qint64(double(seconds) * 1e9), qPrintable(QString::number(elapsed)));
    QVERIFY2(elapsed < qint64(double(seconds) * 1e9) + 500000000LL,
             qPrintable(QString::number(elapsed)));
}

void EventLoopPauserTest::zeroReturnsAtOnce_data()
{
    QTest::addColumn<float>("seconds");
    QTest::newRow("zero") << 0.0f;
    QTest::newRow("negative") << -1.0f;
}

void EventLoopPauserTest::zeroReturnsAtOnce()
{
    QFETCH(float, seconds);
    bool handled = false;
    QTimer::singleShot(0, this, [&handled] { handled = true; });
    QElapsedTimer timer;
    timer.start();
    EventLoopPauser().pause(seconds);
    QVERIFY(timer.elapsed() < 50);
    QVERIFY2(!handled, "a pause of nothing handles no events");
    QTest::qWait(10);
}

void EventLoopPauserTest::eventsHandledMeanwhile()
{
    int ticks = 0;
    QTimer clock;
    connect(&clock, &QTimer::timeout, this, [&ticks] { ++ticks; });
    clock.start(100);
    EventLoopPauser().pause(1.0f);
    clock.stop();
    // The 100 ms clock ticks about ten times while the pause lasts.
    QVERIFY2(ticks >= 8 && ticks <= 11, qPrintable(QString::number(ticks)));
}

void EventLoopPauserTest::littleProcessorTime()
{
    const std::clock_t before = std::clock();
    EventLoopPauser().pause(1.0f);
    const double cpuSeconds = double(std::clock() - before) / CLOCKS_PER_SEC;
    // A spinning wait would use the whole second.
    QVERIFY2(cpuSeconds < 0.1, qPrintable(QString::number(cpuSeconds)));
}

QTEST_GUILESS_MAIN(EventLoopPauserTest)
#include "tst_EventLoopPauser.moc"
