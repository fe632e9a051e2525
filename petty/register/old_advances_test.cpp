#include "petty/register/old_advances.h"

#include <gtest/gtest.h>

#include "petty/register/period_test_support.h"

namespace petty {
namespace {

using testing::Voucher;

const vb::DateTime kToday = *vb::DateTime::fromParts(2026, 3, 31, 16, 45);

class OldAdvancesTest : public testing::RegisterBookTest {
protected:
    void advance(const char* date, const char* matched = "No", const char* closed = "No",
                 const char* type = "Advance Issued from PC") {
        Voucher v;
        v.date = date;
        v.transType = type;
        v.matched = matched;
        v.closed = closed;
        v.matchRequired = "Yes";
        insert(v);
    }
};

TEST_F(OldAdvancesTest, TheCutOffDayItselfCountsTheDayAfterDoesNot) {
    advance("2026-03-01");  // exactly 30 days before today
    EXPECT_EQ(countOldUnsettledAdvances(db, kToday, 30), 1);
    EXPECT_EQ(countOldUnsettledAdvances(db, kToday, 31), 0);
    advance("2026-03-02");  // one day younger
    EXPECT_EQ(countOldUnsettledAdvances(db, kToday, 30), 1);
    EXPECT_EQ(countOldUnsettledAdvances(db, kToday, 29), 2);
}

TEST_F(OldAdvancesTest, OnlyUnsettledAdvancesOfAnyPeriodCount) {
    advance("2026-01-10");                            // counted
    advance("2026-01-11", "No", "Yes");               // a closed period's: counted too
    advance("2026-01-12", "Yes");                     // settled
    advance("2026-01-13", "No", "No", "Spent from Advance issued");
    advance("2026-01-14", "No", "No", "Cash given for settlement");
    EXPECT_EQ(countOldUnsettledAdvances(db, kToday, 10), 2);
}

TEST_F(OldAdvancesTest, AnAdvanceDatedWithATimeOnTheCutOffDayCounts) {
    db.execute("INSERT INTO pettycash ([Date], [TransType], [Matched]) VALUES (?, 'Advance Issued from PC', 'No')",
               {jet::Value(*vb::DateTime::fromParts(2026, 3, 1, 18, 30))});
    EXPECT_EQ(countOldUnsettledAdvances(db, kToday, 30), 1);
}

TEST_F(OldAdvancesTest, AnEmptyBookHasNone) { EXPECT_EQ(countOldUnsettledAdvances(db, kToday, 1), 0); }

TEST(OldAdvancesReminderText, NumbersInPlainDecimal) {
    EXPECT_EQ(oldAdvancesReminderText(40000, 7),
              "There are 40000 advance vouchers older than 7 days which are not settled yet !!!");
}

}  // namespace
}  // namespace petty
