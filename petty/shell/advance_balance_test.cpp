#include "petty/shell/advance_balance.h"

#include <gtest/gtest.h>

#include "petty/shell/advance_test_support.h"
#include "petty/shell/book_window_test_support.h"

namespace petty {
namespace {

using testing::money;

using testing::amount;

class AdvanceBalanceTest : public testing::BookWindowTest {
protected:
    jet::Database db = book();
};

TEST_F(AdvanceBalanceTest, SettledTotalCountsExpensesAndCashBackAgainstCashGiven) {
    const int64_t advance = testing::insertAdvance(db, "1000");
    EXPECT_EQ(settledTotal(db, advance), vb::Currency()) << "nothing settled yet";
    testing::insertExpense(db, advance, "700");
    testing::insertVoucher(db, {.transType = kCashReceivedForSettlement, .debit = money("250.5"), .matchWith = advance});
    const int64_t given = testing::insertVoucher(
        db, {.transType = kCashGivenForSettlement, .credit = money("100.25"), .matchWith = advance});
    EXPECT_EQ(settledTotal(db, advance), amount("850.25"));
    EXPECT_EQ(settledTotal(db, advance, given), amount("950.5")) << "the excluded row does not count";
    EXPECT_EQ(advanceBalance(db, advance, amount("1000")), amount("149.75"));
}

TEST_F(AdvanceBalanceTest, ClosedRowsAndRowsOfOtherAdvancesDoNotCount) {
    const int64_t advance = testing::insertAdvance(db, "1000");
    const int64_t other = testing::insertAdvance(db, "500");
    testing::insertExpense(db, advance, "300");
    testing::insertExpense(db, other, "200");
    testing::insertVoucher(db, {.transType = kSpentFromAdvance, .expenseFromAdvance = money("50"),
                                .matchWith = advance, .closed = "Yes"});
    EXPECT_EQ(settledTotal(db, advance), amount("300"));
    EXPECT_EQ(advanceBalance(db, advance, amount("1000")), amount("700"));
    EXPECT_EQ(advanceBalance(db, other, amount("150")), amount("-50")) << "the fund owes the employee";
}

TEST_F(AdvanceBalanceTest, EmployeeTotalsCoverHisOpenUnsettledRowsOnly) {
    const int64_t first = testing::insertAdvance(db, "1000");
    testing::insertAdvance(db, "500");
    testing::insertExpense(db, first, "1200");
    // Not counted: settled rows, closed rows, rows not needing settlement, another employee's.
    testing::insertVoucher(db, {.credit = money("40"), .matched = "Yes"});
    testing::insertVoucher(db, {.credit = money("30"), .closed = "Yes"});
    testing::insertVoucher(db, {.transType = kSpentFromAdvance, .expenseFromAdvance = money("20"),
                                .matchRequired = "No"});
    testing::insertAdvance(db, "900", "Ben");
    EXPECT_EQ(employeeAdvanceTotal(db, "Asha"), amount("1500"));
    EXPECT_EQ(employeeSettlementTotal(db, "Asha"), amount("1200"));
    EXPECT_EQ(employeeAdvanceTotal(db, "asha"), amount("1500")) << "names compare without letter case, as in SQL";
    EXPECT_EQ(employeeAdvanceTotal(db, "Nobody"), vb::Currency());
    EXPECT_EQ(employeeSettlementTotal(db, ""), vb::Currency());
}

TEST_F(AdvanceBalanceTest, ANameWithAQuoteIsOneNameAndWidensNothing) {
    testing::insertAdvance(db, "300", "D'Souza");
    testing::insertAdvance(db, "700", "Ben");
    EXPECT_EQ(employeeAdvanceTotal(db, "D'Souza"), amount("300"));
    EXPECT_EQ(employeeAdvanceTotal(db, "x' or '1'='1"), vb::Currency());
    EXPECT_EQ(employeeSettlementTotal(db, "x' or '1'='1"), vb::Currency());
}

TEST_F(AdvanceBalanceTest, TotalsKeepEveryDigitOfLargeAmounts) {
    testing::insertAdvance(db, "12345678.91");
    testing::insertAdvance(db, "0.09");
    EXPECT_EQ(employeeAdvanceTotal(db, "Asha"), amount("12345679"));
}

struct LabelCase {
    const char* balance;
    const char* text;
};

TEST(UnsettledAmountText, NamesWhatTheFundOwesOnlyWhenTheBalanceIsNegative) {
    const LabelCase cases[] = {
        {"300", "Unsettled amount for voucher: 7 is  300"},
        {"0", "Unsettled amount for voucher: 7 is  0"},
        {"-200", "Unsettled amount for voucher: 7 is  -200 (200 to be returned to D'Souza)"},
        {"12.5", "Unsettled amount for voucher: 7 is  12.5"},
    };
    for (const LabelCase& c : cases)
        EXPECT_EQ(unsettledAmountText(7, amount(c.balance), "D'Souza"), c.text) << c.balance;
}

}  // namespace
}  // namespace petty
