#include "core/intervaltimer.h"

#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <gtest/gtest.h>

// Each test schedules a change part-way through an interval and a precise "mark" between the
// moment the first tick is due without a restart and the earliest moment it could come after
// one. The order of tick and mark tells which happened, without measuring time: overdue timers
// fire in the order they were due, even on a loaded machine.
namespace {

class IntervalTimerTest : public ::testing::Test
{
protected:
    IntervalTimerTest()
    {
        timer.setOnTick([this] { events << QStringLiteral("tick"); });
    }

    void at(int milliseconds, std::function<void()> action)
    {
        QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, std::move(action));
    }
    void markAt(int milliseconds)
    {
        at(milliseconds, [this] { events << QStringLiteral("mark"); });
    }
    // Runs the event loop for `milliseconds`, then returns the events in the order they came.
    QStringList run(int milliseconds)
    {
        at(milliseconds, [this] { loop.quit(); });
        loop.exec();
        return events;
    }

    IntervalTimer timer;
    QEventLoop loop;
    QStringList events;
};

const QString kTick = QStringLiteral("tick");
const QString kMark = QStringLiteral("mark");

} // namespace

TEST_F(IntervalTimerTest, TicksRepeatedlyOnceEnabledWithAnInterval)
{
    timer.setInterval(100);
    EXPECT_FALSE(timer.isTicking());
    timer.setEnabled(true);
    EXPECT_TRUE(timer.isTicking());
    EXPECT_GE(run(1000).count(kTick), 2);
}

TEST_F(IntervalTimerTest, SameIntervalKeepsTheCountdown)
{
    timer.setInterval(400);
    timer.setEnabled(true);
    at(250, [this] { timer.setInterval(400); });
    markAt(560); // a restart at 250 could not tick before 630
    EXPECT_EQ(run(900).mid(0, 2), (QStringList{kTick, kMark}));
}

TEST_F(IntervalTimerTest, NewIntervalStartsAFullInterval)
{
    timer.setInterval(400);
    timer.setEnabled(true);
    at(300, [this] { timer.setInterval(500); });
    markAt(700); // due at 400 without a restart, not before 775 with one
    const QStringList events = run(1500);
    EXPECT_EQ(events.mid(0, 2), (QStringList{kMark, kTick}));
}

TEST_F(IntervalTimerTest, EnablingAnEnabledTimerKeepsTheCountdown)
{
    timer.setInterval(400);
    timer.setEnabled(true);
    at(250, [this] { timer.setEnabled(true); });
    markAt(560);
    EXPECT_EQ(run(900).mid(0, 2), (QStringList{kTick, kMark}));
}

TEST_F(IntervalTimerTest, EnablingADisabledTimerStartsAFullInterval)
{
    timer.setInterval(400);
    timer.setEnabled(true);
    at(250, [this] {
        timer.setEnabled(false);
        timer.setEnabled(true);
    });
    markAt(560);
    EXPECT_EQ(run(1200).mid(0, 2), (QStringList{kMark, kTick}));
}

TEST_F(IntervalTimerTest, DisabledOrZeroIntervalNeverTicks)
{
    timer.setEnabled(true);
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_FALSE(timer.isTicking());

    IntervalTimer disabled;
    int disabledTicks = 0;
    disabled.setOnTick([&disabledTicks] { ++disabledTicks; });
    disabled.setInterval(50);

    // Back to 0 after ticking: it must stop rather than fire on every pass of the loop.
    IntervalTimer stopped;
    int stoppedTicks = 0;
    stopped.setOnTick([&stoppedTicks] { ++stoppedTicks; });
    stopped.setInterval(50);
    stopped.setEnabled(true);
    int ticksBeforeZero = -1;
    at(200, [&] {
        ticksBeforeZero = stoppedTicks;
        stopped.setInterval(0);
    });

    EXPECT_TRUE(run(500).isEmpty());
    EXPECT_EQ(disabledTicks, 0);
    EXPECT_GT(ticksBeforeZero, 0);
    EXPECT_EQ(stoppedTicks, ticksBeforeZero);
    EXPECT_TRUE(stopped.isEnabled());
    EXPECT_FALSE(stopped.isTicking());
}
