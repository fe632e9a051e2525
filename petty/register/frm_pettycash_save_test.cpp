#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "petty/register/register_save_test_support.h"
#include "petty/register/running_balance.h"
#include "platform/vb/date_text.h"

namespace petty {
namespace {

using testing::kApprovalUser;
using testing::kUser;
namespace user = forms::user;

class SaveTest : public testing::RegisterSaveTest {
protected:
    // A reimbursement of 100 to Asha in the open period, already in the book
    // after the fund's 5000.
    int64_t bookedCashOut() {
        fund("5000");
        testing::Voucher v;
        v.credit = money("100");
        const int64_t id = insert(v);
        setColumn(id, "Employee", "Asha");
        setColumn(id, "Head", "Travel");
        setColumn(id, "Narration", "taxi");
        setColumn(id, "Enteredby", kUser);
        return id;
    }

    // The approval user's register, its last voucher open for change.
    frmpettycash& openedForChange() {
        appState().superUserLogin = true;
        appState().currentUserName = kApprovalUser;
        frmpettycash& w = shownRegister();
        ui.expectMessage("You can edit the transaction now...");
        EXPECT_TRUE(user::click(w.cmdEdit));
        return w;
    }

    static void retype(forms::TextBox& box, const std::string& text) { ASSERT_TRUE(user::editText(box, text)); }
};

TEST_F(SaveTest, ANewCashOutVoucherIsStoredAndTheRegisterEndsOnIt) {
    fund("5000");
    frmpettycash& w = shownRegister();
    enter(w, Entry().cashOut("100"));
    EXPECT_FALSE(appState().registerSaved);
    ASSERT_TRUE(user::click(w.cmdupdate));

    ASSERT_EQ(count("SELECT count(*) FROM pettycash"), 2);
    const int64_t id = lastVoucherId();
    EXPECT_EQ(stored(id, "Credit").asCurrency(), vb::Currency::fromWhole(100));
    EXPECT_TRUE(stored(id, "Debit").isNull());
    EXPECT_EQ(stored(id, "Enteredby").asText(), kUser);
    EXPECT_EQ(stored(id, "Enteredon").asText(), jet::Value(clock.now()).asText());
    EXPECT_EQ(stored(id, "Time").asText(), "09:30:15");
    EXPECT_EQ(stored(id, "Closed").asText(), "No");
    EXPECT_EQ(stored(id, "TermID").asLong(), 2405150900);
    EXPECT_EQ(stored(id, "runningbalance").asCurrency(), vb::Currency::fromWhole(4900));
    EXPECT_EQ(count("SELECT count(*) FROM changelog"), 0);

    EXPECT_TRUE(appState().registerSaved);
    EXPECT_FALSE(w.editMode);
    EXPECT_TRUE(w.TDBGrid1.enabled());
    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::None);
    EXPECT_EQ(w.Textpcash[kVoucherIdBox].text(), std::to_string(id));
    EXPECT_EQ(ui.mousePointer(), forms::vbCustom);
    EXPECT_EQ(w.Label2.caption(),
              "Pettycash ( Cash fill: 5000    Total expenses: 100    Amount not settled: 0    Cash-in-hand: 4900 )");
}

// After every save the register holds the open rows in running order (date,
// time, voucher number), the cursor on the saved voucher (a back-dated one
// too), whether the saved row was moved into place or every row read again.
TEST_F(SaveTest, AfterEverySaveTheRegisterHoldsTheOpenRowsInRunningOrder) {
    fund("5000");
    for (const auto& [date, time] : {std::pair<const char*, const char*>{"2024-05-10", "09:30:15"},
                                     {"2024-05-10", "09:30:15"},
                                     {"2024-05-12", "08:00:00"},
                                     {"2024-05-14", "17:45:00"}}) {
        testing::Voucher v;
        v.date = date;
        v.time = time;
        v.credit = money("10");
        insert(v);
    }
    testing::Voucher closed;
    closed.closed = "Yes";
    insert(closed);
    frmpettycash& w = shownRegister();

    const auto registerRows = [&] {
        std::vector<int64_t> ids;
        forms::DataRecordset& rows = w.datPrimaryRS.recordset();
        for (int64_t i = 0; i < rows.recordCount(); ++i)
            ids.push_back(rows.rowAt(i)[rows.fieldIndex("VoucherID")].asLong());
        return ids;
    };
    const auto runningOrder = [&] {
        std::vector<int64_t> ids;
        for (jet::Recordset r = db.openRecordset(std::string(kOpenRowsInRunningOrder)); !r.eof(); r.moveNext())
            ids.push_back(r.field("VoucherID").asLong());
        return ids;
    };
    struct Save {
        const char* what;
        const char* date;     // typed into the date box; empty: left as it is
        bool edit;            // the approval user's change of the row shown
        bool bookedMeanwhile; // a row stored by other means since the register last read its rows
    };
    const Save saves[] = {
        {"new, amid rows of the same date and time", "10/05/2024", false, false},
        {"new, after every row", "", false, false},
        {"new, before every row", "01/05/2024", false, false},
        {"the last row moved back amid others", "12/05/2024", true, false},
        {"new, with a row booked meanwhile", "11/05/2024", false, true},
        {"new, after every row again", "", false, false},
        {"the last row moved near the start", "02/05/2024", true, false},
    };
    for (const Save& save : saves) {
        SCOPED_TRACE(save.what);
        if (save.bookedMeanwhile) {
            testing::Voucher v;
            v.date = "2024-05-11";
            v.credit = money("1");
            insert(v);
        }
        // The approval user changes the row; the user adds rows.
        appState().superUserLogin = save.edit;
        appState().currentUserName = save.edit ? kApprovalUser : kUser;
        w.datPrimaryRS.userArrow(forms::DataControl::Arrow::Last);  // the buttons shown for who works now
        if (save.edit) {
            ui.expectMessage("You can edit the transaction now...");
            ASSERT_TRUE(user::click(w.cmdEdit));
        } else {
            enter(w, Entry().cashOut("1"));
        }
        if (*save.date) ASSERT_TRUE(user::editText(w.Textpcash[kDateBox], save.date));
        const std::string edited = w.Textpcash[kVoucherIdBox].text();
        ASSERT_TRUE(user::click(w.cmdupdate));
        ASSERT_FALSE(w.datPrimaryRS.addingRow()) << "the voucher was saved";
        EXPECT_EQ(registerRows(), runningOrder());
        // The saved voucher stays the one shown, wherever its date put it.
        const int64_t saved = save.edit ? std::stoll(edited) : count("SELECT max(voucherid) FROM pettycash");
        const std::vector<int64_t> order = runningOrder();
        EXPECT_EQ(w.Textpcash[kVoucherIdBox].text(), std::to_string(saved));
        EXPECT_EQ(w.datPrimaryRS.recordset().absolutePosition(),
                  std::find(order.begin(), order.end(), saved) - order.begin());
    }
    EXPECT_NO_THROW(ui.verifyDone());
}

TEST_F(SaveTest, AVoucherDatedBeforeItsPeriodsCarryOverIsRefused) {
    testing::Voucher carryover;
    carryover.transType = "Carryover";
    carryover.debit = money("300");
    insert(carryover);  // 15 May 2024 09:00:00 opens the period
    frmpettycash& w = shownRegister();
    enter(w, Entry().cashOut("100"));
    const std::string dayBefore = vb::formatShortDate(*vb::DateTime::fromParts(2024, 5, 14));
    retype(w.Textpcash[kDateBox], dayBefore);
    const std::string refusal = "This voucher is dated before the carry-over that opens pettycash period 2405150900 (" +
                                vb::formatShortDate(*vb::DateTime::fromParts(2024, 5, 15)) +
                                " 09:00:00). Enter a date and time on or after it!";
    ui.expectMessage(refusal);
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(count("SELECT count(*) FROM pettycash"), 1) << "nothing stored";
    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::Add) << "the voucher stays to be corrected";
    EXPECT_TRUE(w.Textpcash[kDateBox].hasFocus());

    // Earlier on the carry-over's own day is still before it; later that day is after it.
    retype(w.Textpcash[kDateBox], vb::formatShortDate(*vb::DateTime::fromParts(2024, 5, 15)));
    retype(w.Textpcash[kTimeBox], "08:59:59");
    ui.expectMessage(refusal);
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(count("SELECT count(*) FROM pettycash"), 1);
    retype(w.Textpcash[kTimeBox], "09:00:00");
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(count("SELECT count(*) FROM pettycash"), 2);
    EXPECT_EQ(stored(lastVoucherId(), "runningbalance").asCurrency(), vb::Currency::fromWhole(200));
}

TEST_F(SaveTest, TheApprovalUsersEditOfTheCashOutIsLogged) {
    const int64_t id = bookedCashOut();
    frmpettycash& w = openedForChange();
    retype(w.Textpcash[kCreditBox], "150");
    ASSERT_TRUE(user::click(w.cmdupdate));

    EXPECT_EQ(stored(id, "Credit").asCurrency(), vb::Currency::fromWhole(150));
    EXPECT_EQ(stored(id, "Enteredby").asText(), kApprovalUser);
    EXPECT_EQ(rowsOf("changelog"),
              (std::vector<std::string>{jet::Value(clock.now()).asText() + "|Boss|Credit changed from 100 to 150|" +
                                        std::to_string(id) + "|"}));
    EXPECT_FALSE(w.editMode);
    EXPECT_EQ(w.editedVoucherId, 0);
    EXPECT_TRUE(w.changeLogText.empty());
}

TEST_F(SaveTest, AnEditOfAmountAndEmployeeLogsBothCutToWhatTheLogHolds) {
    const int64_t id = bookedCashOut();
    frmpettycash& w = openedForChange();
    const std::string receiver(80, 'x');
    retype(w.Textpcash[kCreditBox], "150");
    ASSERT_TRUE(user::editText(w.DBCombo2, receiver));
    ASSERT_TRUE(user::click(w.cmdupdate));
    const std::string logged = ("Credit changed from 100 to 150 Asha -> " + receiver).substr(0, 100);
    EXPECT_EQ(rowsOf("changelog"), (std::vector<std::string>{jet::Value(clock.now()).asText() + "|Boss|" + logged +
                                                             "|" + std::to_string(id) + "|"}));
    EXPECT_EQ(stored(id, "Employee").asText(), receiver);
}

TEST_F(SaveTest, AnEditOfOtherColumnsOnlyWritesNoChangeLogRow) {
    const int64_t id = bookedCashOut();
    frmpettycash& w = openedForChange();
    retype(w.Textpcash[kNarrationBox], "taxi to the bank and back");
    retype(w.Textpcash[kCreditBox], "100.00");
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(stored(id, "Narration").asText(), "taxi to the bank and back");
    EXPECT_EQ(count("SELECT count(*) FROM changelog"), 0);
}

TEST_F(SaveTest, AnEmptiedAmountIsStoredEmpty) {
    // A reimbursement that also carries a cash-in amount: the save's type rules
    // empty the cash-in box, which the type does not use.
    testing::Voucher v;
    v.credit = money("100");
    v.debit = money("40");
    const int64_t id = insert(v);
    setColumn(id, "Employee", "Asha");
    setColumn(id, "Head", "Travel");
    setColumn(id, "Narration", "taxi");
    frmpettycash& w = openedForChange();
    retype(w.Textpcash[kNarrationBox], "taxi and tip");
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_TRUE(stored(id, "Debit").isNull());
    EXPECT_EQ(stored(id, "Credit").asCurrency(), vb::Currency::fromWhole(100));
    ASSERT_EQ(rowsOf("changelog").size(), 1u);
    EXPECT_NE(rowsOf("changelog")[0].find("|Debit changed from 40 to |"), std::string::npos);
}

TEST_F(SaveTest, SaveWithNothingChangedIsRefused) {
    bookedCashOut();
    frmpettycash& w = openedForChange();
    const std::vector<std::string> before = rowsOf("pettycash");
    ui.clearJournal();
    ui.expectMessage("You have not made any changes! Nothing to update!!");
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(ui.journalLines(),
              (std::vector<std::string>{"beep", "msgbox: You have not made any changes! Nothing to update!!"}));
    EXPECT_EQ(rowsOf("pettycash"), before);
    EXPECT_TRUE(w.editMode);
}

TEST_F(SaveTest, ARefusalLeavesTheRowPendingAndMovesTheFocusToTheFieldAtFault) {
    fund("5000");
    frmpettycash& w = shownRegister();
    enter(w, Entry().cashOut("100").narrated(""));
    appState().registerSaved = false;
    ui.expectMessage("Please enter narration for the transaction!");
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_TRUE(w.Textpcash[kNarrationBox].hasFocus());
    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::Add);
    EXPECT_FALSE(appState().registerSaved);
    EXPECT_EQ(count("SELECT count(*) FROM pettycash"), 1);

    ASSERT_TRUE(user::typeText(w.Textpcash[kNarrationBox], "taxi"));
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(count("SELECT count(*) FROM pettycash"), 2);
}

TEST_F(SaveTest, AStoreThatFailsLeavesTheRowPendingAndTheBookUntouched) {
    bookedCashOut();
    frmpettycash& w = shownRegister();
    db.execute(
        "CREATE TRIGGER refuse_voucher BEFORE INSERT ON pettycash BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    const std::vector<std::string> vouchers = rowsOf("pettycash");
    enter(w, Entry().cashOut("75"));
    ui.clearJournal();
    ui.expectMessage("Error 3000 - Reserved error (disk full).");
    ASSERT_TRUE(user::click(w.cmdupdate));

    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::Add);
    EXPECT_EQ(w.Textpcash[kCreditBox].text(), "75");
    EXPECT_FALSE(appState().registerSaved);
    EXPECT_EQ(rowsOf("pettycash"), vouchers);
    EXPECT_EQ(count("SELECT count(*) FROM changelog"), 0);
    EXPECT_FALSE(w.TDBGrid1.enabled());
    EXPECT_EQ(ui.mousePointer(), forms::vbCustom);
}

TEST_F(SaveTest, AnEditWhoseStoreFailsWritesNoChangeLogRow) {
    const int64_t id = bookedCashOut();
    frmpettycash& w = openedForChange();
    db.execute(
        "CREATE TRIGGER refuse_change BEFORE UPDATE ON pettycash BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    const std::vector<std::string> vouchers = rowsOf("pettycash");
    retype(w.Textpcash[kCreditBox], "150");
    appState().registerSaved = false;
    ui.expectMessage("Error 3000 - Reserved error (disk full).");
    ASSERT_TRUE(user::click(w.cmdupdate));

    EXPECT_EQ(rowsOf("pettycash"), vouchers);
    EXPECT_EQ(count("SELECT count(*) FROM changelog"), 0);
    EXPECT_FALSE(appState().registerSaved);
    EXPECT_TRUE(w.editMode);
    EXPECT_EQ(w.editedVoucherId, id);
    EXPECT_EQ(w.Textpcash[kCreditBox].text(), "150");
    EXPECT_TRUE(w.Textpcash[kCreditBox].dataChanged());
}

TEST_F(SaveTest, TheTimeIsStoredAsHoursMinutesAndSeconds) {
    fund("5000");
    frmpettycash& w = shownRegister();
    enter(w, Entry().cashOut("100"));
    retype(w.Textpcash[kTimeBox], "9:05");
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(stored(lastVoucherId(), "Time").asText(), "09:05:00");
}

TEST_F(SaveTest, ARowWithoutPeriodIdGetsTheOpenPeriodsIdWhichStaysWhenALaterRuleRefuses) {
    bookedCashOut();
    frmpettycash& w = shownRegister();
    enter(w, Entry().to("").cashOut("30"));
    w.Textpcash[kTermIdBox].setText("0");
    ui.expectMessage("Please select staff/account!");
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(w.Textpcash[kTermIdBox].text(), "2405150900");
}

TEST_F(SaveTest, ASettlementAgainstAnotherEmployeesAdvanceIsRefused) {
    fund("5000");
    frmpettycash& w = shownRegister();
    enter(w, Entry().ofType("Advance Issued from PC").to("Ben").cashOut("500"));
    ASSERT_TRUE(user::click(w.cmdupdate));
    const int64_t advance = lastVoucherId();
    enter(w, Entry().ofType("Spent from Advance issued").to("Asha").spent("50"));
    w.Textpcash[kMatchwithBox].setText(std::to_string(advance));
    ui.expectMessage("This voucher is settled against voucher no: " + std::to_string(advance) +
                     " which seems to be associated with Ben! Please correct the error!");
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(count("SELECT count(*) FROM pettycash"), 2);
}

TEST_F(SaveTest, ASettlementNamingNoVoucherEndsTheSaveWithTheLookupError) {
    frmpettycash& w = shownRegister();
    enter(w, Entry().ofType("Spent from Advance issued").spent("50"));
    w.Textpcash[kMatchwithBox].setText("99");
    ui.expectMessage("Error 3021 - No current record.");
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(count("SELECT count(*) FROM pettycash"), 0);
    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::Add);
}

TEST_F(SaveTest, ASecondAdvanceIsGivenOnlyWhenTheUserConfirmsIt) {
    testing::Voucher first;
    first.transType = "Advance Issued from PC";
    first.credit = money("500");
    first.matchRequired = "Yes";
    setColumn(insert(first), "Employee", "O'Brien");
    fund("5000");
    frmpettycash& w = shownRegister();
    // The employee's name holds a quote: it is an ordinary name to the checks.
    ui.expectMessage(
        "Warning: O'Brien already has pending amount to be settled against advance(s)! You are issuing advance again!");
    enter(w, Entry().ofType("Advance Issued from PC").to("O'Brien").cashOut("200"));
    const std::string question =
        "There seems to be 1 pettycash records for O'Brien which are not settled yet. Are you sure you want to give "
        "advance to O'Brien ? ";
    ui.clearJournal();
    ui.expectMessage(question, forms::MsgResult::No);
    ui.expectMessage("You can cancel the record now.");
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(ui.journalLines(),
              (std::vector<std::string>{"beep", "beep", "msgbox YesNo: " + question + " -> No",
                                        "msgbox: You can cancel the record now."}));
    EXPECT_EQ(count("SELECT count(*) FROM pettycash"), 2);
    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::Add);

    ui.expectMessage(question, forms::MsgResult::Yes);
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(count("SELECT count(*) FROM pettycash"), 3);
}

TEST_F(SaveTest, AnAdvanceEditedAndSavedCarriesItsOwnNumberForGrouping) {
    testing::Voucher v;
    v.transType = "Advance Issued from PC";
    v.credit = money("500");
    v.matchRequired = "Yes";
    const int64_t id = insert(v);
    setColumn(id, "Employee", "Asha");
    setColumn(id, "Narration", "trip");
    frmpettycash& w = openedForChange();
    retype(w.Textpcash[kNarrationBox], "trip to the coast");
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(stored(id, "VoucherIDforGrouping").asLong(), id);
}

TEST_F(SaveTest, ARowOfAnotherTypeLosesTheGroupingItCarried) {
    const int64_t id = bookedCashOut();
    setColumn(id, "VoucherIDforGrouping", 7);
    frmpettycash& w = openedForChange();
    retype(w.Textpcash[kNarrationBox], "taxi and tip");
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(stored(id, "VoucherIDforGrouping").asLong(), 0);
}

TEST_F(SaveTest, AnEditedSettlementReTalliesItsAdvanceOnlyWhenItsAmountChanged) {
    fund("5000");
    testing::Voucher advance;
    advance.transType = "Advance Issued from PC";
    advance.credit = money("1000");
    advance.matchRequired = "Yes";
    const int64_t a = insert(advance);
    setColumn(a, "Employee", "Asha");
    testing::Voucher expense;
    expense.transType = "Spent from Advance issued";
    expense.expenseFromAdvance = money("700");
    expense.matchRequired = "Yes";
    const int64_t e = insert(expense);
    for (const auto& [column, value] : {std::pair<const char*, jet::Value>{"Employee", "Asha"},
                                        {"Head", "Travel"},
                                        {"Narration", "hotel"},
                                        {"Matchwith", a}})
        setColumn(e, column, value);

    frmpettycash& w = openedForChange();
    retype(w.Textpcash[kNarrationBox], "hotel, two nights");
    ASSERT_TRUE(user::click(w.cmdupdate));  // no amount changed: no tally, no message
    EXPECT_EQ(stored(e, "Narration").asText(), "hotel, two nights");

    ui.expectMessage("You can edit the transaction now...");
    ASSERT_TRUE(user::click(w.cmdEdit));
    retype(w.Textpcash[kExpenseFromAdvanceBox], "1000");
    const std::string number = std::to_string(a);
    ui.expectMessage("Advance Voucher No: " + number +
                     "    Amount given : 1000  Expense declared/Amount received : 1000   Balance to be settled: 0 (Asha "
                     "has settled the advance voucher fully).");
    ui.expectMessage("Advance issued is 1000 (voucher No: " + number +
                     ") Total settlements matched against this advance is =1000. Credits and debits tally and will be "
                     "marked as settled.");
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(stored(a, "Matched").asText(), "Yes");
    EXPECT_EQ(stored(e, "Matched").asText(), "Yes");
    EXPECT_EQ(rowsOf("changelog").size(), 1u);
}

TEST_F(SaveTest, ASaveAfterTheRegisterOpenedWithoutAnyPeriodShowsTheNewPeriodInTheTitle) {
    frmpettycash& w = shownRegister();
    ASSERT_TRUE(w.noPeriodAtLoad);
    enter(w, Entry().ofType("Cash transfer to PC").cashIn("100"));
    ASSERT_TRUE(user::click(w.cmdupdate));
    EXPECT_EQ(w.caption(), "Petty cash  Running Pettycash period ID : 2405150930");
}

}  // namespace
}  // namespace petty
