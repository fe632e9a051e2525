#include "platform/vb/date_time.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

TEST(DateTime, IsoTextRoundTripsAndOrdersChronologically) {
    auto a = DateTime::fromIso("2026-02-28 23:59:59");
    auto b = DateTime::fromIso("2026-03-01");
    ASSERT_TRUE(a && b);
    EXPECT_LT(*a, *b);
    EXPECT_EQ(a->toIsoDateTime(), "2026-02-28 23:59:59");
    EXPECT_EQ(b->toIsoDateTime(), "2026-03-01 00:00:00");
    EXPECT_EQ(a->daysUntil(*b), 1);
    EXPECT_EQ(a->addSeconds(1), *b);
    EXPECT_EQ(DateTime::fromIso("2024-02-29T07:08:09")->toHms(), "07:08:09");
}

TEST(DateTime, RefusesImpossibleDatesAndMalformedText) {
    for (const char* bad : {"2026-02-29", "2026-13-01", "2026-1-01", "2026-01-01 24:00:00",
                            "2026-01-01 10:00", "", "2026-01-01x"}) {
        EXPECT_FALSE(DateTime::fromIso(bad)) << bad;
    }
    EXPECT_FALSE(DateTime::fromParts(2026, 4, 31));
}

TEST(DateTime, WeekdayCountsFromSunday) {
    EXPECT_EQ(DateTime::fromIso("2026-12-06")->weekday(), 1);  // a Sunday
    EXPECT_EQ(DateTime::fromIso("2026-12-12")->weekday(), 7);
}

TEST(DateTime, SplitsIntoDateAndTimeOfDay) {
    const DateTime t = *DateTime::fromIso("2026-12-10 09:05:07");
    EXPECT_EQ(t.dateOnly().toIsoDateTime(), "2026-12-10 00:00:00");
    EXPECT_EQ(t.timeOnly().toIsoDateTime(), "1899-12-30 09:05:07");
    EXPECT_TRUE(t.hasTime());
    EXPECT_FALSE(t.dateOnly().hasTime());
    EXPECT_TRUE(DateTime::fromIso("2026-12-10 00:00:01")->hasTime());
}

}  // namespace
}  // namespace vb
