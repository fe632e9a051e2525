#include "petty/shell/frm_show_balance.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "petty/shell/advance_test_support.h"
#include "petty/shell/book_window_test_support.h"
#include "platform/forms/test_support.h"

namespace petty {
namespace {

namespace user = forms::user;
using testing::money;

class BalanceWindowTest : public testing::BookWindowTest {
protected:
    // Opens the window for the employee; the script looks at it as the user does.
    void show(const std::string& employee, std::function<void(frmshowbalance&)> script) {
        host.expectModal<frmshowbalance>("frmshowbalance", std::move(script));
        showEmployeeBalance(employee);
    }
    static std::vector<std::string> totals(const frmshowbalance& f) {
        return {f.Summary[3].caption(), f.Summary[4].caption(), f.Summary[5].caption()};
    }

    jet::Database db = book();
};

using Totals = std::vector<std::string>;

TEST_F(BalanceWindowTest, TotalsOfTwoAdvancesAndTheExpensesAgainstTheFirst) {
    const int64_t first = testing::insertAdvance(db, "1000");
    const int64_t second = testing::insertAdvance(db, "500");
    const int64_t expense = testing::insertExpense(db, first, "1200");
    // Not counted: a settled group, a closed advance, another employee's.
    const int64_t settled = testing::insertVoucher(db, {.credit = money("80"), .matched = "Yes"});
    testing::insertVoucher(db, {.transType = kSpentFromAdvance, .expenseFromAdvance = money("80"),
                                .matchWith = settled, .matched = "Yes"});
    testing::insertVoucher(db, {.credit = money("60"), .closed = "Yes"});
    testing::insertAdvance(db, "900", "Ben");
    appState().selectedVoucherId = 12;
    show("Asha", [&](frmshowbalance& f) {
        EXPECT_EQ(f.caption(), "Total settlement balance for Asha : 300");
        EXPECT_EQ(f.Label1.caption(), f.caption());
        EXPECT_EQ(totals(f), (Totals{"1500", "1200", "300"}));
        EXPECT_EQ(f.Summary[0].caption(), "Total advance:");
        EXPECT_EQ(f.Summary[1].caption(), "Total settlement:");
        EXPECT_EQ(f.Summary[2].caption(), "Total balance:");
        ASSERT_EQ(f.DBGrid1.rowCount(), 2);
        EXPECT_EQ(f.DBGrid1.column(4).caption(), "Advance");
        EXPECT_EQ(f.DBGrid2.column(6).caption(), "Employee");
        const int firstRow = f.DBGrid1.cellText(0, 0) == std::to_string(first) ? 0 : 1;
        user::selectGridRow(f.DBGrid1, firstRow);
        EXPECT_EQ(f.DBGrid1.caption(), "Advance voucher: " + std::to_string(firstRow + 1) + "  of  2 records");
        EXPECT_EQ(f.Label2.caption(),
                  "Unsettled amount for voucher: " + std::to_string(first) + " is  -200 (200 to be returned to Asha)");
        ASSERT_EQ(f.DBGrid2.rowCount(), 1);
        EXPECT_EQ(f.DBGrid2.cellText(0, 7), std::to_string(expense));
        user::selectGridRow(f.DBGrid1, 1 - firstRow);
        EXPECT_EQ(f.Label2.caption(), "Unsettled amount for voucher: " + std::to_string(second) + " is  500");
        EXPECT_EQ(f.DBGrid2.rowCount(), 0);
        user::click(f.cmdclose);
    });
    EXPECT_EQ(appState().balanceEmployee, "");
    EXPECT_EQ(appState().selectedVoucherId, 0);
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(BalanceWindowTest, TotalsAreExactAmountsWhateverTheirNumberOfDigits) {
    const int64_t advance = testing::insertAdvance(db, "12345678.91");
    testing::insertAdvance(db, "0.01");
    testing::insertExpense(db, advance, "0.1");
    testing::insertExpense(db, advance, "0.2");
    show("Asha", [&](frmshowbalance& f) {
        EXPECT_EQ(totals(f), (Totals{"12345678.92", "0.3", "12345678.62"}));
        EXPECT_EQ(f.caption(), "Total settlement balance for Asha : 12345678.62");
        user::click(f.cmdclose);
    });
}

TEST_F(BalanceWindowTest, WithoutAnEmployeeTheWindowShowsNothingToSettle) {
    testing::insertAdvance(db, "700", "");
    show("", [&](frmshowbalance& f) {
        EXPECT_EQ(f.caption(), "Settlement balances");
        EXPECT_EQ(totals(f), (Totals{"700", "0", "700"})) << "the empty name is a name like any other";
        user::click(f.cmdclose);
    });
    db.execute("DELETE FROM pettycash");
    show("", [&](frmshowbalance& f) {
        EXPECT_EQ(totals(f), (Totals{"0", "0", "0"}));
        EXPECT_EQ(f.DBGrid1.rowCount(), 0);
        EXPECT_EQ(f.DBGrid1.caption(), "Advance voucher: 0  of  0 records");
        EXPECT_FALSE(f.Label2.visible());
        user::click(f.cmdclose);
    });
}

TEST_F(BalanceWindowTest, ANameWithAQuoteShowsThatEmployeesBalance) {
    testing::insertAdvance(db, "300", "D'Souza");
    testing::insertAdvance(db, "700", "Ben");
    show("D'Souza", [&](frmshowbalance& f) {
        EXPECT_EQ(f.caption(), "Total settlement balance for D'Souza : 300");
        EXPECT_EQ(totals(f), (Totals{"300", "0", "300"}));
        EXPECT_EQ(f.DBGrid1.rowCount(), 1);
        user::click(f.cmdclose);
    });
}

TEST_F(BalanceWindowTest, ATalliedAdvanceDropsOutOfTheTotalsAndTheList) {
    const int64_t advance = testing::insertAdvance(db, "400");
    testing::insertExpense(db, advance, "400");
    db.execute("UPDATE pettycash SET [Matched] = 'Yes'");
    show("Asha", [&](frmshowbalance& f) {
        EXPECT_EQ(totals(f), (Totals{"0", "0", "0"}));
        EXPECT_EQ(f.DBGrid1.rowCount(), 0);
        user::click(f.cmdclose);
    });
}

TEST_F(BalanceWindowTest, WithoutItsBookTheTotalsStayZero) {
    appState().businessDbPath = appState().appFolder + "missing.mdb";
    show("Asha", [&](frmshowbalance& f) {
        EXPECT_EQ(totals(f), (Totals{"0", "0", "0"}));
        EXPECT_EQ(f.caption(), "Total settlement balance for Asha : 0");
        user::click(f.cmdclose);
    });
    EXPECT_TRUE(ui.journal().empty()) << "a failing query shows no message";
}

TEST(frmshowbalanceLayout, EveryControlFitsTheWindow) {
    const frmshowbalance window;
    EXPECT_EQ(forms::testing::controlsCutOff(window), std::vector<std::string>{});
}

}  // namespace
}  // namespace petty
