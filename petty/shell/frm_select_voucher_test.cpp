#include "petty/shell/frm_select_voucher.h"

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

using testing::amount;

class AdvancePickerTest : public testing::BookWindowTest {
protected:
    // Opens the picker for the employee; the script works it as the user does.
    void pick(const std::string& employee, std::function<void(frmselectvoucher&)> script) {
        host.expectModal<frmselectvoucher>("frmselectvoucher", std::move(script));
        pickAdvanceVoucher(employee);
    }
    // The upper grid's row that shows this advance.
    static int rowOf(frmselectvoucher& f, int64_t advance) {
        for (int row = 0; row < f.DBGrid1.rowCount(); ++row)
            if (f.DBGrid1.cellText(row, 0) == std::to_string(advance)) return row;
        ADD_FAILURE() << "advance " << advance << " not listed";
        return 0;
    }
    // The voucher numbers the lower grid shows.
    static std::vector<std::string> settlementRows(frmselectvoucher& f) {
        std::vector<std::string> numbers;
        for (int row = 0; row < f.DBGrid2.rowCount(); ++row) numbers.push_back(f.DBGrid2.cellText(row, 7));
        return numbers;
    }

    jet::Database db = book();
};

TEST_F(AdvancePickerTest, ListsTheEmployeesOpenUnsettledAdvancesWithWhatIsStillOpenOnEach) {
    const int64_t first = testing::insertAdvance(db, "1000");
    const int64_t expense = testing::insertExpense(db, first, "700");
    const int64_t second = testing::insertAdvance(db, "500");
    // Not listed: another employee's, a settled one, one of a closed period, a settlement row.
    testing::insertAdvance(db, "900", "Ben");
    testing::insertVoucher(db, {.credit = money("40"), .matched = "Yes"});
    testing::insertVoucher(db, {.credit = money("30"), .closed = "Yes"});
    pick("Asha", [&](frmselectvoucher& f) {
        EXPECT_EQ(f.caption(), "Select unsettled advance given to Asha");
        EXPECT_EQ(f.Label1.caption(), f.caption());
        ASSERT_EQ(f.DBGrid1.rowCount(), 2);
        const std::vector<std::string> headers = {"VoucherID", "Date", "Time", "Transtype", "Advance", "Settled"};
        for (int col = 0; col < f.DBGrid1.columnCount(); ++col)
            EXPECT_EQ(f.DBGrid1.column(col).caption(), headers[col]);
        EXPECT_EQ(f.DBGrid2.caption(), "Pettycash entries made for settlement against the advance");
        EXPECT_EQ(f.DBGrid2.column(0).caption(), "Employee");
        EXPECT_TRUE(f.trfr.isDefault());

        user::selectGridRow(f.DBGrid1, rowOf(f, first));
        EXPECT_EQ(f.DBGrid1.caption(), "Advace voucher: " + std::to_string(f.DBGrid1.row() + 1) + "  of  2 records");
        EXPECT_TRUE(f.Label2.visible());
        EXPECT_EQ(f.Label2.caption(), "Unsettled amount for voucher: " + std::to_string(first) + " is  300");
        EXPECT_EQ(appState().selectedVoucherBalance, amount("300"));
        EXPECT_EQ(settlementRows(f), std::vector<std::string>{std::to_string(expense)});
        EXPECT_EQ(f.DBGrid2.cellText(0, 6), "700");

        user::selectGridRow(f.DBGrid1, rowOf(f, second));
        EXPECT_EQ(f.Label2.caption(), "Unsettled amount for voucher: " + std::to_string(second) + " is  500");
        EXPECT_EQ(appState().selectedVoucherBalance, amount("500"));
        EXPECT_TRUE(settlementRows(f).empty());
        user::selectGridRow(f.DBGrid1, rowOf(f, first));
        user::click(f.trfr);
    });
    EXPECT_EQ(appState().selectedVoucherId, first);
    EXPECT_EQ(appState().selectedVoucherBalance, amount("300"));
}

struct BalanceCase {
    const char* name;
    std::vector<testing::AdvanceVoucher> settlements;  // matched against the advance of 1000
    const char* balance;
    std::string label;
};

TEST_F(AdvancePickerTest, TheOpenAmountCountsExpensesCashBackAndCashGivenOfTheOpenPeriodOnly) {
    using testing::AdvanceVoucher;
    const std::vector<BalanceCase> cases = {
        {"expenses 700, cash received 300", {{.transType = kSpentFromAdvance, .expenseFromAdvance = money("700")},
                                             {.transType = kCashReceivedForSettlement, .debit = money("300")}},
         "0", " is  0"},
        {"expenses 1200", {{.transType = kSpentFromAdvance, .expenseFromAdvance = money("1200")}},
         "-200", " is  -200 (200 to be returned to Asha)"},
        {"expenses 1200, cash given 150", {{.transType = kSpentFromAdvance, .expenseFromAdvance = money("1200")},
                                           {.transType = kCashGivenForSettlement, .credit = money("150")}},
         "-50", " is  -50 (50 to be returned to Asha)"},
        {"an expense of a closed period", {{.transType = kSpentFromAdvance, .expenseFromAdvance = money("400"),
                                            .closed = "Yes"}},
         "1000", " is  1000"},
    };
    for (const BalanceCase& c : cases) {
        SCOPED_TRACE(c.name);
        db.execute("DELETE FROM pettycash");
        const int64_t advance = testing::insertAdvance(db, "1000");
        size_t open = 0;
        for (AdvanceVoucher v : c.settlements) {
            v.matchWith = advance;
            testing::insertVoucher(db, v);
            if (v.closed == "No") ++open;
        }
        pick("Asha", [&](frmselectvoucher& f) {
            EXPECT_EQ(f.Label2.caption(), "Unsettled amount for voucher: " + std::to_string(advance) + c.label);
            EXPECT_EQ(f.DBGrid2.rowCount(), static_cast<int>(open)) << "rows of a closed period are not shown";
            user::click(f.trfr);
        });
        EXPECT_EQ(appState().selectedVoucherId, advance);
        EXPECT_EQ(appState().selectedVoucherBalance, amount(c.balance));
    }
}

TEST_F(AdvancePickerTest, DoubleClickSelectsAndCancelOrTheCloseBoxReturnNothing) {
    testing::insertAdvance(db, "100");
    const int64_t second = testing::insertAdvance(db, "250");
    pick("Asha", [&](frmselectvoucher& f) { user::doubleClickGridRow(f.DBGrid1, rowOf(f, second)); });
    EXPECT_EQ(appState().selectedVoucherId, second);
    EXPECT_EQ(appState().selectedVoucherBalance, amount("250"));

    pick("Asha", [&](frmselectvoucher& f) {
        user::selectGridRow(f.DBGrid1, 1);
        user::selectGridRow(f.DBGrid1, 0);
        user::click(f.cmdclose);
    });
    EXPECT_EQ(appState().selectedVoucherId, 0);
    EXPECT_EQ(appState().selectedVoucherBalance, vb::Currency());

    appState().selectedVoucherId = 99;  // left from an earlier pick
    pick("Asha", [&](frmselectvoucher& f) { user::closeForm(f); });
    EXPECT_EQ(appState().selectedVoucherId, 0);
}

TEST_F(AdvancePickerTest, AnEmployeeWithoutOpenAdvancesGetsAnEmptyListAndSelectReturnsNothing) {
    const int64_t bens = testing::insertAdvance(db, "900", "Ben");
    testing::insertExpense(db, bens, "100", "Ben");
    appState().selectedVoucherBalance = amount("5");
    pick("Asha", [&](frmselectvoucher& f) {
        EXPECT_EQ(f.DBGrid1.rowCount(), 0);
        EXPECT_EQ(f.DBGrid1.caption(), "Advace voucher: 0  of  0 records");
        EXPECT_FALSE(f.Label2.visible());
        EXPECT_EQ(f.DBGrid2.rowCount(), 0);
        EXPECT_FALSE(f.trfr.isDefault());
        EXPECT_EQ(appState().selectedVoucherBalance, vb::Currency());
        user::click(f.trfr);
    });
    EXPECT_EQ(appState().selectedVoucherId, 0);
}

TEST_F(AdvancePickerTest, ANameWithAQuoteListsThatEmployeesAdvancesOnly) {
    const int64_t his = testing::insertAdvance(db, "300", "D'Souza");
    testing::insertAdvance(db, "700", "Ben");
    pick("D'Souza", [&](frmselectvoucher& f) {
        EXPECT_EQ(f.caption(), "Select unsettled advance given to D'Souza");
        ASSERT_EQ(f.DBGrid1.rowCount(), 1);
        EXPECT_EQ(f.DBGrid1.cellText(0, 0), std::to_string(his));
        user::click(f.trfr);
    });
    EXPECT_EQ(appState().selectedVoucherId, his);
    pick("x' or '1'='1", [&](frmselectvoucher& f) {
        EXPECT_EQ(f.DBGrid1.rowCount(), 0);
        user::click(f.cmdclose);
    });
}

TEST_F(AdvancePickerTest, ADataErrorOfTheListBeepsTwiceInsteadOfItsMessage) {
    frmselectvoucher picker;
    int response = forms::vbDataErrDisplay;
    picker.datPrimaryRS.onError(3021, response);
    EXPECT_EQ(response, forms::vbDataErrContinue);
    EXPECT_EQ(ui.beepCount(), 2);
}

TEST(frmselectvoucherLayout, EveryControlFitsTheWindow) {
    const frmselectvoucher window;
    EXPECT_EQ(forms::testing::controlsCutOff(window), std::vector<std::string>{});
}

}  // namespace
}  // namespace petty
