#include "petty/register/carryover_date.h"

#include <gtest/gtest.h>

#include "petty/register/period_test_support.h"

namespace petty {
namespace {

class CarryoverDateTest : public testing::RegisterBookTest {
protected:
    static vb::DateTime at(int day, int hour, int minute) { return *vb::DateTime::fromParts(2024, 5, day, hour, minute, 0); }
    void carryover(int64_t period) {
        testing::Voucher v;
        v.transType = "Carryover";
        v.time = "09:00:00";  // 15 May 2024
        v.termId = period;
        insert(v);
    }
};

TEST_F(CarryoverDateTest, OnlyAMomentBeforeThePeriodsOwnCarryoverIsRefused) {
    insert({.date = "2024-05-10"});  // an ordinary voucher of the period before its carry-over: not what counts
    carryover(2405150900);
    carryover(2405200900);  // another period's carry-over says nothing about this one
    struct Case {
        vb::DateTime moment;
        bool refused;
    };
    for (const Case& c : {Case{at(14, 23, 59), true}, Case{at(15, 8, 59), true}, Case{at(15, 9, 0), false},
                          Case{at(16, 7, 0), false}}) {
        SCOPED_TRACE(c.moment.toIsoDateTime());
        EXPECT_EQ(beforeCarryoverRefusal(db, 2405150900, c.moment).has_value(), c.refused);
    }
}

TEST_F(CarryoverDateTest, APeriodWithoutACarryoverTakesAnyDate) {
    insert({});
    EXPECT_FALSE(beforeCarryoverRefusal(db, 2405150900, at(1, 0, 0)).has_value());
    EXPECT_FALSE(beforeCarryoverRefusal(db, 0, at(1, 0, 0)).has_value());
}

}  // namespace
}  // namespace petty
