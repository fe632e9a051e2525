#include "petty/register/balance_sums.h"

#include <gtest/gtest.h>

#include "petty/register/period_test_support.h"

namespace petty {
namespace {

using testing::Voucher;

class BalanceSumsTest : public testing::RegisterBookTest {
protected:
    vb::Currency cash(const char* text) { return *vb::Currency::fromDecimalText(text); }
};

TEST_F(BalanceSumsTest, EmptyBookSumsToZero) {
    EXPECT_EQ(getCashBalance(db), vb::Currency());
    EXPECT_EQ(getTotalExpenses(db), vb::Currency());
    EXPECT_EQ(getCashFill(db), vb::Currency());
    EXPECT_EQ(getUnsettledCount(db), 0);
    EXPECT_EQ(getAmountNotSettled(db), vb::Currency());
}

TEST_F(BalanceSumsTest, OpenRowsSummedExactlyWithEmptyAmountsAsZero) {
    insert({.transType = "Carryover", .debit = money("250.0001")});
    insert({.transType = "Cash transfer to PC", .debit = money("5000")});
    insert({.transType = "Cash transfer to PC"});  // no amounts at all
    insert({.transType = "Reimbursed from pettycash", .credit = money("1234.5")});
    insert({.transType = "Reimbursed from pettycash", .expenseFromAdvance = money("10")});  // no credit
    insert({.transType = "Advance issued", .credit = money("1000"), .matchRequired = "Yes"});
    insert({.transType = "Spent from Advance issued", .expenseFromAdvance = money("300"), .matchRequired = "Yes"});
    insert({.transType = "Spent from Advance issued", .expenseFromAdvance = money("0.1"), .matchRequired = "Yes",
            .matched = "Yes"});
    // A closed period counts nowhere.
    insert({.transType = "Cash transfer to PC", .debit = money("99999"), .credit = money("7"),
            .expenseFromAdvance = money("3"), .closed = "Yes", .matchRequired = "Yes"});

    EXPECT_EQ(getCashFill(db), cash("5250.0001"));
    EXPECT_EQ(getCashBalance(db), cash("3015.5001"));  // 5250.0001 - 1234.5 - 1000
    EXPECT_EQ(getTotalExpenses(db), cash("1544.6"));   // 1234.5 + 10 + 300 + 0.1
    EXPECT_EQ(getUnsettledCount(db), 2);
    EXPECT_EQ(getAmountNotSettled(db), cash("700"));   // advance 1000, 300 spent and unsettled
}

TEST_F(BalanceSumsTest, FlagsAreComparedWithoutLetterCaseInsideSql) {
    insert({.debit = money("20"), .closed = "no"});
    insert({.transType = "Advance issued", .credit = money("5"), .closed = "NO", .matchRequired = "yes",
            .matched = "no"});
    EXPECT_EQ(getCashBalance(db), cash("15"));
    EXPECT_EQ(getUnsettledCount(db), 1);
    EXPECT_EQ(getAmountNotSettled(db), cash("5"));
}

}  // namespace
}  // namespace petty
