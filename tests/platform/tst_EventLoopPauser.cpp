// Waiting with the event loop running.
#include "EventLoopPauser.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <ctime>

class EventLoopPauserTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void zeroReturnsAtOnce()
    {
        for (float seconds : {0.0f, -1.0f}) {
            bool handled = false;
            QTimer::singleShot(0, this, [&handled] { handled = true; });
            QElapsedTimer timer;
            timer.start();
            EventLoopPauser().pause(seconds);
            QVERIFY(timer.elapsed() < 50);
            QVERIFY2(!handled, "a pause of nothing handles no events");
            QTest::qWait(10);
        }
    }

    // Last: once the program is quitting, no event loop of this run turns again.
    void pause_data()
    {
        QTest::addColumn<int>("quitAfterMs"); // never when negative
        QTest::addColumn<int>("minTicks");
        QTest::addColumn<int>("maxTicks");
        QTest::newRow("running") << -1 << 8 << 11;
        QTest::newRow("quit during the pause") << 150 << 1 << 2;
    }

    void pause()
    {
        QFETCH(int, quitAfterMs);
        QFETCH(int, minTicks);
        QFETCH(int, maxTicks);
        int ticks = 0;
        QTimer clock;
        connect(&clock, &QTimer::timeout, this, [&ticks] { ++ticks; });
        clock.start(100);
        if (quitAfterMs >= 0)
            QTimer::singleShot(quitAfterMs, [] { QCoreApplication::exit(0); });
        QElapsedTimer timer;
        timer.start();
        const std::clock_t before = std::clock();
        EventLoopPauser().pause(1.0f);
        const double cpuSeconds = double(std::clock() - before) / CLOCKS_PER_SEC;
        QVERIFY2(timer.elapsed() >= 1000 && timer.elapsed() < 1500,
                 qPrintable(QString::number(timer.elapsed())));
        // The 100 ms clock ticked while the pause lasted (until the quit),
        // and the wait slept instead of spinning a core, also after the quit.
        QVERIFY2(ticks >= minTicks && ticks <= maxTicks, qPrintable(QString::number(ticks)));
        QVERIFY2(cpuSeconds < 0.1, qPrintable(QString::number(cpuSeconds)));
    }
};

QTEST_GUILESS_MAIN(EventLoopPauserTest)
#include "tst_EventLoopPauser.moc"
