#include "platform/win/timers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/manual_timers.h"

namespace {

TEST(Timers, NoHostStartsNoTimer) {
    ASSERT_EQ(win::CurrentTimerHost(), nullptr);
    int ticks = 0;
    EXPECT_EQ(win::StartTimer(10, [&] { ++ticks; }), 0u);
    win::StopTimer(0);  // harmless
    EXPECT_EQ(ticks, 0);
}

TEST(Timers, TicksComeInTimeOrderAsOftenAsTheyFallDue) {
    win::ScopedManualTimers timers;
    std::vector<std::string> log;
    const uint64_t a = win::StartTimer(30, [&] { log.push_back("a@" + std::to_string(timers.now())); });
    const uint64_t b = win::StartTimer(20, [&] { log.push_back("b@" + std::to_string(timers.now())); });
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, a);
    timers.advance(19);
    EXPECT_TRUE(log.empty());
    timers.advance(61);  // to 80
    EXPECT_EQ(log, (std::vector<std::string>{"b@20", "a@30", "b@40", "a@60", "b@60", "b@80"}));
    win::StopTimer(b);
    log.clear();
    timers.advance(40);
    EXPECT_EQ(log, (std::vector<std::string>{"a@90", "a@120"}));
    EXPECT_EQ(timers.running(), 1u);
}

TEST(Timers, ATickMayStopItselfOrStartAnother) {
    win::ScopedManualTimers timers;
    int once = 0, later = 0;
    uint64_t self = 0;
    self = win::StartTimer(10, [&] {
        ++once;
        win::StopTimer(self);
        win::StartTimer(5, [&] { ++later; });
    });
    timers.advance(100);
    EXPECT_EQ(once, 1);
    EXPECT_EQ(later, 18);  // due at 15, 20, ... 100
    EXPECT_EQ(timers.intervalOf(self), 0u);
}

TEST(Timers, AZeroIntervalStillLetsTheClockMove) {
    win::ScopedManualTimers timers;
    int ticks = 0;
    win::StartTimer(0, [&] { ++ticks; });
    timers.advance(3);
    EXPECT_EQ(ticks, 3);
}

TEST(Timers, TheScopedHostPutsBackThePreviousOne) {
    {
        win::ScopedManualTimers outer;
        {
            win::ScopedManualTimers inner;
            EXPECT_EQ(win::CurrentTimerHost(), &inner);
        }
        EXPECT_EQ(win::CurrentTimerHost(), &outer);
    }
    EXPECT_EQ(win::CurrentTimerHost(), nullptr);
}

}  // namespace
