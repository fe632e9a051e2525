#include "petty/register/period_ids.h"

#include <gtest/gtest.h>

#include "petty/register/period_test_support.h"

namespace petty {
namespace {

using testing::Voucher;

vb::DateTime at(int year, int month, int day, int hour, int minute, int second = 0) {
    return *vb::DateTime::fromParts(year, month, day, hour, minute, second);
}

class PeriodIdTest : public testing::RegisterBookTest {
protected:
    vb::FixedClock clock{at(2024, 5, 15, 14, 30, 42)};
    vb::ScopedClock useClock{clock};
};

TEST(PeriodIdAt, DigitsOfTheMinuteKeptWhole) {
    struct Case {
        vb::DateTime moment;
        PeriodId id;
    };
    const Case cases[] = {
        {at(2024, 5, 15, 14, 30, 59), 2405151430},
        {at(2009, 3, 5, 8, 7), 903050807},      // the year's leading zero drops: nine digits
        {at(2022, 1, 1, 0, 0), 2201010000},     // above 2^31 - 1
        {at(2099, 12, 31, 23, 59), 9912312359},
    };
    for (const Case& c : cases) EXPECT_EQ(periodIdAt(c.moment), c.id) << c.moment.toIsoDateTime();
}

TEST_F(PeriodIdTest, EmptyBookHasNoPeriodAndANewOneFromThePresentMinute) {
    EXPECT_EQ(getOpenPeriodId(db), 0);
    EXPECT_EQ(currentPeriodId(db), 0);
    EXPECT_EQ(getCurrentOrNewPeriodId(db), 2405151430);
    EXPECT_EQ(newPeriodId(db), 2405151430);  // computed only: the same until a row carries it
}

TEST_F(PeriodIdTest, ThreePeriodsOpenedInOneMinuteGetThreeIds) {
    PeriodId ids[3];
    for (PeriodId& id : ids) {
        id = newPeriodId(db);
        insert({.closed = "Yes", .termId = id});
    }
    EXPECT_EQ(ids[0], 2405151430);
    EXPECT_EQ(ids[1], 2405151431);
    EXPECT_EQ(ids[2], 2405151432);
}

TEST_F(PeriodIdTest, TakenIdsAreSkippedUntilAFreeOne) {
    insert({.closed = "Yes", .termId = int64_t{2405151430}});
    insert({.closed = "Yes", .termId = int64_t{2405151431}});
    insert({.closed = "Yes", .termId = int64_t{2405151433}});
    EXPECT_EQ(newPeriodId(db), 2405151432);
}

TEST_F(PeriodIdTest, OpenPeriodWinsOverNewAndClosedOnes) {
    clock.set(at(2022, 1, 1, 0, 0));
    insert({.closed = "Yes", .termId = int64_t{2112010000}});
    insert({.closed = "No", .termId = int64_t{2201010000}});
    EXPECT_EQ(getOpenPeriodId(db), 2201010000);
    EXPECT_EQ(currentPeriodId(db), 2201010000);
    EXPECT_EQ(getCurrentOrNewPeriodId(db), 2201010000);
}

TEST_F(PeriodIdTest, AllRowsClosedGiveTheLastClosedPeriodAsCurrent) {
    insert({.closed = "Yes", .termId = int64_t{2312010900}});
    insert({.closed = "Yes", .termId = int64_t{2401010900}});
    EXPECT_EQ(getOpenPeriodId(db), 0);
    EXPECT_EQ(currentPeriodId(db), 2401010900);
    EXPECT_EQ(getCurrentOrNewPeriodId(db), 2405151430);
}

TEST_F(PeriodIdTest, OpenRowsWithoutIdCountAsNoOpenPeriod) {
    for (const jet::Value& id : {jet::Value(), jet::Value(0)}) {
        SCOPED_TRACE(id.asText());
        db.execute("DELETE FROM pettycash");
        insert({.closed = "No", .termId = id});
        EXPECT_EQ(getOpenPeriodId(db), 0);
        EXPECT_EQ(currentPeriodId(db), 0);
        EXPECT_EQ(getCurrentOrNewPeriodId(db), 2405151430);
    }
}

}  // namespace
}  // namespace petty
