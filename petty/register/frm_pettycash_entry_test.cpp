#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/voucher_entry_test_support.h"
#include "platform/forms/forms.h"
#include "platform/vb/clock.h"
#include "platform/vb/date_text.h"

namespace petty {
namespace {

namespace user = forms::user;

constexpr const char* kRowPending =
    "You have added/edited petty cash record. Please update it or cancel it before adding a new entry!!";
constexpr const char* kFieldChanged =
    "You have edited petty cash record. Please update it or cancel it before adding a new entry!!";
constexpr PeriodId kOpenPeriod = 2405150900;

class VoucherEntryWindowTest : public testing::VoucherEntryTest {
protected:
    VoucherEntryWindowTest() { appState().currentUserName = "Ravi"; }

    vb::FixedClock clock{*vb::DateTime::fromParts(2026, 3, 5, 14, 7, 9)};
    vb::ScopedClock useClock{clock};
};

// The pending-change guard.

struct WatchCase {
    std::string field;
    bool watched;
};

TEST_F(VoucherEntryWindowTest, TheGuardWatchesTheFirstEighteenBoxesAndTheThreeCombos) {
    insert({});
    frmpettycash& w = shownRegister();
    std::vector<std::pair<forms::Bindable*, WatchCase>> cases;
    for (int i = 0; i <= 22; ++i) cases.push_back({&w.Textpcash[i], {"Textpcash(" + std::to_string(i) + ")", i <= 17}});
    cases.push_back({&w.Combopcashtype, {"type", true}});
    cases.push_back({&w.Combopcashhead, {"head", true}});
    cases.push_back({&w.DBCombo2, {"employee", true}});
    cases.push_back({&w.dbCombo3, {"cost centre", false}});
    for (auto& [control, c] : cases) {
        SCOPED_TRACE(c.field);
        ui.clearJournal();
        control->setDataChanged(true);
        if (c.watched) ui.expectMessage(kFieldChanged);
        EXPECT_EQ(w.CheckPendingEdit(true), !c.watched);
        EXPECT_EQ(ui.beepCount(), c.watched ? 1 : 0);
        // Without messages the guard still beeps.
        EXPECT_EQ(w.CheckPendingEdit(false), !c.watched);
        EXPECT_EQ(ui.beepCount(), c.watched ? 2 : 0);
        control->setDataChanged(false);
    }
}

TEST_F(VoucherEntryWindowTest, AddWhileANewRowIsPendingIsRefusedAndStartsNoSecondRow) {
    insert({});
    frmpettycash& w = shownRegister();
    ASSERT_TRUE(user::click(w.cmdadd));
    ASSERT_TRUE(user::selectComboItem(w.Combopcashtype, "Cash transfer to PC"));
    ASSERT_TRUE(user::typeText(w.Textpcash[kDebitBox], "500"));
    // The display offers no add button while a row is pending; the guard holds on its own too.
    EXPECT_FALSE(w.cmdadd.enabled());
    ui.clearJournal();
    ui.expectMessage(kRowPending);
    w.cmdadd_Click();
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", std::string("msgbox: ") + kRowPending}));
    EXPECT_EQ(w.Textpcash[kDebitBox].text(), "500") << "what the user typed stays";
    EXPECT_EQ(w.Combopcashtype.text(), "Cash transfer to PC");
    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::Add);
    EXPECT_FALSE(w.CheckPendingEdit(false));
}

TEST_F(VoucherEntryWindowTest, AVoucherOpenForChangeIsPendingOnlyOnceAWatchedFieldChanged) {
    appState().superUserLogin = true;
    appState().costCentreEnabled = true;
    insert({.credit = money("250")});
    frmpettycash& w = shownRegister();
    ui.expectMessage("You can edit the transaction now...");
    ASSERT_TRUE(user::click(w.cmdEdit));
    EXPECT_TRUE(w.CheckPendingEdit(true));

    w.dbCombo3.setLocked(false);
    ASSERT_TRUE(user::typeText(w.dbCombo3, "P1"));
    ui.clearJournal();
    EXPECT_TRUE(w.CheckPendingEdit(true)) << "the cost centre is not watched";
    EXPECT_EQ(ui.beepCount(), 0);

    ASSERT_TRUE(user::typeText(w.Textpcash[kNarrationBox], " corrected"));
    ui.expectMessage(kFieldChanged);
    EXPECT_FALSE(w.CheckPendingEdit(true));
    EXPECT_FALSE(w.CheckPendingEdit(false));
    EXPECT_EQ(ui.journalLines(),
              (std::vector<std::string>{"beep", std::string("msgbox: ") + kFieldChanged, "beep"}));
}

// The add button.

TEST_F(VoucherEntryWindowTest, ANewRowCarriesTheValuesTheRegisterFillsInByItself) {
    insert({.transType = "Cash transfer to PC", .debit = money("500")});
    insert({.transType = "Reimbursed from pettycash", .credit = money("120.5")});
    insert({.transType = "Reimbursed from pettycash", .credit = money("999"), .closed = "Yes",
            .termId = int64_t{2404010900}});
    appState().registerSaved = true;
    frmpettycash& w = shownRegister();
    ASSERT_TRUE(user::click(w.cmdadd));

    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::Add);
    EXPECT_EQ(w.Textpcash[kEnteredByBox].text(), "Ravi");
    EXPECT_EQ(w.Textpcash[kDateBox].text(), vb::formatShortDate(*vb::DateTime::fromParts(2026, 3, 5)));
    EXPECT_EQ(w.Textpcash[kTimeBox].text(), "14:07:09");
    EXPECT_EQ(w.Textpcash[kClosedBox].text(), "No");
    EXPECT_EQ(w.Textpcash[kTermIdBox].text(), std::to_string(kOpenPeriod));
    EXPECT_EQ(w.Textpcash[kOpeningBalanceBox].text(), "379.5") << "the cash in hand of the open period";
    EXPECT_EQ(w.Textpcash[kMatchRequiredBox].text(), "");
    EXPECT_EQ(w.Textpcash[kMatchedBox].text(), "");
    EXPECT_EQ(w.editedVoucherId, 0);

    for (forms::TextControl* field : std::vector<forms::TextControl*>{
             &w.Textpcash[kCreditBox], &w.Textpcash[kDebitBox], &w.Textpcash[kExpenseFromAdvanceBox],
             &w.Combopcashhead, &w.DBCombo2}) {
        EXPECT_TRUE(field->locked()) << field->displayName();
        EXPECT_EQ(field->backColor(), forms::vbButtonFace) << field->displayName();
    }
    EXPECT_EQ(w.dbCombo3.backColor(), forms::vbButtonFace);
    EXPECT_EQ(w.Textpcash[kMatchwithBox].backColor(), forms::vbButtonFace);
    EXPECT_FALSE(w.ButtonMatchwith.enabled());
    EXPECT_FALSE(w.TDBGrid1.enabled());
    EXPECT_TRUE(w.Frame1.enabled());
    EXPECT_TRUE(w.cmdupdate.enabled());
    EXPECT_TRUE(w.Combopcashtype.hasFocus());
    EXPECT_FALSE(appState().registerSaved);
    EXPECT_EQ(ui.mousePointerHistory().back(), forms::vbCustom);
    EXPECT_NE(std::find(ui.mousePointerHistory().begin(), ui.mousePointerHistory().end(), forms::vbHourglass),
              ui.mousePointerHistory().end());
    EXPECT_EQ(ui.beepCount(), 0);
    EXPECT_EQ(count("SELECT count(*) FROM pettycash"), 3) << "nothing is written before the save";
}

TEST_F(VoucherEntryWindowTest, WithoutAnOpenPeriodTheNewRowGetsANewPeriodId) {
    insert({.transType = "Cash transfer to PC", .debit = money("500"), .closed = "Yes"});
    frmpettycash& w = shownRegister();
    ASSERT_TRUE(user::click(w.cmdadd));
    EXPECT_EQ(w.Textpcash[kTermIdBox].text(), "2603051407");
    EXPECT_EQ(w.Textpcash[kOpeningBalanceBox].text(), "0");
}

TEST_F(VoucherEntryWindowTest, AFailingStepIsReportedAndTheAddCarriesOn) {
    frmpettycash& w = shownRegister();
    // The book's rows cannot be read any more: the period ID and the balance fail.
    db.execute("ALTER TABLE pettycash RENAME TO pettycash_gone");
    ui.clearJournal();
    const auto missingTable = [](const std::string& name) {
        return "Error 3078 - The database engine cannot find the input table or query '" + name +
               "'. Make sure it exists and that its name is spelled correctly.";
    };
    ui.expectMessage(missingTable("PETTYCASH"));  // the period ID
    ui.expectMessage(missingTable("pettycash"));  // the cash in hand
    ASSERT_TRUE(user::click(w.cmdadd));
    EXPECT_EQ(ui.beepCount(), 2);
    EXPECT_EQ(w.Textpcash[kTermIdBox].text(), "");
    EXPECT_EQ(w.Textpcash[kClosedBox].text(), "No");
    EXPECT_TRUE(w.Combopcashtype.hasFocus());
    EXPECT_FALSE(appState().registerSaved);
    db.execute("ALTER TABLE pettycash_gone RENAME TO pettycash");
}

TEST_F(VoucherEntryWindowTest, WhenNoNewRowCanBeStartedTheSavedRowIsLeftAlone) {
    const int64_t id = insert({.transType = "Reimbursed from pettycash", .credit = money("250")});
    frmpettycash& w = shownRegister();
    appState().registerSaved = true;
    // The row's validation keeps the register on the saved row.
    w.datPrimaryRS.onValidate = [](int& action, bool&) {
        if (action == forms::vbDataActionAddNew) action = forms::vbDataActionCancel;
    };
    ASSERT_TRUE(user::click(w.cmdadd));
    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::None);
    EXPECT_EQ(w.Textpcash[kVoucherIdBox].text(), std::to_string(id));
    EXPECT_EQ(w.Textpcash[kEnteredByBox].text(), "");
    EXPECT_EQ(w.Textpcash[kClosedBox].text(), "No");
    EXPECT_FALSE(w.Textpcash[kTimeBox].dataChanged());
    EXPECT_TRUE(w.CheckPendingEdit(false)) << "nothing was written into the saved row";
    EXPECT_FALSE(w.Frame1.enabled());
    EXPECT_FALSE(w.cmdupdate.enabled());
    EXPECT_TRUE(appState().registerSaved);
    EXPECT_EQ(ui.mousePointer(), forms::vbCustom);
}

// The edit button.

struct EditRefusal {
    std::string name;
    bool approvalUser;
    testing::Voucher voucher;
    std::vector<std::string> journal;
};

TEST_F(VoucherEntryWindowTest, EditRefusalsChangeNothing) {
    const std::string otherPassword =
        "msgbox: If you need to edit data, you need to log-in using the other password. Please note that, in "
        "configuraion module, there are two log-ins. First one is for normal operation, and the second is for "
        "making changes.";
    const std::vector<EditRefusal> cases = {
        {"normal user", false, {}, {otherPassword}},
        {"carry-over", true, {.transType = "Carryover", .debit = money("300")},
         {"beep", "msgbox: Carry-over cannot be edited!"}},
        {"closed row", true, {.closed = "Yes"}, {"beep", "msgbox: Closed!"}},
    };
    for (const EditRefusal& c : cases) {
        SCOPED_TRACE(c.name);
        appState().superUserLogin = c.approvalUser;
        db.execute("DELETE FROM pettycash");
        insert(c.voucher);
        formInstances().releaseAll();
        frmpettycash& w = shownRegister();
        // A closed row is shown once the search takes in every period.
        w.Combo2.setText("No field filter");
        w.Query_Click();
        ui.clearJournal();
        for (const std::string& line : c.journal)
            if (line.rfind("msgbox: ", 0) == 0) ui.expectMessage(line.substr(8));
        // The display hides or disables the button for these rows; the click refuses on its own too.
        w.cmdEdit_Click();
        EXPECT_EQ(ui.journalLines(), c.journal);
        EXPECT_FALSE(w.editMode);
        EXPECT_EQ(w.editedVoucherId, 0);
        EXPECT_FALSE(w.Combopcashtype.locked());
        w.datPrimaryRS.releaseRecordset();
    }
}

TEST_F(VoucherEntryWindowTest, EditOnAnEmptyRegisterOrAPendingRowOnlyBeeps) {
    appState().superUserLogin = true;
    frmpettycash& w = shownRegister();
    EXPECT_FALSE(w.cmdEdit.enabled());
    w.cmdEdit_Click();
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep"}));

    ui.clearJournal();
    w.datPrimaryRS.recordset().addNew();
    w.cmdEdit_Click();
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep"}));
    EXPECT_FALSE(w.editMode);
}

TEST_F(VoucherEntryWindowTest, EditNeedsAVoucherNumber) {
    appState().superUserLogin = true;
    insert({});
    frmpettycash& w = shownRegister();
    w.Textpcash[kVoucherIdBox].setText("");
    ui.expectMessage("You can only edit an existing voucher!");
    w.cmdEdit_Click();
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "msgbox: You can only edit an existing voucher!"}));
    EXPECT_FALSE(w.editMode);
}

TEST_F(VoucherEntryWindowTest, EditOpensTheVoucherAndTakesTheSnapshot) {
    appState().superUserLogin = true;
    const int64_t advance = insert({.transType = "Advance Issued from PC", .credit = money("1000")});
    const int64_t id = insert({.transType = "Cash received for settlement", .debit = money("200.25")});
    setColumn(id, "Employee", "Asha");
    setColumn(id, "Matchwith", advance);
    appState().registerSaved = true;
    frmpettycash& w = shownRegister();
    ASSERT_EQ(w.Textpcash[kVoucherIdBox].text(), std::to_string(id));
    w.ApplyTransactionTypeRules(false);  // as the record display leaves a settlement row
    ASSERT_TRUE(w.ButtonMatchwith.enabled());

    ui.expectMessage("You can edit the transaction now...");
    ASSERT_TRUE(user::click(w.cmdEdit));
    EXPECT_EQ(ui.journalLines(),
              (std::vector<std::string>{"beep", "msgbox: You can edit the transaction now..."}));
    EXPECT_TRUE(w.editMode);
    EXPECT_EQ(w.editedVoucherId, id);
    EXPECT_EQ(w.snapshotDebit, vb::Currency::fromWhole(200) + vb::Currency::fromUnits(2500));
    EXPECT_EQ(w.snapshotCredit, vb::Currency{});
    EXPECT_EQ(w.snapshotExpense, vb::Currency{});
    EXPECT_EQ(w.snapshotEmployee, "Asha");
    EXPECT_EQ(w.snapshotTransType, "Cash received for settlement");
    EXPECT_TRUE(w.Combopcashtype.locked());
    EXPECT_FALSE(w.ButtonMatchwith.enabled()) << "a settlement that names its advance keeps it";
    EXPECT_TRUE(w.Frame1.enabled());
    EXPECT_TRUE(w.Frame2.enabled());
    EXPECT_TRUE(w.cmdupdate.enabled());
    EXPECT_TRUE(appState().registerSaved) << "the edit button writes nothing";

    // A second press warns, then takes the snapshot again from what the boxes show.
    ASSERT_TRUE(user::editText(w.Textpcash[kDebitBox], "180"));
    ui.clearJournal();
    ui.expectMessage("You are already in edit mode yo!");
    ui.expectMessage("You can edit the transaction now...");
    ASSERT_TRUE(user::click(w.cmdEdit));
    EXPECT_EQ(ui.journalLines(),
              (std::vector<std::string>{"beep", "msgbox: You are already in edit mode yo!", "beep",
                                        "msgbox: You can edit the transaction now..."}));
    EXPECT_EQ(w.snapshotDebit, vb::Currency::fromWhole(180));
}

TEST_F(VoucherEntryWindowTest, ASettlementWithoutItsAdvanceKeepsTheMatchButton) {
    appState().superUserLogin = true;
    const int64_t id = insert({.transType = "Spent from Advance issued", .expenseFromAdvance = money("40")});
    setColumn(id, "Matchwith", int64_t{0});
    frmpettycash& w = shownRegister();
    w.ApplyTransactionTypeRules(false);
    ui.expectMessage("You can edit the transaction now...");
    ASSERT_TRUE(user::click(w.cmdEdit));
    EXPECT_TRUE(w.ButtonMatchwith.enabled());
    EXPECT_EQ(w.snapshotExpense, vb::Currency::fromWhole(40));
}

}  // namespace
}  // namespace petty
