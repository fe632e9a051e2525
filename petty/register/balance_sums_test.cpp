#include "petty/register/balance_sums.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

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

// The figures the book keeps are what the texts sum, after any sequence of
// writes by anyone: new rows, changed amounts, types, flags and periods,
// deleted rows, a period closed, and writes rolled back.
TEST_F(BalanceSumsTest, KeptFiguresEqualTheSummedOnesAfterRandomEdits) {
    ASSERT_TRUE(keptOpenPeriodSums(db)) << "a new book keeps its figures";
    std::mt19937 random(20241);
    const auto pick = [&](const auto& choices) { return choices[random() % std::size(choices)]; };
    const char* const types[] = {"Carryover", "Cash transfer to PC", "cash TRANSFER to pc", "Reimbursed from pettycash",
                                 "Advance issued", "Spent from Advance issued", "Cash received for settlement"};
    const char* const flags[] = {"Yes", "No", "no", "YES", ""};
    const auto amount = [&]() -> jet::Value {
        if (random() % 4 == 0) return jet::Value();
        return vb::Currency::fromUnits(static_cast<int64_t>(random() % 200000000) - 20000000);
    };
    const char* const amountColumns[] = {"Debit", "Credit", "expensefromadvance"};
    const char* const flagColumns[] = {"Closed", "Matchrequired", "Matched"};

    std::vector<int64_t> ids;
    for (int step = 0; step < 400; ++step) {
        const unsigned action = ids.empty() ? 0 : random() % 8;
        const int64_t id = ids.empty() ? 0 : ids[random() % ids.size()];
        switch (action) {
            case 0:
            case 1:
                ids.push_back(insert({.transType = pick(types), .debit = amount(), .credit = amount(),
                                      .expenseFromAdvance = amount(), .closed = random() % 5 ? "No" : "Yes",
                                      .matchRequired = pick(flags), .matched = pick(flags)}));
                break;
            case 2:
                db.execute(std::string("UPDATE pettycash SET [") + pick(amountColumns) + "] = ? WHERE VoucherID = ?",
                           {amount(), id});
                break;
            case 3:
                db.execute("UPDATE pettycash SET [TransType] = ? WHERE VoucherID = ?", {pick(types), id});
                break;
            case 4:
                db.execute(std::string("UPDATE pettycash SET [") + pick(flagColumns) + "] = ? WHERE VoucherID = ?",
                           {pick(flags), id});
                break;
            case 5:
                db.execute("DELETE FROM pettycash WHERE VoucherID = ?", {id});
                std::erase(ids, id);
                break;
            case 6: {
                // A write undone leaves the figures as they were.
                jet::Transaction undone(db);
                db.execute("UPDATE pettycash SET [Debit] = [Debit] + 1, [Closed] = 'No'");
                db.execute("DELETE FROM pettycash WHERE VoucherID = ?", {id});
                break;
            }
            default:
                if (random() % 10 == 0) db.execute("UPDATE pettycash SET [Closed] = 'Yes' WHERE [Closed] = 'No'");
                db.execute("UPDATE pettycash SET [openingbalance] = 1, [runningbalance] = 2 WHERE VoucherID = ?", {id});
                break;
        }
        const std::optional<OpenPeriodSums> kept = keptOpenPeriodSums(db);
        ASSERT_TRUE(kept);
        ASSERT_EQ(*kept, summedOpenPeriodSums(db)) << "after step " << step << " (action " << action << ")";
    }
    EXPECT_GT(summedOpenPeriodSums(db).unsettledCount, 0) << "the sequence reached the unsettled figures";
}

// A book made before it kept its figures has them summed, and is given them
// (filled from its rows) at the next log-in.
TEST_F(BalanceSumsTest, ABookWithoutKeptFiguresIsSummedUntilItIsGivenThem) {
    insert({.transType = "Cash transfer to PC", .debit = money("5000")});
    insert({.transType = "Advance issued", .credit = money("1000"), .matchRequired = "Yes"});
    for (const char* drop : {"DROP TRIGGER openperiodsums_insert", "DROP TRIGGER openperiodsums_delete",
                             "DROP TRIGGER openperiodsums_update", "DROP TABLE openperiodsums"})
        db.execute(drop);
    insert({.transType = "Reimbursed from pettycash", .credit = money("12.5")});
    ASSERT_FALSE(keptOpenPeriodSums(db));
    const OpenPeriodSums expected{cash("3987.5"), cash("12.5"), cash("5000"), 1, cash("-1000"), 3};
    EXPECT_EQ(summedOpenPeriodSums(db), expected);
    EXPECT_EQ(getCashBalance(db), cash("3987.5"));
    EXPECT_EQ(getAmountNotSettled(db), cash("1000"));

    keepOpenPeriodSums(db);
    ASSERT_TRUE(keptOpenPeriodSums(db));
    EXPECT_EQ(*keptOpenPeriodSums(db), expected);
    insert({.transType = "Carryover", .debit = money("0.0001")});
    EXPECT_EQ(getCashFill(db), cash("5000.0001"));
    EXPECT_EQ(*keptOpenPeriodSums(db), summedOpenPeriodSums(db));
}

}  // namespace
}  // namespace petty
