#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/register/frm_pettycash.h"
#include "petty/register/period_test_support.h"
#include "petty/shell/frm_select_date.h"
#include "petty/shell/frm_select_project.h"
#include "platform/forms/keys.h"
#include "platform/vb/locale.h"

namespace petty {
namespace {

namespace user = forms::user;

constexpr int kDate = 0, kTime = 1, kCredit = 2, kDebit = 3, kSpentFromAdvance = 4, kNarration = 14;

const std::vector<std::string> kNotADate = {"beep", "beep", "msgbox: Not a valid date!"};
const std::vector<std::string> kNotANumber = {"beep", "beep", "msgbox: Numeric value expected!"};

std::string noBalanceMessage(const std::string& balance) {
    return "You do not have sufficient balance! Pettycash balance is only " + balance +
           " !! You should cancel the entry and refill the pettycash box!!";
}

class EntryFieldTest : public testing::RegisterBookTest {
protected:
    EntryFieldTest() {
        vb::setCurrentLocale(vb::Locale{});  // day/month/year with "/", a point for decimals
        appState().costCentreEnabled = true;
        appState().registerSaved = true;
    }
    ~EntryFieldTest() override { vb::setCurrentLocale(savedLocale); }
    void TearDown() override {
        // The register closes without writing what a test left in its boxes.
        formInstances().get<frmpettycash>().datPrimaryRS.releaseRecordset();
        RegisterBookTest::TearDown();
    }

    // 500 brought in, 120 paid out: 380 in hand. A closed period's cash does not count.
    void cashInHandOf380() {
        insert({.transType = "Cash transfer to PC", .debit = money("500")});
        insert({.transType = "Cash transfer to PC", .debit = money("1000"), .closed = "Yes", .termId = int64_t{1}});
        insert({.credit = money("120")});
    }

    // The register on its voucher tab, its entry frames open and the amount
    // boxes unlocked, as the add and edit buttons leave them.
    frmpettycash& shownForEntry() {
        frmpettycash& w = formInstances().get<frmpettycash>();
        w.show();
        user::selectTab(w.SSTab2, 1);
        w.Frame1.setEnabled(true);
        w.Frame2.setEnabled(true);
        for (int box : {kCredit, kDebit, kSpentFromAdvance}) w.Textpcash[box].setLocked(false);
        return w;
    }
    frmpettycash& enteringNewVoucher() {
        frmpettycash& w = shownForEntry();
        w.datPrimaryRS.recordset().addNew();
        return w;
    }
    // The user types into the box and goes on to the narration box.
    static void typeAndLeave(frmpettycash& w, int box, const std::string& text) {
        ASSERT_TRUE(text.empty() ? user::setFocus(w.Textpcash[box]) : user::typeText(w.Textpcash[box], text));
        ASSERT_TRUE(user::click(w.Textpcash[kNarration]));
    }
    void expectMessages(const std::vector<std::string>& journal) {
        for (const std::string& line : journal)
            if (line.starts_with("msgbox: ")) ui.expectMessage(line.substr(8));
    }

    const vb::Locale savedLocale = vb::currentLocale();
};

struct LeaveCase {
    int box;
    std::string typed;
    std::vector<std::string> journal;
    std::string textAfter;
};

TEST_F(EntryFieldTest, EachBoxChecksWhatWasTypedWhenTheUserLeavesIt) {
    cashInHandOf380();
    frmpettycash& w = enteringNewVoucher();
    const std::vector<LeaveCase> cases = {
        {kDate, "", kNotADate, ""},
        {kDate, "31/04/2026", kNotADate, "31/04/2026"},
        {kDate, "yesterday", kNotADate, "yesterday"},
        {kDate, "14/03/2026", {}, "14/03/2026"},
        {kDate, "2026-03-14", {}, "2026-03-14"},
        {kTime, "", kNotADate, ""},
        {kTime, "25:00", kNotADate, "25:00"},
        {kTime, "9.05", kNotADate, "9.05"},
        {kTime, "9:05", {}, "09:05:00"},
        {kTime, "10:30:00", {}, "10:30:00"},
        {kTime, "9:05 pm", {}, "21:05:00"},
        {kCredit, "12a", kNotANumber, ""},
        {kDebit, "abc", kNotANumber, ""},
        {kSpentFromAdvance, "1,5", kNotANumber, ""},
        {kDebit, "12.50", {}, "12.50"},
        {kSpentFromAdvance, "-7", {}, "-7"},
        {kCredit, "-20", {}, "-20"},
        {kCredit, "380", {}, "380"},
        {kCredit, "379.99", {}, "379.99"},
        {kCredit, "380.01", {"beep", "msgbox: " + noBalanceMessage("380")}, "0"},
        {kCredit, "99999999", {"beep", "msgbox: " + noBalanceMessage("380")}, "0"},
    };
    for (const LeaveCase& c : cases) {
        SCOPED_TRACE("Textpcash(" + std::to_string(c.box) + ") '" + c.typed + "'");
        forms::TextBox& box = w.Textpcash[c.box];
        box.setText("");
        box.setDataChanged(false);
        ui.clearJournal();
        expectMessages(c.journal);
        typeAndLeave(w, c.box, c.typed);
        EXPECT_EQ(ui.journalLines(), c.journal);
        EXPECT_EQ(box.text(), c.textAfter);
        EXPECT_EQ(w.activeControl(), &w.Textpcash[kNarration]);  // the focus moves on
    }
}

TEST_F(EntryFieldTest, AnEmptiedCashOutIsHeldAgainstTheBalanceLikeZero) {
    insert({.credit = money("50.5")});  // more paid out than brought in: -50.5 in hand
    frmpettycash& w = enteringNewVoucher();
    ui.expectMessage("Numeric value expected!");
    ui.expectMessage(noBalanceMessage("-50.5"));
    typeAndLeave(w, kCredit, "x");
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "beep", "msgbox: Numeric value expected!", "beep",
                                                           "msgbox: " + noBalanceMessage("-50.5")}));
    EXPECT_EQ(w.Textpcash[kCredit].text(), "0");
}

TEST_F(EntryFieldTest, AChangedSavedCashOutMayTakeTheCashInHandPlusItsOwnStoredAmount) {
    cashInHandOf380();  // the register shows the open period, its last row current: the 120 paid out
    frmpettycash& w = shownForEntry();
    ASSERT_EQ(w.Textpcash[kCredit].text(), "120");
    w.datPrimaryRS.recordset().edit();
    ASSERT_TRUE(user::editText(w.Textpcash[kCredit], "500"));
    user::click(w.Textpcash[kNarration]);
    EXPECT_EQ(w.Textpcash[kCredit].text(), "500");
    EXPECT_TRUE(ui.journalLines().empty());

    ui.expectMessage(noBalanceMessage("500"));
    ASSERT_TRUE(user::editText(w.Textpcash[kCredit], "500.5"));
    user::click(w.Textpcash[kNarration]);
    EXPECT_EQ(w.Textpcash[kCredit].text(), "0");
}

TEST_F(EntryFieldTest, ABalanceThatCannotBeReadIsReportedAndTheCashOutStays) {
    frmpettycash& w = enteringNewVoucher();
    db.execute("ALTER TABLE pettycash RENAME TO pettycash_old");
    const std::string error =
        "Error 3078 - The database engine cannot find the input table or query 'pettycash'. Make sure it exists and "
        "that its name is spelled correctly.";
    ui.expectMessage(error);
    typeAndLeave(w, kCredit, "10");
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "msgbox: " + error}));
    EXPECT_EQ(w.Textpcash[kCredit].text(), "10");
}

TEST_F(EntryFieldTest, LeavingAChangedBoxMarksTheRegisterUnsavedAndAnUnchangedOneDoesNot) {
    frmpettycash& w = enteringNewVoucher();
    w.Textpcash[kDate].setText("14/03/2026");
    w.Textpcash[kTime].setText("9:05");  // as an older voucher may hold it
    for (int box : {kDate, kTime}) w.Textpcash[box].setDataChanged(false);
    for (int box : {kDate, kTime, 6, kNarration}) user::setFocus(w.Textpcash[box]);
    EXPECT_TRUE(appState().registerSaved);
    EXPECT_EQ(w.Textpcash[kTime].text(), "9:05");  // only what the user typed is rewritten
    EXPECT_FALSE(w.Textpcash[kTime].dataChanged());

    typeAndLeave(w, 6, "B-9");  // a box without a test of its own
    EXPECT_FALSE(appState().registerSaved);

    appState().registerSaved = true;
    ui.expectMessage("Numeric value expected!");
    typeAndLeave(w, kDebit, "ten");  // refused and emptied: the emptying is a change too
    EXPECT_FALSE(appState().registerSaved);
    EXPECT_TRUE(w.Textpcash[kDebit].dataChanged());
}

TEST_F(EntryFieldTest, TheDatePickerFillsAnEmptyDateBox) {
    frmpettycash& w = enteringNewVoucher();
    host.expectModal<Frmselectdate>("Frmselectdate", [](Frmselectdate& f) {
        user::pickCalendarDate(f.Calendar1, *vb::DateTime::fromParts(2026, 3, 9));
    });
    ASSERT_TRUE(user::doubleClick(w.Textpcash[kDate]));
    EXPECT_EQ(w.Textpcash[kDate].text(), "09/03/2026");
    EXPECT_EQ(appState().selectedDate, "");
    EXPECT_EQ(w.activeControl(), &w.Textpcash[kDate]);
    user::click(w.Textpcash[kNarration]);
    EXPECT_TRUE(ui.journalLines().empty());
}

TEST_F(EntryFieldTest, ADateBoxHoldingADateAsksFirstAndNoOpensNoPicker) {
    frmpettycash& w = enteringNewVoucher();
    user::typeText(w.Textpcash[kDate], "14/03/2026");
    ui.expectMessage("Already a date is entered. Do you want to change this date?", forms::MsgResult::No);
    ASSERT_TRUE(user::doubleClick(w.Textpcash[kDate]));
    EXPECT_TRUE(host.modalsShown().empty());
    EXPECT_EQ(w.Textpcash[kDate].text(), "14/03/2026");

    ui.expectMessage("Already a date is entered. Do you want to change this date?", forms::MsgResult::Yes);
    host.expectModal<Frmselectdate>("Frmselectdate", [](Frmselectdate& f) {
        user::pickCalendarDate(f.Calendar1, *vb::DateTime::fromParts(2026, 2, 28));
    });
    ASSERT_TRUE(user::doubleClick(w.Textpcash[kDate]));
    EXPECT_EQ(w.Textpcash[kDate].text(), "28/02/2026");
}

TEST_F(EntryFieldTest, EscapeInThePickerKeepsTheBoxUnlessAnEarlierPickWaits) {
    frmpettycash& w = enteringNewVoucher();
    const auto escape = [](Frmselectdate& f) { user::pressKey(f.Calendar1, forms::vbKeyEscape); };
    host.expectModal<Frmselectdate>("Frmselectdate", escape);
    ASSERT_TRUE(user::doubleClick(w.Textpcash[kDate]));
    EXPECT_EQ(w.Textpcash[kDate].text(), "");

    ASSERT_EQ(w.activeControl(), &w.Textpcash[kDate]);
    appState().selectedDate = "02/01/2026";  // picked for a box that never took it over
    host.expectModal<Frmselectdate>("Frmselectdate", escape);
    ASSERT_TRUE(user::doubleClick(w.Textpcash[kDate]));
    EXPECT_EQ(w.Textpcash[kDate].text(), "02/01/2026");
    EXPECT_EQ(appState().selectedDate, "");
}

TEST_F(EntryFieldTest, OnlyTheDateBoxTakesPickedDatesAndOnlyValidOnes) {
    frmpettycash& w = enteringNewVoucher();
    appState().selectedDate = "02/01/2026";
    ASSERT_TRUE(user::doubleClick(w.Textpcash[kTime]));  // no picker for the time box
    EXPECT_EQ(w.Textpcash[kTime].text(), "");
    EXPECT_EQ(appState().selectedDate, "02/01/2026");

    appState().selectedDate = "not a date";
    ui.expectMessage("Not a valid date!");  // leaving the empty time box
    user::setFocus(w.Textpcash[kDate]);
    EXPECT_EQ(w.Textpcash[kDate].text(), "");
    EXPECT_EQ(appState().selectedDate, "not a date");
}

TEST_F(EntryFieldTest, TheCostCentreComesFromThePickerOnly) {
    openBook(bookPath(folder.path())).execute("INSERT INTO projectcodes ([projectcode], [Active]) VALUES ('Site 4', true)");
    frmpettycash& w = enteringNewVoucher();
    host.expectModal<frmselectProject>("frmselectProject", [](frmselectProject& f) {
        for (int row = 0; row < f.DBGrid1.rowCount(); ++row)
            if (f.DBGrid1.cellText(row, 0) == "Site 4") user::doubleClickGridRow(f.DBGrid1, row);
    });
    ASSERT_TRUE(user::doubleClick(w.dbCombo3));
    EXPECT_EQ(w.dbCombo3.text(), "Site 4");
    EXPECT_TRUE(w.dbCombo3.dataChanged());

    host.expectModal<frmselectProject>("frmselectProject", [](frmselectProject& f) { user::click(f.cmdclose); });
    ASSERT_TRUE(user::doubleClick(w.dbCombo3));
    EXPECT_EQ(w.dbCombo3.text(), "Site 4");  // nothing picked: the combo keeps its text

    EXPECT_TRUE(user::typeText(w.dbCombo3, "General"));
    EXPECT_EQ(w.dbCombo3.text(), "Site 4");
}

TEST_F(EntryFieldTest, ALockedCostCentreOrAClosedDetailsFrameOpensNoPicker) {
    frmpettycash& w = enteringNewVoucher();
    w.dbCombo3.setLocked(true);  // the type uses no cost centre
    ASSERT_TRUE(user::doubleClick(w.dbCombo3));
    w.dbCombo3.setLocked(false);
    w.Frame2.setEnabled(false);  // a saved voucher only shown
    w.dbCombo3_DblClick();
    EXPECT_TRUE(host.modalsShown().empty());
    EXPECT_EQ(w.dbCombo3.text(), "");
}

struct CostCentreKeyCase {
    std::string before;
    int key;
    forms::MsgResult answer;  // Ok: no question expected
    bool discarded;
    std::string after;
};

TEST_F(EntryFieldTest, DeleteAndBackspaceEmptyTheCostCentreAfterAQuestionAndOtherKeysAreDiscarded) {
    frmpettycash& w = enteringNewVoucher();
    const std::vector<CostCentreKeyCase> cases = {
        {"", forms::vbKeyBack, forms::MsgResult::Ok, false, ""},
        {"", forms::vbKeyDelete, forms::MsgResult::Ok, false, ""},
        {"Site 4", forms::vbKeyDelete, forms::MsgResult::No, true, "Site 4"},
        {"Site 4", forms::vbKeyBack, forms::MsgResult::No, true, "Site 4"},
        {"Site 4", forms::vbKeyDelete, forms::MsgResult::Yes, false, ""},
        {"Site 4", forms::vbKeyBack, forms::MsgResult::Yes, false, ""},
        {"Site 4", forms::vbKeyA, forms::MsgResult::Ok, true, "Site 4"},
        {"", forms::vbKeyA + 25, forms::MsgResult::Ok, true, ""},
        {"Site 4", forms::vbKeySpace, forms::MsgResult::Ok, true, "Site 4"},
    };
    for (const CostCentreKeyCase& c : cases) {
        SCOPED_TRACE("'" + c.before + "' key " + std::to_string(c.key));
        w.dbCombo3.setText(c.before);
        if (c.answer != forms::MsgResult::Ok)
            ui.expectMessage("Do you want to clear the cost-centre/project column?", c.answer);
        const user::KeyResult result = user::pressKey(w.dbCombo3, c.key);
        ASSERT_TRUE(result.reached);
        EXPECT_EQ(result.discarded, c.discarded);
        EXPECT_EQ(w.dbCombo3.text(), c.after);
        EXPECT_EQ(ui.pendingAnswers(), 0u);
    }
}

}  // namespace
}  // namespace petty
