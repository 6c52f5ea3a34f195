// Waiting with the event loop running.
#include "EventLoopPauser.h"
#include "TableRows.h"

#include <QtTest>

#include <ctime>

namespace {
// A pause, when the program quits (never when negative), and the least and
// most ticks of a 100 ms clock while it lasts.
// clang-format off
const struct { const char *name; float seconds; int quitAfterMs, minTicks, maxTicks; } kPauses[] = {
    {"nothing", 0, -1, 0, 0}, {"less than nothing", -1, -1, 0, 0}, {"running", 1, -1, 8, 11},
    {"quit during the pause", 1, 150, 1, 2}};
// clang-format on
} // namespace

class EventLoopPauserTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Last: once the program is quitting, no event loop of this run turns again.
    void pause_data() { AddRows(kPauses); }
    void pause()
    {
        const auto &[name, seconds, quitAfterMs, minTicks, maxTicks] = CurrentRow(kPauses);
        int ticks = 0;
        bool handled = false;
        QTimer clock;
        connect(&clock, &QTimer::timeout, this, [&ticks] { ++ticks; });
        clock.start(100);
        QTimer::singleShot(0, &clock, [&handled] { handled = true; });
        if (quitAfterMs >= 0)
            QTimer::singleShot(quitAfterMs, [] { QCoreApplication::exit(0); });
        QElapsedTimer timer;
        timer.start();
        const std::clock_t before = std::clock();
        EventLoopPauser().pause(seconds);
        const double cpuSeconds = double(std::clock() - before) / CLOCKS_PER_SEC;
        const qint64 least = seconds > 0 ? 1000 : 0, most = seconds > 0 ? 1500 : 50;
        QVERIFY2(timer.elapsed() >= least && timer.elapsed() < most,
                 qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(handled == (seconds > 0), "a pause of nothing handles no events");
        // The clock ticked while the pause lasted (until the quit), and the
        // wait slept instead of spinning a core, also after the quit.
        QVERIFY2(ticks >= minTicks && ticks <= maxTicks, qPrintable(QString::number(ticks)));
        QVERIFY2(cpuSeconds < 0.1, qPrintable(QString::number(cpuSeconds)));
    }
};

QTEST_GUILESS_MAIN(EventLoopPauserTest)
#include "tst_EventLoopPauser.moc"
