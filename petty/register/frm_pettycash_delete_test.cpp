#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/voucher_entry_test_support.h"
#include "platform/forms/forms.h"
#include "platform/vb/clock.h"

namespace petty {
namespace {

namespace user = forms::user;

constexpr const char* kCancelQuestion =
    "You have added a record, but have not saved it yet. Are you sure that you want to cancel this record ?";
constexpr const char* kCancelled =
    "New record is cancelled. Moving to the last record. You can press 'Add' button if you want to add again!";
constexpr const char* kZeroAmounts =
    "Information: You are allowed to delete this voucher since the amount columns are zero";
constexpr const char* kNoAdvanceNamed =
    "Information: You are allowed to delete this voucher since match-with column is not filled-up!";
constexpr const char* kAmountsNotZero =
    "Cannot delete! Amount columns are not zero! You can log in as the second user, change the amount to zero and "
    "then delete the record!!";
constexpr const char* kSure = "Are you sure that you want to delete this record?";

class DeleteTest : public testing::VoucherEntryTest {
protected:
    DeleteTest() { appState().currentUserName = "Ravi"; }

    struct LogRow {
        std::string text;
        int64_t voucherId;
        std::string user;
        std::string date;
    };
    std::vector<LogRow> changeLog() {
        std::vector<LogRow> out;
        for (jet::Recordset r = db.openRecordset("SELECT * FROM changelog ORDER BY rowid"); !r.eof(); r.moveNext())
            out.push_back({r.field("changelog").asText(), r.field("voucherID").asLong(), r.field("user").asText(),
                           r.field("Date").asDate().toIsoDateTime()});
        return out;
    }
    bool stored(int64_t id) { return count("SELECT count(*) FROM pettycash WHERE VoucherID = ?", {id}) == 1; }
    static int64_t current(frmpettycash& w) { return w.datPrimaryRS.recordset().field("VoucherID").asLong(); }

    // Answers the information and the question, then presses the button as the user does.
    void deleteWithYes(frmpettycash& w, const char* information) {
        ui.expectMessage(information);
        ui.expectMessage(kSure, forms::MsgResult::Yes);
        ASSERT_TRUE(w.cmddelete.enabled());
        ASSERT_TRUE(user::click(w.cmddelete));
    }

    vb::FixedClock clock{*vb::DateTime::fromParts(2026, 3, 5, 14, 7, 9)};
    vb::ScopedClock useClock{clock};
};

// Cancelling a pending new row.

TEST_F(DeleteTest, CancelAnsweredNoKeepsThePendingRowAsTyped) {
    insert({.transType = "Cash transfer to PC", .debit = money("500")});  // cash in hand for the cash out typed
    frmpettycash& w = shownRegister();
    ASSERT_TRUE(user::click(w.cmdadd));
    ASSERT_TRUE(user::selectComboItem(w.Combopcashtype, "Reimbursed from pettycash"));
    ASSERT_TRUE(user::typeText(w.Textpcash[kCreditBox], "75"));
    ui.expectMessage(kCancelQuestion, forms::MsgResult::No);
    ASSERT_EQ(w.cmddelete.caption(), "Cancel voucher");
    ASSERT_TRUE(user::click(w.cmddelete));
    EXPECT_EQ(ui.journalLines(),
              (std::vector<std::string>{"beep", std::string("msgbox YesNo: ") + kCancelQuestion + " -> No"}));
    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::Add);
    EXPECT_EQ(w.Textpcash[kCreditBox].text(), "75");
    EXPECT_FALSE(appState().registerSaved);
}

TEST_F(DeleteTest, CancelAnsweredYesReturnsToTheLastSavedRow) {
    insert({});
    const int64_t last = insert({.credit = money("20")});
    frmpettycash& w = shownRegister();
    ASSERT_TRUE(user::click(w.cmdadd));
    ASSERT_TRUE(user::selectComboItem(w.Combopcashtype, "Reimbursed from pettycash"));
    ui.expectMessage(kCancelQuestion, forms::MsgResult::Yes);
    ui.expectMessage(kCancelled);
    ASSERT_TRUE(user::click(w.cmddelete));
    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::None);
    EXPECT_EQ(current(w), last);
    EXPECT_EQ(w.Textpcash[kVoucherIdBox].text(), std::to_string(last));
    EXPECT_TRUE(w.TDBGrid1.enabled());
    EXPECT_TRUE(appState().registerSaved);
    EXPECT_FALSE(w.editMode);
    EXPECT_EQ(count("SELECT count(*) FROM pettycash"), 2);
    EXPECT_TRUE(changeLog().empty());
}

TEST_F(DeleteTest, AddWhileAClosedPeriodIsShownStartsInTheOpenPeriodAndCancelReturnsThere) {
    constexpr int64_t kClosedPeriod = 2404010900;
    insert({.credit = money("999"), .closed = "Yes", .termId = kClosedPeriod});
    const int64_t openRow = insert({.credit = money("20")});
    frmpettycash& w = shownRegister();
    ASSERT_TRUE(user::selectTab(w.SSTab2, 0));  // the search panel
    ASSERT_TRUE(user::selectComboItem(w.Combo2, "Pettycash period ID"));
    w.combo2Text.setText(std::to_string(kClosedPeriod));
    ASSERT_TRUE(user::click(w.Query));
    ASSERT_TRUE(user::selectTab(w.SSTab2, 1));
    ASSERT_EQ(w.Textpcash[kClosedBox].text(), "Yes");
    EXPECT_TRUE(w.cmdadd.enabled()) << "a closed row is looked at, a new voucher can still be started";

    ASSERT_TRUE(user::click(w.cmdadd));
    EXPECT_EQ(w.datPrimaryRS.recordset().editMode(), jet::EditMode::Add);
    EXPECT_EQ(w.Textpcash[kTermIdBox].text(), "2405150900") << "the open period";
    EXPECT_EQ(w.combo2Text.text(), "2405150900") << "the search shows the open period";

    ASSERT_TRUE(user::selectComboItem(w.Combopcashtype, "Reimbursed from pettycash"));
    ui.expectMessage(kCancelQuestion, forms::MsgResult::Yes);
    ui.expectMessage(kCancelled);
    ASSERT_TRUE(user::click(w.cmddelete));
    EXPECT_EQ(current(w), openRow);
    EXPECT_EQ(w.Textpcash[kClosedBox].text(), "No");
    EXPECT_TRUE(w.cmdadd.enabled());
}

TEST_F(DeleteTest, CancelOnAnEmptyRegisterMakesNoMove) {
    frmpettycash& w = shownRegister();
    ASSERT_TRUE(user::click(w.cmdadd));
    ui.expectMessage(kCancelQuestion, forms::MsgResult::Yes);
    ui.expectMessage(kCancelled);
    ASSERT_TRUE(user::click(w.cmddelete));
    EXPECT_EQ(w.datPrimaryRS.recordset().recordCount(), 0);
    EXPECT_EQ(w.Textpcash[kVoucherIdBox].text(), "");
    EXPECT_TRUE(appState().registerSaved);
}

// Deleting a saved voucher.

TEST_F(DeleteTest, AVoucherWithoutAmountsIsDeletedAndLogged) {
    const int64_t first = insert({});
    const int64_t id = insert({.transType = "Reimbursed from pettycash"});
    const int64_t last = insert({.credit = money("20")});
    setColumn(id, "Employee", "Cashier");
    frmpettycash& w = shownRegister();
    testing::VoucherEntryTest::showVoucher(w, id);
    ASSERT_EQ(w.cmddelete.caption(), "Delete voucher");
    deleteWithYes(w, kZeroAmounts);
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{std::string("msgbox: ") + kZeroAmounts, "beep",
                                                           std::string("msgbox YesNo: ") + kSure + " -> Yes"}));
    EXPECT_FALSE(stored(id));
    ASSERT_EQ(changeLog().size(), 1u);
    const LogRow log = changeLog()[0];
    EXPECT_EQ(log.text, "Deleted voucher No:" + std::to_string(id) + " Type: Reimbursed from pettycash-Cashier Amount:,,");
    EXPECT_EQ(log.voucherId, id);
    EXPECT_EQ(log.user, "Ravi");
    EXPECT_EQ(log.date, "2026-03-05 14:07:09");
    EXPECT_EQ(current(w), last) << "the row after the deleted one";
    EXPECT_EQ(w.Textpcash[kVoucherIdBox].text(), std::to_string(last));
    EXPECT_EQ(w.changeLogText, "");
    EXPECT_TRUE(stored(first));
}

TEST_F(DeleteTest, ASettlementThatNamesNoAdvanceMayGoWithItsAmount) {
    insert({.transType = "Cash transfer to PC", .debit = money("500")});
    const int64_t id = insert({.transType = "Spent from Advance issued", .expenseFromAdvance = money("40")});
    setColumn(id, "Employee", "Asha");
    frmpettycash& w = shownRegister();
    deleteWithYes(w, kNoAdvanceNamed);
    EXPECT_FALSE(stored(id));
    ASSERT_EQ(changeLog().size(), 1u);
    EXPECT_EQ(changeLog()[0].text,
              "Deleted voucher No:" + std::to_string(id) + " Type: Spent from Advance issued-Asha Amount:,,40");
}

TEST_F(DeleteTest, TheLastRowDeletedLeavesTheNewLastRowShownAndTheStatusLineUpdated) {
    const int64_t transfer = insert({.transType = "Cash transfer to PC", .debit = money("500")});
    const int64_t id = insert({.transType = "Cash received for settlement", .debit = money("60")});
    frmpettycash& w = shownRegister();
    ASSERT_EQ(current(w), id);
    const std::string before = w.Label2.caption();
    deleteWithYes(w, kNoAdvanceNamed);
    EXPECT_EQ(current(w), transfer);
    EXPECT_EQ(w.Textpcash[kVoucherIdBox].text(), std::to_string(transfer));
    EXPECT_NE(w.Label2.caption(), before);
    EXPECT_NE(w.Label2.caption().find("Cash-in-hand: 500 "), std::string::npos) << w.Label2.caption();
}

TEST_F(DeleteTest, ARowOfAClosedPeriodWithoutAmountsMayGo) {
    const int64_t id = insert({.transType = "Carryover", .debit = money("0"), .closed = "Yes"});
    frmpettycash& w = shownRegister();
    w.Combo2.setText("No field filter");
    w.Query_Click();
    ASSERT_EQ(current(w), id);
    deleteWithYes(w, kZeroAmounts);
    EXPECT_FALSE(stored(id));
    EXPECT_EQ(changeLog().size(), 1u);
    EXPECT_EQ(w.datPrimaryRS.recordset().recordCount(), 0);
}

TEST_F(DeleteTest, TheQuestionAnsweredNoDeletesNothing) {
    const int64_t id = insert({});
    frmpettycash& w = shownRegister();
    ui.expectMessage(kZeroAmounts);
    ui.expectMessage(kSure, forms::MsgResult::No);
    ASSERT_TRUE(user::click(w.cmddelete));
    EXPECT_TRUE(stored(id));
    EXPECT_TRUE(changeLog().empty());
    EXPECT_EQ(current(w), id);
}

struct Refusal {
    std::string name;
    testing::Voucher voucher;
    bool namesTheAdvance;
};

TEST_F(DeleteTest, VouchersWithAmountsAreRefused) {
    const int64_t advance = insert({.transType = "Advance Issued from PC", .credit = money("1000")});
    const std::vector<Refusal> cases = {
        {"reimbursement", {.transType = "Reimbursed from pettycash", .credit = money("250")}, false},
        {"carry-over", {.transType = "Carryover", .debit = money("300")}, false},
        {"settled spending", {.transType = "Spent from Advance issued", .expenseFromAdvance = money("40")}, true},
    };
    frmpettycash& w = shownRegister();
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        const int64_t id = insert(c.voucher);
        if (c.namesTheAdvance) setColumn(id, "Matchwith", advance);
        w.Query_Click();
        testing::VoucherEntryTest::showVoucher(w, id);
        EXPECT_FALSE(w.cmddelete.enabled()) << "the display offers no delete";
        ui.clearJournal();
        ui.expectMessage(kAmountsNotZero);
        w.cmddelete_Click();
        EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", std::string("msgbox: ") + kAmountsNotZero}));
        EXPECT_TRUE(stored(id));
        db.execute("DELETE FROM pettycash WHERE VoucherID = ?", {id});
    }
    EXPECT_TRUE(changeLog().empty());
}

TEST_F(DeleteTest, AnEmptyRegisterHasNothingToDelete) {
    frmpettycash& w = shownRegister();
    ui.expectMessage("Nothing to delete!");
    w.cmddelete_Click();
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "msgbox: Nothing to delete!"}));
}

TEST_F(DeleteTest, AnAdvanceThatSettlementsNameIsRefusedEvenWithoutAmounts) {
    const int64_t advance = insert({.transType = "Advance Issued from PC", .credit = money("0")});
    const int64_t spent = insert({.transType = "Spent from Advance issued", .expenseFromAdvance = money("40")});
    setColumn(spent, "Matchwith", advance);
    frmpettycash& w = shownRegister();
    testing::VoucherEntryTest::showVoucher(w, advance);
    const std::string refusal = "Cannot delete! Other vouchers are settled against this voucher (voucher No: " +
                                std::to_string(spent) + "). Change or delete them first!";
    ui.expectMessage(refusal);
    ASSERT_TRUE(user::click(w.cmddelete));
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "msgbox: " + refusal}));
    EXPECT_TRUE(stored(advance));
    EXPECT_TRUE(changeLog().empty());
}

TEST_F(DeleteTest, AVoucherWhoseAmountsWereChangedButNotSavedIsRefused) {
    appState().superUserLogin = true;
    const int64_t id = insert({.transType = "Reimbursed from pettycash", .credit = money("250")});
    frmpettycash& w = shownRegister();
    w.ApplyTransactionTypeRules(false);
    ui.expectMessage("You can edit the transaction now...");
    ASSERT_TRUE(user::click(w.cmdEdit));
    // Zero typed into the box but not saved: the stored voucher still carries 250.
    ASSERT_TRUE(user::editText(w.Textpcash[kCreditBox], "0"));
    ui.clearJournal();
    const char* unsaved = "You have changed this voucher but not saved it yet! Save it before deleting it!!";
    ui.expectMessage(unsaved);
    w.cmddelete_Click();
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", std::string("msgbox: ") + unsaved}));
    EXPECT_TRUE(stored(id));
    EXPECT_TRUE(changeLog().empty());
}

TEST_F(DeleteTest, ADeletionTheRowsValidationKeepsWritesNoChangeLog) {
    const int64_t id = insert({});
    frmpettycash& w = shownRegister();
    w.datPrimaryRS.onValidate = [](int& action, bool&) {
        if (action == forms::vbDataActionDelete) action = forms::vbDataActionCancel;
    };
    ui.expectMessage(kZeroAmounts);
    ui.expectMessage(kSure, forms::MsgResult::Yes);
    ASSERT_TRUE(user::click(w.cmddelete));
    EXPECT_TRUE(stored(id));
    EXPECT_TRUE(changeLog().empty());
    EXPECT_EQ(current(w), id);
}

TEST_F(DeleteTest, WhenTheChangeLogCannotBeWrittenTheVoucherStays) {
    const int64_t id = insert({});
    frmpettycash& w = shownRegister();
    db.execute("DROP TABLE changelog");
    ui.expectMessage(kZeroAmounts);
    ui.expectMessage(kSure, forms::MsgResult::Yes);
    ui.expectMessage(
        "Error 3078 - The database engine cannot find the input table or query 'changelog'. Make sure it exists and "
        "that its name is spelled correctly.");
    ASSERT_TRUE(user::click(w.cmddelete));
    EXPECT_TRUE(stored(id));
    EXPECT_EQ(current(w), id);
    EXPECT_EQ(w.Textpcash[kVoucherIdBox].text(), std::to_string(id));
}

}  // namespace
}  // namespace petty
