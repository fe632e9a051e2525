#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "petty/register/frm_pettycash.h"
#include "petty/register/period_test_support.h"
#include "petty/register/settlement_check.h"
#include "petty/shell/advance_test_support.h"
#include "petty/shell/frm_select_voucher.h"
#include "petty/shell/frm_show_balance.h"

namespace petty {
namespace {

namespace t = testing;
namespace user = forms::user;
using Lines = std::vector<std::string>;

constexpr const char* kUnreadableColumnError = "Error 3265 - Item not found in this collection.";

class SettlementMatchingTest : public t::RegisterBookTest {
protected:
    frmpettycash& shown() {
        frmpettycash& w = formInstances().get<frmpettycash>();
        w.show();
        return w;
    }
    // A new voucher of this type for the employee, started with the add button
    // and the type picked as a user does. The journal starts empty afterwards.
    frmpettycash& newVoucher(const std::string& type, const std::string& employee) {
        frmpettycash& w = shown();
        w.SSTab2.setTab(1);
        EXPECT_TRUE(user::click(w.cmdadd));
        EXPECT_TRUE(user::selectComboItem(w.Combopcashtype, type));
        w.DBCombo2.setText(employee);
        ui.clearJournal();
        return w;
    }
    // Drops the new voucher the way the register's own refresh would.
    static void dropNewVoucher(frmpettycash& w) {
        w.datPrimaryRS.recordset().cancelUpdate();
        w.datPrimaryRS.refresh();
    }
    // The picker the match button opens: it picks the advance, or cancels when 0.
    void expectPick(int64_t advance) {
        host.expectModal<frmselectvoucher>("frmselectvoucher", [advance](frmselectvoucher& f) {
            if (advance == 0) return (void)user::click(f.cmdclose);
            for (int row = 0; row < f.DBGrid1.rowCount(); ++row)
                if (f.DBGrid1.cellText(row, 0) == std::to_string(advance)) user::selectGridRow(f.DBGrid1, row);
            user::click(f.trfr);
        });
    }
    // Queues the answers to the message boxes of this journal.
    void expectMessagesOf(const Lines& journal) {
        for (const std::string& line : journal)
            if (line.rfind("msgbox: ", 0) == 0) ui.expectMessage(line.substr(8));
    }
    void expectHandOverCleared() const {
        EXPECT_EQ(appState().selectedVoucherId, 0);
        EXPECT_EQ(appState().selectedVoucherBalance, vb::Currency());
        EXPECT_EQ(appState().voucherPickEmployee, "");
    }
    std::vector<std::string> flags() { return t::matchedFlags(db); }
};

TEST_F(SettlementMatchingTest, AnExpenseOf700IsMatchedAgainstAnAdvanceOf1000) {
    const int64_t advance = t::insertAdvance(db, "1000");
    frmpettycash& w = newVoucher(kSpentFromAdvance, "Asha");
    user::typeText(w.Textpcash[4], "700");
    expectPick(advance);
    ASSERT_TRUE(user::click(w.ButtonMatchwith));
    EXPECT_EQ(w.Textpcash[9].text(), std::to_string(advance));
    EXPECT_TRUE(w.Textpcash[9].dataChanged()) << "the save writes the box";
    EXPECT_TRUE(w.LabelVoucherBalance.visible());
    EXPECT_EQ(w.LabelVoucherBalance.caption(),
              "(vouch. no " + std::to_string(advance) +
                  ") Advance : 1000   total settled before this : 0   balance before this: 1000");
    EXPECT_EQ(w.Textpcash[3].text(), "") << "the cash boxes stay shut on an expense";
    EXPECT_TRUE(ui.journal().empty());
    expectHandOverCleared();
}

struct CashCase {
    const char* name;
    const char* type;
    const char* typed;
    bool accepted;
    Lines journal;
};

TEST_F(SettlementMatchingTest, TheAdvancesAccountHasALineOfItsOwnWideEnoughForItsLongestText) {
    frmpettycash& w = newVoucher(kSpentFromAdvance, "Asha");
    const forms::Label& line = w.LabelVoucherBalance;
    const std::string longest = advanceAccountText(2147483647, *vb::Currency::fromDecimalText("-9999999.9999"),
                                                   *vb::Currency::fromDecimalText("9999999.9999"));
    // 90 twips (6 pixels) a character: more than the window's 8-point font takes on average.
    EXPECT_GE(line.width(), static_cast<int>(90 * longest.size())) << longest;
    EXPECT_EQ(line.container(), &w.Frame4);
    EXPECT_LE(line.left() + line.width(), w.Frame4.width());
    EXPECT_LE(line.top() + line.height(), w.Frame4.height());
    for (forms::Control* other : w.controls()) {
        if (other == &line || other->container() != &w.Frame4 || !other->visible()) continue;
        const bool apart = other->left() >= line.left() + line.width() || line.left() >= other->left() + other->width() ||
                           other->top() >= line.top() + line.height() || line.top() >= other->top() + other->height();
        EXPECT_TRUE(apart) << other->name();
    }
    EXPECT_LE(w.Frame4.top() + w.Frame4.height(), w.cmdadd.top()) << "the frame stands above the buttons";
}

TEST_F(SettlementMatchingTest, CashIsHeldAgainstTheOpenBalanceOfTheAdvance) {
    const std::string overTaken =
        "msgbox: Advance is 1000 Total balance = 300 !  You are taking more cash (400) than Asha owes! Please give "
        "cash to Asha if you want to settle balance!\"";
    const std::vector<CashCase> cases = {
        {"cash back of all that is open", kCashReceivedForSettlement, "300", true, {}},
        {"cash back of part of it", kCashReceivedForSettlement, "200", true, {}},
        {"cash back above the open balance", kCashReceivedForSettlement, "400", false, {"beep", overTaken}},
        {"cash given against an advance still held", kCashGivenForSettlement, "50", false,
         {"beep", "msgbox: Advance is 1000. Total balance is 300.  You are giving him 50  for settlement. You are "
                  "overpaying 350 to Asha! Please take back 350 from Asha if you want to settle balance!"}},
        {"a cash amount of 0", kCashReceivedForSettlement, "0", false, {}},
    };
    // Cash in hand for the cash given back.
    t::insertVoucher(db, {.transType = "Cash transfer to PC", .debit = t::money("5000"), .matchRequired = "No"});
    const int64_t advance = t::insertAdvance(db, "1000");
    t::insertExpense(db, advance, "700");
    for (const CashCase& c : cases) {
        SCOPED_TRACE(c.name);
        frmpettycash& w = newVoucher(c.type, "Asha");
        forms::TextBox& cash = w.Textpcash[c.type == std::string(kCashGivenForSettlement) ? 2 : 3];
        user::typeText(cash, c.typed);
        expectPick(advance);
        expectMessagesOf(c.journal);
        ASSERT_TRUE(user::click(w.ButtonMatchwith));
        EXPECT_EQ(ui.journalLines(), c.journal);
        EXPECT_EQ(w.Textpcash[9].text(), c.accepted ? std::to_string(advance) : "");
        EXPECT_EQ(cash.text(), c.typed) << "a typed amount is never replaced";
        expectHandOverCleared();
        dropNewVoucher(w);
    }
}

struct FillCase {
    const char* type;
    const char* expense;  // the declared expenses against the advance of 1000
    int cashBox;
    const char* filled;
    Lines journal;
};

TEST_F(SettlementMatchingTest, AnEmptyOpenCashBoxOfANewVoucherTakesWhatIsOpenOnTheAdvance) {
    const std::vector<FillCase> cases = {
        {kCashReceivedForSettlement, "700", 3, "300", {}},
        {kCashGivenForSettlement, "1200", 2, "200",
         {"beep", "msgbox: Note: Advance is 1000. Total balance is -200.  You are giving him   for settlement. You "
                  "need to still give 200 to Asha."}},
    };
    for (const FillCase& c : cases) {
        SCOPED_TRACE(c.type);
        db.execute("DELETE FROM pettycash");
        const int64_t advance = t::insertAdvance(db, "1000");
        t::insertExpense(db, advance, c.expense);
        frmpettycash& w = newVoucher(c.type, "Asha");
        w.Textpcash[4].setText("5");  // left from another type: the boxes are not all empty
        expectPick(advance);
        expectMessagesOf(c.journal);
        ASSERT_TRUE(user::click(w.ButtonMatchwith));
        EXPECT_EQ(ui.journalLines(), c.journal);
        EXPECT_EQ(w.Textpcash[9].text(), std::to_string(advance));
        EXPECT_EQ(w.Textpcash[c.cashBox].text(), c.filled);
        EXPECT_EQ(w.Textpcash[5 - c.cashBox].text(), "") << "the other cash box is shut";
        dropNewVoucher(w);
    }
}

struct RefusalCase {
    const char* name;
    const char* type;
    const char* employee;
    const char* expense;
    bool adding;
    Lines journal;
};

TEST_F(SettlementMatchingTest, TheMatchButtonRefusesBeforeThePickerOpens) {
    t::insertAdvance(db, "1000");
    const std::vector<RefusalCase> cases = {
        {"not a settlement", "Reimbursed from pettycash", "Asha", "", true,
         {"beep", "msgbox: This entry cannot be settled against an advance!"}},
        {"no current voucher", kSpentFromAdvance, "Asha", "5", false, {"beep"}},
        {"no receiver", kSpentFromAdvance, "", "5", true, {"beep", "msgbox: You need to select the name of the receiver!"}},
        {"no expense", kSpentFromAdvance, "Asha", "", true,
         {"beep", "msgbox: You need to enter the expense from advance for settlement!!"}},
        {"an expense of 0", kSpentFromAdvance, "Asha", "0.00", true,
         {"beep", "msgbox: You need to enter the expense from advance for settlement!!"}},
        {"no amount at all", kCashReceivedForSettlement, "Asha", "", true, {"beep", "msgbox: Amount?"}},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        frmpettycash& w = newVoucher(c.type, c.employee);
        if (!c.adding) {
            w.datPrimaryRS.recordset().cancelUpdate();
            w.datPrimaryRS.recordset().moveFirst();
            w.Textpcash[8].setText("");
            w.Combopcashtype.setText(c.type);
            // The display shuts a saved row's frame and button to the normal
            // user; the match button's own guard is what is tested here.
            w.Frame4.setEnabled(true);
            w.ButtonMatchwith.setEnabled(true);
        }
        w.Textpcash[4].setText(c.expense);
        ui.clearJournal();
        expectMessagesOf(c.journal);
        if (c.type == std::string("Reimbursed from pettycash")) {
            // The type rules shut the button for such a type; its handler still refuses.
            EXPECT_FALSE(w.ButtonMatchwith.enabled());
            w.ButtonMatchwith_Click();
        } else {
            ASSERT_TRUE(user::click(w.ButtonMatchwith));
        }
        EXPECT_EQ(ui.journalLines(), c.journal);
        EXPECT_TRUE(host.modalsShown().empty()) << "the picker did not open";
        EXPECT_EQ(w.Textpcash[9].text(), "");
        if (c.adding) dropNewVoucher(w);
        else w.datPrimaryRS.refresh();  // the boxes typed over are read afresh
    }
}

TEST_F(SettlementMatchingTest, CancelInThePickerWritesNothing) {
    t::insertAdvance(db, "1000");
    frmpettycash& w = newVoucher(kSpentFromAdvance, "Asha");
    user::typeText(w.Textpcash[4], "700");
    expectPick(0);
    ASSERT_TRUE(user::click(w.ButtonMatchwith));
    EXPECT_EQ(w.Textpcash[9].text(), "");
    EXPECT_FALSE(w.LabelVoucherBalance.visible());
    EXPECT_TRUE(ui.journal().empty());
    expectHandOverCleared();
}

TEST_F(SettlementMatchingTest, ACheckTheBookCannotAnswerIsReportedAndMatchesNothing) {
    const int64_t advance = t::insertAdvance(db, "1000");
    frmpettycash& w = newVoucher(kSpentFromAdvance, "Asha");
    user::typeText(w.Textpcash[4], "700");
    host.expectModal<frmselectvoucher>("frmselectvoucher", [&](frmselectvoucher& f) {
        // The settled total cannot be read once the picker has closed.
        db.execute("ALTER TABLE pettycash RENAME COLUMN expensefromadvance TO spent");
        user::click(f.trfr);
    });
    ui.expectMessage(kUnreadableColumnError);
    ASSERT_TRUE(user::click(w.ButtonMatchwith));
    db.execute("ALTER TABLE pettycash RENAME COLUMN spent TO expensefromadvance");
    EXPECT_EQ(ui.journalLines(), (Lines{"beep", "msgbox: " + std::string(kUnreadableColumnError)}));
    EXPECT_EQ(w.Textpcash[9].text(), "");
    expectHandOverCleared();
    (void)advance;
}

TEST_F(SettlementMatchingTest, ASavedCashRowBeingChangedCountsItsBoxNotItsStoredAmount) {
    const int64_t advance = t::insertAdvance(db, "1000");
    t::insertExpense(db, advance, "700");
    const int64_t cash =
        t::insertVoucher(db, {.transType = kCashReceivedForSettlement, .debit = t::money("300"), .matchWith = advance});
    frmpettycash& w = shown();
    w.datPrimaryRS.recordset().moveLast();
    ASSERT_EQ(w.Textpcash[8].text(), std::to_string(cash));
    EXPECT_TRUE(w.ValidateSettlement(static_cast<int32_t>(advance)));
    EXPECT_EQ(w.LabelVoucherBalance.caption(),
              "(vouch. no " + std::to_string(advance) +
                  ") Advance : 1000   total settled before this : 700   balance before this: 300");
    w.Textpcash[3].setText("301");
    ui.expectMessage(
        "Advance is 1000 Total balance = 300 !  You are taking more cash (301) than Asha owes! Please give cash to "
        "Asha if you want to settle balance!\"");
    EXPECT_FALSE(w.ValidateSettlement(static_cast<int32_t>(advance)));
}

TEST_F(SettlementMatchingTest, AnAdvanceThatIsNoneOrGaveNothingIsRefusedWithoutABeep) {
    const int64_t empty = t::insertVoucher(db, {.credit = jet::Value()});
    frmpettycash& w = newVoucher(kCashReceivedForSettlement, "Asha");
    w.Textpcash[3].setText("10");
    ui.expectMessage("The voucher against which you are settling this voucher is not valid!");
    EXPECT_FALSE(w.ValidateSettlement(static_cast<int32_t>(empty + 50)));
    ui.expectMessage("The voucher against which you are settling this voucher has cash-out column = 0 !");
    EXPECT_FALSE(w.ValidateSettlement(static_cast<int32_t>(empty)));
    EXPECT_EQ(ui.beepCount(), 0);
    EXPECT_FALSE(w.LabelVoucherBalance.visible());
}

TEST_F(SettlementMatchingTest, TheGroupIsMarkedSettledExactlyWhenItTallies) {
    const int64_t advance = t::insertAdvance(db, "1000");
    const int64_t first = t::insertExpense(db, advance, "700");
    t::insertExpense(db, advance, "300");
    t::insertVoucher(db, {.transType = kSpentFromAdvance, .expenseFromAdvance = t::money("90"),
                          .matchWith = advance, .closed = "Yes"});
    const int64_t other = t::insertAdvance(db, "20");
    frmpettycash& w = shown();
    w.datPrimaryRS.recordset().moveFirst();
    const std::string lead = "Advance Voucher No: " + std::to_string(advance) +
                             "    Amount given : 1000  Expense declared/Amount received : ";

    // The save that makes the settled total equal the advance.
    ui.expectMessage(lead + "1000   Balance to be settled: 0 (Asha has settled the advance voucher fully).");
    ui.expectMessage("Advance issued is 1000 (voucher No: " + std::to_string(advance) +
                     ") Total settlements matched against this advance is =1000. Credits and debits tally and will "
                     "be marked as settled.");
    w.TallyAdvanceSettlement(advance);
    EXPECT_EQ(flags(), (Lines{"Yes", "Yes", "Yes", "Yes", "No"})) << "a closed row of the group too";
    EXPECT_EQ(w.datPrimaryRS.recordset().absolutePosition(), 1) << "the cursor moved one row on";
    EXPECT_EQ(w.Textpcash[11].text(), "Yes") << "the register shows the new flag";

    // An edit that breaks the tally.
    db.execute("UPDATE pettycash SET expensefromadvance = 800 WHERE VoucherID = ?", {first});
    ui.clearJournal();
    ui.expectMessage(lead + "1100   Balance to be settled: -100 (money to be given from petttcash) to Asha. ");
    ui.expectMessage("Some of the pettycash record(s) matched against " + std::to_string(advance) +
                     "is/are marked as settled ! They will be marked as unsettled!");
    w.TallyAdvanceSettlement(advance);
    EXPECT_EQ(ui.journalLines().at(1), "beep");
    EXPECT_EQ(flags(), (Lines{"No", "No", "No", "No", "No"}));

    // Nothing marked settled: only the balance, nothing written.
    ui.clearJournal();
    ui.expectMessage(lead + "1100   Balance to be settled: -100 (money to be given from petttcash) to Asha. ");
    w.TallyAdvanceSettlement(advance);
    EXPECT_EQ(ui.journal().size(), 1u);
    EXPECT_EQ(flags(), (Lines{"No", "No", "No", "No", "No"}));
    (void)other;
}

TEST_F(SettlementMatchingTest, AnAdvanceLeftMarkedSettledAloneIsMarkedUnsettledWhenItNoLongerTallies) {
    // Its settlement rows were deleted after it tallied; a new expense does not settle it.
    const int64_t advance = t::insertVoucher(db, {.credit = t::money("1000"), .matched = "Yes"});
    t::insertExpense(db, advance, "100");
    frmpettycash& w = shown();
    ui.expectMessage("Advance Voucher No: " + std::to_string(advance) +
                     "    Amount given : 1000  Expense declared/Amount received : 100   Balance still to be settled by "
                     "Asha : 900");
    ui.expectMessage("Some of the pettycash record(s) matched against " + std::to_string(advance) +
                     "is/are marked as settled ! They will be marked as unsettled!");
    w.TallyAdvanceSettlement(advance);
    EXPECT_EQ(flags(), (Lines{"No", "No"}));
}

TEST_F(SettlementMatchingTest, TheReTallyOfAVoucherThatIsNoneDoesNothingAndOfAClosedAdvanceRaises) {
    const int64_t closed = t::insertVoucher(db, {.credit = t::money("1000"), .closed = "Yes"});
    t::insertExpense(db, closed, "1000");
    frmpettycash& w = shown();
    w.TallyAdvanceSettlement(closed + 10);
    EXPECT_TRUE(ui.journal().empty());
    EXPECT_THROW(w.TallyAdvanceSettlement(closed), jet::Error);
    EXPECT_TRUE(ui.journal().empty());
    EXPECT_EQ(flags(), (Lines{"No", "No"}));
}

struct WarningCase {
    const char* name;
    const char* type;
    const char* employee;
    bool adding;
    bool noAdvanceMode;
    bool flagShown;
    Lines journal;
};

TEST_F(SettlementMatchingTest, ChoosingAnEmployeeWithOpenAdvancesShowsTheBalanceButtonAndWarnsOfASecondAdvance) {
    t::insertAdvance(db, "1000", "D'Souza");
    t::insertAdvance(db, "5", "Zed");
    const std::string warning =
        "Warning: D'Souza already has pending amount to be settled against advance(s)! You are issuing advance again!";
    const std::vector<WarningCase> cases = {
        {"a second advance", kAdvanceIssued, "D'Souza", true, false, true, {"beep", "beep", "msgbox: " + warning}},
        {"no type yet", "", "D'Souza", true, false, true, {"beep"}},
        {"nothing pending", kAdvanceIssued, "Ben", true, false, false, {}},
        {"a saved voucher", kAdvanceIssued, "Zed", false, false, false, {}},
        {"without advances", kAdvanceIssued, "D'Souza", true, true, false, {}},
    };
    for (const WarningCase& c : cases) {
        SCOPED_TRACE(c.name);
        appState().noAdvanceMode = c.noAdvanceMode;
        appState().registerSaved = true;
        frmpettycash& w = shown();
        w.FlagBalance.setVisible(false);
        if (c.adding) w.datPrimaryRS.recordset().addNew();
        else w.datPrimaryRS.recordset().moveFirst();
        w.Combopcashtype.setText(c.type);
        ui.clearJournal();
        if (c.journal.size() == 3) ui.expectMessage(warning);
        w.DBCombo2.setText(c.employee);
        EXPECT_EQ(ui.journalLines(), c.journal);
        EXPECT_EQ(w.FlagBalance.visible(), c.flagShown);
        EXPECT_FALSE(appState().registerSaved);
        if (c.adding) dropNewVoucher(w);
        else w.datPrimaryRS.updateControls();
    }
}

TEST_F(SettlementMatchingTest, TheBalanceButtonShowsTheEmployeesBalance) {
    t::insertAdvance(db, "1000", "D'Souza");
    frmpettycash& w = newVoucher(kAdvanceIssued, "");
    ui.clearJournal();
    ui.expectMessage(
        "Warning: D'Souza already has pending amount to be settled against advance(s)! You are issuing advance again!");
    w.DBCombo2.setText("D'Souza");
    ASSERT_TRUE(w.FlagBalance.visible());
    std::string shownFor;
    host.expectModal<frmshowbalance>("frmshowbalance", [&](frmshowbalance& f) {
        shownFor = f.caption();
        user::click(f.cmdclose);
    });
    w.SSTab2.setTab(1);
    ASSERT_TRUE(user::click(w.FlagBalance));
    EXPECT_EQ(shownFor, "Total settlement balance for D'Souza : 1000");
    w.datPrimaryRS.recordset().cancelUpdate();
}

}  // namespace
}  // namespace petty
