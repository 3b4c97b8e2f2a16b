// Timers tick from the event loop at their interval; 0 or less means 1000.

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QTest>

#include "tabulo/widgets/timer.h"

namespace {

class TimerInterval : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(TimerInterval, ZeroOrLessBecomesOneSecond) {
    auto [given, expected] = GetParam();
    TTimer t(given);
    EXPECT_EQ(t.Interval(), expected);
    TTimer u;
    u.SetInterval(given);
    EXPECT_EQ(u.Interval(), expected);
}

INSTANTIATE_TEST_SUITE_P(Widgets, TimerInterval,
                         ::testing::Values(std::pair{0, 1000}, std::pair{-1, 1000},
                                           std::pair{-5000, 1000}, std::pair{1, 1},
                                           std::pair{250, 250}, std::pair{1000, 1000}));

TEST(Timer, TicksOnlyWhileEnabled) {
    TTimer t(10);
    int ticks = 0;
    t.OnTimer = [&](TTimer&) { ++ticks; };
    QTest::qWait(40);
    EXPECT_EQ(ticks, 0);
    t.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 5000));
    t.SetEnabled(false);
    const int stopped = ticks;
    QTest::qWait(50);
    EXPECT_EQ(ticks, stopped);
}

TEST(Timer, AZeroIntervalTimerWaitsAboutASecond) {
    TTimer t(0);
    int ticks = 0;
    t.OnTimer = [&](TTimer&) { ++ticks; };
    QElapsedTimer clock;
    clock.start();
    t.SetEnabled(true);
    QTest::qWait(300);
    EXPECT_EQ(ticks, 0);  // a 0 ms timer would have fired many times by now
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 1; }, 5000));
    EXPECT_GE(clock.elapsed(), 900);
}

TEST(Timer, AHandlerMayDisableItsOwnTimer) {
    TTimer t(5);
    int ticks = 0;
    t.OnTimer = [&](TTimer& self) {
        ++ticks;
        self.SetEnabled(false);
    };
    t.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 1; }, 5000));
    QTest::qWait(30);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(t.Enabled());
}

}  // namespace
