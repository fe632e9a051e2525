#include "platform/vb/clock.h"

#include <gtest/gtest.h>

#include <ctime>

namespace vb {
namespace {

DateTime at(const char* iso) { return *DateTime::fromIso(iso); }

TEST(Clock, ScopedOverrideFeedsNowDateAndTimeThenRestores) {
    const Clock* before = &clock();
    FixedClock fixed(at("2026-12-10 09:05:59"));
    {
        ScopedClock scope(fixed);
        EXPECT_EQ(now(), at("2026-12-10 09:05:59"));
        EXPECT_EQ(today(), at("2026-12-10"));
        EXPECT_EQ(timeOfDay(), at("1899-12-30 09:05:59"));
        fixed.advance(std::chrono::seconds(1));
        EXPECT_EQ(now(), at("2026-12-10 09:06:00"));   // the minute turns
        fixed.set(at("2027-01-01 00:00:00"));
        EXPECT_EQ(today(), at("2027-01-01"));
        FixedClock inner(at("2030-06-01 12:00:00"));
        {
            ScopedClock nested(inner);
            EXPECT_EQ(now(), at("2030-06-01 12:00:00"));
        }
        EXPECT_EQ(now(), at("2027-01-01 00:00:00"));
    }
    EXPECT_EQ(&clock(), before);
}

TEST(Clock, SetClockNullPutsTheSystemClockBack) {
    FixedClock fixed(at("2001-02-03 04:05:06"));
    setClock(&fixed);
    EXPECT_EQ(now(), at("2001-02-03 04:05:06"));
    setClock(nullptr);
    EXPECT_NE(dynamic_cast<const SystemClock*>(&clock()), nullptr);
}

TEST(Clock, SystemClockGivesLocalTime) {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    const DateTime got = SystemClock().now();
    const DateTime expected = *DateTime::fromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                                   local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec);
    EXPECT_LE(expected, got);
    EXPECT_LE(got, expected.addSeconds(5));
}

}  // namespace
}  // namespace vb
