#include "petty/register/running_balance.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "petty/register/book_invariants_test_support.h"
#include "petty/register/period_test_support.h"
#include "petty/shell/book_data_control.h"

namespace petty {
namespace {

using testing::Voucher;

struct Balances {
    jet::Value opening;
    jet::Value running;
    bool operator==(const Balances&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Balances& b) {
    return out << "{" << b.opening.asText() << ", " << b.running.asText() << "}";
}

class RunningBalanceTest : public testing::RegisterBookTest {
protected:
    std::map<int64_t, Balances> balances() {
        std::map<int64_t, Balances> result;
        for (jet::Recordset rs = db.openRecordset("SELECT * FROM pettycash"); !rs.eof(); rs.moveNext())
            result[rs.field("VoucherID").asLong()] = {rs.field("openingbalance"), rs.field("runningbalance")};
        return result;
    }
    // The register shows what a search for old periods found.
    void showClosedRows() {
        pointAtBook(datPrimaryRS, kClosedRows);
        datPrimaryRS.refresh();
    }
    static constexpr const char* kClosedRows = "SELECT * FROM pettycash WHERE closed='Yes'";
    forms::Form window{"frmpettycash"};
    forms::DataControl datPrimaryRS{window, "datPrimaryRS"};

    static Balances pair(const char* opening, const char* running) { return {money(opening), money(running)}; }
};

TEST_F(RunningBalanceTest, RowsEnteredOutOfOrderAreSummedInDateTimeAndVoucherOrder) {
    const int64_t late = insert({.date = "2024-05-16", .time = "08:00:00", .credit = money("40.25")});
    const int64_t tenOClock = insert({.date = "2024-05-15", .time = "10:00:00", .credit = money("100")});
    const int64_t sameTimeFirst = insert({.date = "2024-05-15", .time = "10:00:00", .debit = money("0.5")});
    const int64_t fiveAfterNine = insert({.date = "2024-05-15", .time = "09:05:00", .credit = money("50")});
    const int64_t carryover = insert({.date = "2024-05-15", .time = "00:00:00", .transType = "Carryover",
                                      .debit = money("250")});
    const int64_t noAmounts = insert({.date = "2024-05-17"});
    const int64_t spentFromAdvance = insert({.date = "2024-05-18", .transType = "Spent from Advance issued",
                                             .expenseFromAdvance = money("30")});
    const int64_t closed = insert({.date = "2024-01-01", .debit = money("999"), .closed = "Yes"});

    EXPECT_EQ(rewriteRunningBalances(db), 7);

    const std::map<int64_t, Balances> expected = {
        {carryover, pair("0", "250")},
        {fiveAfterNine, pair("250", "200")},
        {tenOClock, pair("200", "100")},         // same date and time: voucher number order
        {sameTimeFirst, pair("100", "100.5")},
        {late, pair("100.5", "60.25")},
        {noAmounts, pair("60.25", "60.25")},
        {spentFromAdvance, pair("60.25", "60.25")},
        {closed, Balances{}},                    // closed rows are left alone
    };
    EXPECT_EQ(balances(), expected);
}

TEST_F(RunningBalanceTest, NoOpenRowsWritesNothingAndLeavesTheDisplayAlone) {
    insert({.debit = money("5"), .closed = "Yes"});
    showClosedRows();
    ui.setMousePointer(forms::vbArrow);

    recalculateRunningBalances(db, datPrimaryRS);

    EXPECT_EQ(datPrimaryRS.recordSource(), kClosedRows);
    EXPECT_EQ(ui.mousePointerHistory(), std::vector<int>{forms::vbArrow});
    EXPECT_EQ(balances().begin()->second, Balances{});
}

TEST_F(RunningBalanceTest, TheRegisterShowsTheOpenRowsWithTheCursorOnTheLast) {
    insert({.date = "2024-05-16", .debit = money("10")});
    const int64_t last = insert({.date = "2024-05-17", .credit = money("3")});
    insert({.date = "2024-05-15", .debit = money("1")});
    insert({.date = "2024-01-01", .debit = money("999"), .closed = "Yes"});
    showClosedRows();

    recalculateRunningBalances(db, datPrimaryRS);

    EXPECT_EQ(datPrimaryRS.recordSource(), kOpenRowsInRunningOrder);
    EXPECT_EQ(datPrimaryRS.recordset().recordCount(), 3);
    EXPECT_EQ(datPrimaryRS.recordset().field("VoucherID").asLong(), last);
    EXPECT_EQ(datPrimaryRS.recordset().field("runningbalance"), money("8"));
    EXPECT_EQ(ui.mousePointerHistory(), (std::vector<int>{forms::vbHourglass, forms::vbCustom}));
}

TEST_F(RunningBalanceTest, AFailingRowRollsTheWholeRecomputeBack) {
    insert({.date = "2024-05-15", .debit = money("10")});
    insert({.date = "2024-05-16", .credit = money("3")});
    insert({.date = "2024-05-17", .debit = jet::Value("not an amount")});
    const auto before = balances();
    showClosedRows();

    EXPECT_ANY_THROW(recalculateRunningBalances(db, datPrimaryRS));

    EXPECT_EQ(balances(), before);
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(datPrimaryRS.recordSource(), kClosedRows);
    EXPECT_EQ(ui.mousePointerHistory(), (std::vector<int>{forms::vbHourglass, forms::vbCustom}));
}

TEST_F(RunningBalanceTest, ThePassWritesOnlyChangedRowsAndAlwaysEqualsAFullRecompute) {
    std::mt19937 random(20240515);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto someAmount = [&]() -> jet::Value {
        if (pick(5) == 0) return jet::Value();
        return vb::Currency::fromUnits(pick(1000000));
    };
    const auto someDay = [&] { return "2024-05-" + std::to_string(10 + pick(9)); };
    const auto someTime = [&] { return (pick(2) ? "0" : "1") + std::to_string(pick(10)) + ":00:00"; };
    insert({.debit = money("1000"), .closed = "Yes"});  // a closed row is never counted
    for (int step = 0; step < 300; ++step) {
        std::vector<int64_t> open;
        for (jet::Recordset r = db.openRecordset("SELECT VoucherID FROM pettycash WHERE closed='No'"); !r.eof();
             r.moveNext())
            open.push_back(r.field("VoucherID").asLong());
        const int what = open.empty() ? 0 : pick(4);
        if (what <= 1) {
            insert({.date = someDay(), .time = someTime(), .debit = someAmount(), .credit = someAmount()});
        } else if (what == 2) {
            db.execute("UPDATE pettycash SET Credit = ?, [Date] = ? WHERE VoucherID = ?",
                       {someAmount(), *vb::DateTime::fromIso(someDay()), open[static_cast<size_t>(pick(
                                                                             static_cast<int>(open.size())))]});
        } else {
            db.execute("DELETE FROM pettycash WHERE VoucherID = ?",
                       {open[static_cast<size_t>(pick(static_cast<int>(open.size())))]});
        }
        const std::map<int64_t, Balances> before = balances();
        const BalancePass pass = updateRunningBalances(db);
        const std::map<int64_t, Balances> after = balances();
        ASSERT_EQ(testing::runningBalanceFault(db), "") << "step " << step;
        int64_t changed = 0;
        for (const auto& [id, b] : after) changed += before.at(id) == b ? 0 : 1;
        ASSERT_EQ(pass.written, changed) << "step " << step << ": only rows whose balances change are written";
        ASSERT_EQ(updateRunningBalances(db).written, 0) << "a second pass finds nothing to write";
    }
}

// The pass from the earliest date a write touched leaves the book as the
// whole pass would, whatever the writes (rows without a date among them).
TEST_F(RunningBalanceTest, ThePassFromTheEarliestTouchedDateEqualsAFullRecompute) {
    std::mt19937 random(20261210);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto someAmount = [&]() -> jet::Value { return vb::Currency::fromUnits(pick(1000000)); };
    const auto someDay = [&] { return *vb::DateTime::fromIso("2024-05-" + std::to_string(10 + pick(9))); };
    const auto someTime = [&] { return "1" + std::to_string(pick(10)) + ":00:00"; };
    const int64_t undated = insert({.debit = money("70")});
    db.execute("UPDATE pettycash SET [Date] = NULL WHERE VoucherID = ?", {jet::Value(undated)});  // first of all
    updateRunningBalances(db);
    for (int step = 0; step < 200; ++step) {
        std::vector<int64_t> open;
        for (jet::Recordset r = db.openRecordset("SELECT VoucherID FROM pettycash WHERE closed='No' AND [Date] IS NOT NULL");
             !r.eof(); r.moveNext())
            open.push_back(r.field("VoucherID").asLong());
        const auto dateOf = [&](int64_t id) {
            return db.openRecordset("SELECT [Date] FROM pettycash WHERE VoucherID = ?", {jet::Value(id)})
                .field("Date")
                .asDate();
        };
        const int what = open.empty() ? 0 : pick(4);
        vb::DateTime earliest = someDay();
        if (what <= 1) {
            insert({.date = earliest.toIsoDate(), .time = someTime(), .debit = someAmount(), .credit = someAmount()});
        } else {
            const int64_t id = open[static_cast<size_t>(pick(static_cast<int>(open.size())))];
            const vb::DateTime old = dateOf(id);
            if (what == 2) {
                db.execute("UPDATE pettycash SET Credit = ?, [Date] = ? WHERE VoucherID = ?",
                           {someAmount(), earliest, id});
                if (old < earliest) earliest = old;
            } else {
                db.execute("DELETE FROM pettycash WHERE VoucherID = ?", {jet::Value(id)});
                earliest = old;
            }
        }
        updateRunningBalancesFrom(db, earliest);
        ASSERT_EQ(testing::runningBalanceFault(db), "") << "step " << step;
        ASSERT_EQ(updateRunningBalances(db).written, 0) << "step " << step << ": the whole pass finds nothing left";
    }
}

TEST_F(RunningBalanceTest, APassFromADateReadsOnlyTheRowsFromThatDate) {
    for (int day = 10; day < 20; ++day) insert({.date = "2024-05-" + std::to_string(day), .debit = money("5")});
    updateRunningBalances(db);
    insert({.date = "2024-05-25", .credit = money("1")});
    const BalancePass pass = updateRunningBalancesFrom(db, *vb::DateTime::fromIso("2024-05-25"));
    EXPECT_EQ(pass.openRows, 1);
    EXPECT_EQ(pass.written, 1);
    EXPECT_EQ(testing::runningBalanceFault(db), "");
}

TEST_F(RunningBalanceTest, APassFromADateAfterARowWithoutBalancesPassesOverTheWholePeriod) {
    for (int day = 10; day < 13; ++day) insert({.date = "2024-05-" + std::to_string(day), .debit = money("5")});
    const BalancePass pass = updateRunningBalancesFrom(db, *vb::DateTime::fromIso("2024-05-12"));
    EXPECT_EQ(pass.openRows, 3);
    EXPECT_EQ(testing::runningBalanceFault(db), "");
}

TEST_F(RunningBalanceTest, AVoucherAtTheEndTouchesOneRowAndAnEditInTheMiddleTheRowsAfterIt) {
    for (int day = 10; day < 20; ++day) insert({.date = "2024-05-" + std::to_string(day), .debit = money("5")});
    updateRunningBalances(db);
    insert({.date = "2024-05-25", .credit = money("1")});
    EXPECT_EQ(updateRunningBalances(db).written, 1);
    db.execute("UPDATE pettycash SET Debit = 6 WHERE [Date] = ?", {*vb::DateTime::fromIso("2024-05-15")});
    EXPECT_EQ(updateRunningBalances(db).written, 6) << "the edited row and the five after it";
}

}  // namespace
}  // namespace petty
