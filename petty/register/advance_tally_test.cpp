#include "petty/register/advance_tally.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/register/period_test_support.h"
#include "petty/shell/advance_test_support.h"

namespace petty {
namespace {

namespace t = testing;

using t::amount;

class AdvanceTallyTest : public t::RegisterBookTest {
protected:
    std::vector<std::string> flags() { return t::matchedFlags(db); }
};

using Flags = std::vector<std::string>;

TEST_F(AdvanceTallyTest, ReadsTheAdvanceAndWhatItsOpenRowsSettle) {
    const int64_t advance = t::insertAdvance(db, "1000");
    t::insertExpense(db, advance, "700");
    t::insertVoucher(db, {.transType = kCashReceivedForSettlement, .debit = t::money("300"), .matchWith = advance});
    t::insertVoucher(db, {.transType = kSpentFromAdvance, .expenseFromAdvance = t::money("50"),
                          .matchWith = advance, .closed = "Yes"});
    const std::optional<AdvanceTally> tally = readAdvanceTally(db, advance);
    ASSERT_TRUE(tally);
    EXPECT_EQ(tally->employee, "Asha");
    EXPECT_EQ(tally->advanced, amount("1000"));
    EXPECT_EQ(tally->settled, amount("1000"));
    EXPECT_TRUE(tally->tallies());
    EXPECT_FALSE(readAdvanceTally(db, advance + 100)) << "no such voucher";
}

TEST_F(AdvanceTallyTest, AnAdvanceNoLongerOpenHasNothingToTallyAgainst) {
    const int64_t advance = t::insertVoucher(db, {.credit = t::money("1000"), .closed = "Yes"});
    try {
        readAdvanceTally(db, advance);
        FAIL() << "no error";
    } catch (const jet::Error& error) {
        EXPECT_EQ(error.number(), 94);
    }
}

TEST_F(AdvanceTallyTest, MarksTheAdvanceAndEveryRowNamingItOpenOrClosedAndNoOtherRow) {
    const int64_t advance = t::insertAdvance(db, "1000");
    t::insertExpense(db, advance, "700");
    t::insertVoucher(db, {.transType = kSpentFromAdvance, .matchWith = advance, .closed = "Yes"});
    const int64_t other = t::insertAdvance(db, "50");
    t::insertExpense(db, other, "50");
    markAdvanceGroup(db, advance, true);
    EXPECT_EQ(flags(), (Flags{"Yes", "Yes", "Yes", "No", "No"}));
    EXPECT_EQ(settledRowsInGroup(db, advance), 3);
    EXPECT_EQ(settledRowsInGroup(db, other), 0);
    markAdvanceGroup(db, advance, false);
    EXPECT_EQ(flags(), (Flags{"No", "No", "No", "No", "No"}));
}

TEST_F(AdvanceTallyTest, TheAdvanceAloneMarkedSettledCountsAsASettledRowOfItsGroup) {
    const int64_t advance = t::insertVoucher(db, {.credit = t::money("1000"), .matched = "Yes"});
    t::insertExpense(db, advance, "100");
    EXPECT_EQ(settledRowsInGroup(db, advance), 1);
}

TEST_F(AdvanceTallyTest, TheGroupIsMarkedInOneTransaction) {
    const int64_t advance = t::insertAdvance(db, "1000");
    t::insertExpense(db, advance, "1000");
    // The second update fails: the first one must not stay.
    db.execute("CREATE TRIGGER refuse_advance BEFORE UPDATE OF [Matched] ON pettycash WHEN old.[VoucherID] = " +
               std::to_string(advance) + " BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_THROW(markAdvanceGroup(db, advance, true), std::exception);
    EXPECT_EQ(flags(), (Flags{"No", "No"}));
    EXPECT_FALSE(db.inTransaction());
}

struct MessageCase {
    const char* settled;
    std::string message;
};

TEST(AdvanceTallyMessages, TheBalanceMessageSaysWhoOwesWhat) {
    const std::string lead = "Advance Voucher No: 9    Amount given : 1000  Expense declared/Amount received : ";
    const MessageCase cases[] = {
        {"700", lead + "700   Balance still to be settled by Asha : 300"},
        {"1200", lead + "1200   Balance to be settled: -200 (money to be given from petttcash) to Asha. "},
        {"1000", lead + "1000   Balance to be settled: 0 (Asha has settled the advance voucher fully)."},
    };
    for (const MessageCase& c : cases) {
        const AdvanceTally tally{9, "Asha", amount("1000"), amount(c.settled)};
        EXPECT_EQ(tallyBalanceMessage(tally), c.message) << c.settled;
    }
    EXPECT_EQ(tallySettledMessage({9, "Asha", amount("1000"), amount("1000")}),
              "Advance issued is 1000 (voucher No: 9) Total settlements matched against this advance is =1000. Credits "
              "and debits tally and will be marked as settled.");
    EXPECT_EQ(tallyUnsettledWarning(9),
              "Some of the pettycash record(s) matched against 9is/are marked as settled ! They will be marked as "
              "unsettled!");
}

TEST_F(AdvanceTallyTest, PendingRowsAreTheEmployeesOpenRowsStillToSettle) {
    const int64_t advance = t::insertAdvance(db, "1000");
    t::insertExpense(db, advance, "100");
    t::insertVoucher(db, {.credit = t::money("10"), .matched = "Yes"});
    t::insertVoucher(db, {.credit = t::money("10"), .closed = "Yes"});
    t::insertAdvance(db, "500", "D'Souza");
    EXPECT_EQ(pendingSettlementCount(db, "Asha"), 2);
    EXPECT_EQ(pendingSettlementCount(db, "D'Souza"), 1);
    EXPECT_EQ(pendingSettlementCount(db, "x' or '1'='1"), 0);
}

}  // namespace
}  // namespace petty
