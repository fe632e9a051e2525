#include "petty/register/cash_out_limit.h"

#include <gtest/gtest.h>

#include "petty/register/period_test_support.h"

namespace petty {
namespace {

class CashOutLimitTest : public testing::RegisterBookTest {
protected:
    static vb::Currency amount(const char* text) { return *vb::Currency::fromDecimalText(text); }
};

TEST_F(CashOutLimitTest, ANewVoucherMayPayOutTheCashInHandOfTheOpenPeriod) {
    EXPECT_EQ(cashAvailableForCashOut(db, std::nullopt), vb::Currency());
    insert({.transType = "Cash transfer to PC", .debit = money("500")});
    insert({.credit = money("120.25")});
    insert({.transType = "Cash transfer to PC", .debit = money("1000"), .closed = "Yes"});
    insert({.transType = "Spent from Advance issued", .expenseFromAdvance = money("75")});
    EXPECT_EQ(cashAvailableForCashOut(db, std::nullopt), amount("379.75"));
}

TEST_F(CashOutLimitTest, AChangedVoucherGetsItsOwnStoredCashOutBack) {
    insert({.transType = "Cash transfer to PC", .debit = money("500")});
    const int64_t cashOut = insert({.credit = money("120")});
    const int64_t noCashOut = insert({.transType = "Cash transfer to PC", .debit = money("30")});
    const int64_t closed = insert({.credit = money("40"), .closed = "Yes"});
    EXPECT_EQ(cashAvailableForCashOut(db, cashOut), amount("530"));
    EXPECT_EQ(cashAvailableForCashOut(db, noCashOut), amount("410"));
    // A closed voucher's cash out is not part of the cash in hand: nothing to give back.
    EXPECT_EQ(cashAvailableForCashOut(db, closed), amount("410"));
    EXPECT_EQ(cashAvailableForCashOut(db, 9999), amount("410"));
}

}  // namespace
}  // namespace petty
