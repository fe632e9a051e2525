#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/register/period_ids.h"
#include "petty/register/register_save_test_support.h"

namespace petty {
namespace {

namespace user = forms::user;

constexpr PeriodId kOpen = 2405100800;
constexpr const char* kAborted = "Pettycash term closing aborted. You may close it anytime later.";

class CloseTest : public testing::RegisterSaveTest {
protected:
    // An open voucher of the period, its amounts as given (nullptr: empty).
    void voucher(const char* type, const char* debit, const char* credit, PeriodId period = kOpen,
                 const char* matchRequired = "No") {
        db.execute(
            "INSERT INTO pettycash ([Date], [Time], [Employee], [TransType], [Debit], [Credit], [Narration], "
            "[Closed], [TermID], [Matchrequired], [Matched]) VALUES (?, '10:00:00', 'Asha', ?, ?, ?, 'n', 'No', ?, ?, "
            "'No')",
            {*vb::DateTime::fromParts(2024, 5, 10), type, amount(debit), amount(credit), jet::Value(period),
             matchRequired});
    }
    static jet::Value amount(const char* text) {
        return text ? jet::Value(*vb::Currency::fromDecimalText(text)) : jet::Value();
    }
    void aPeriodWithBalance250() {
        voucher("Cash transfer to PC", "500", nullptr);
        voucher("Reimbursed from pettycash", nullptr, "250");
    }
    void expectQuestions(forms::MsgResult first, forms::MsgResult second = forms::MsgResult::Yes) {
        ui.expectMessage(
            "Are you sure that you want to close pettycash period ID 2405100800 and then carry over a balance of 250 "
            "to a new pettycash term?",
            first);
        if (first == forms::MsgResult::Yes)
            ui.expectMessage(
                "Confirm again that you want to close pettycash period ID 2405100800 and then carry over a balance of "
                "250 to a new pettycash term..",
                second);
    }
    // Both questions answered Yes, and the new period announced.
    void closeInto(frmpettycash& w, const std::string& newPeriod) {
        expectQuestions(forms::MsgResult::Yes);
        ui.expectMessage("New Pettycash period (ID: " + newPeriod +
                         ") created, with carry-over amount=250\r\nData belonging to previous pettycash periods can be "
                         "viewed any time using 'search' button or through pettycash reports.");
        clickClose(w);
    }
    // The user presses the close button on its tab.
    void clickClose(frmpettycash& w) {
        ASSERT_TRUE(user::selectTab(w.SSTab2, 0));
        ASSERT_TRUE(user::selectTab(w.SSTab1, 1));
        ASSERT_TRUE(user::click(w.cmdClosepettycash));
    }
};

TEST_F(CloseTest, BothConfirmationsCloseThePeriodAndOpenTheNextWithItsCarryoverRow) {
    aPeriodWithBalance250();
    frmpettycash& w = shownRegister();
    clock.set(*vb::DateTime::fromParts(2022, 1, 1, 0, 0, 5));
    closeInto(w, "2201010000");

    EXPECT_EQ(count("SELECT count(*) FROM pettycash WHERE closed='Yes' AND TermID=2405100800"), 2);
    EXPECT_EQ(count("SELECT count(*) FROM pettycash WHERE closed='No'"), 1);
    const int64_t carry = lastVoucherId();
    EXPECT_EQ(stored(carry, "TransType").asText(), "Carryover");
    EXPECT_EQ(stored(carry, "Debit").asCurrency(), vb::Currency::fromWhole(250));
    EXPECT_EQ(stored(carry, "TermID").asLong(), 2201010000);
    EXPECT_EQ(stored(carry, "Narration").asText(), "Carryover from 2405100800");
    EXPECT_EQ(stored(carry, "Enteredby").asText(), testing::kUser);

    EXPECT_EQ(w.caption(), "Petty cash  Running Pettycash period ID : 2201010000");
    EXPECT_EQ(w.Combo2.text(), "Pettycash period ID");
    EXPECT_EQ(w.combo2Text.text(), "2201010000");
    EXPECT_EQ(w.Combo1.text(), "All");
    EXPECT_EQ(w.Check1.value(), forms::vbChecked);
    EXPECT_EQ(w.datPrimaryRS.recordset().recordCount(), 1);
    EXPECT_EQ(w.datPrimaryRS.recordset().field("VoucherID").asLong(), carry);
    EXPECT_EQ(w.Label2.caption(),
              "Pettycash ( Cash fill: 250    Total expenses: 0    Amount not settled: 0    Cash-in-hand: 250 )");
    EXPECT_EQ(ui.mousePointer(), forms::vbCustom);
}

TEST_F(CloseTest, APeriodClosedInTheMinuteItWasOpenedGetsTheNextId) {
    aPeriodWithBalance250();
    frmpettycash& w = shownRegister();
    clock.set(*vb::DateTime::fromParts(2024, 5, 10, 8, 0, 40));
    closeInto(w, "2405100801");
    EXPECT_EQ(getOpenPeriodId(db), 2405100801);
}

TEST_F(CloseTest, NoAtEitherConfirmationAbortsAfterTheRunningBalances) {
    aPeriodWithBalance250();
    frmpettycash& w = shownRegister();
    for (const forms::MsgResult second : {forms::MsgResult::Yes, forms::MsgResult::No}) {
        const forms::MsgResult first = second == forms::MsgResult::Yes ? forms::MsgResult::No : forms::MsgResult::Yes;
        SCOPED_TRACE(first == forms::MsgResult::No ? "No at the first" : "No at the second");
        ui.clearJournal();
        expectQuestions(first, second);
        ui.expectMessage(kAborted);
        clickClose(w);
        EXPECT_EQ(count("SELECT count(*) FROM pettycash WHERE closed='No'"), 2);
        EXPECT_EQ(count("SELECT count(*) FROM pettycash WHERE TransType='Carryover'"), 0);
        EXPECT_EQ(count("SELECT count(*) FROM pettycash WHERE runningbalance IS NULL"), 0);
        EXPECT_EQ(ui.beepCount(), 0);
    }
}

TEST_F(CloseTest, RefusalsOfTheWindow) {
    struct Case {
        std::string name;
        std::function<void()> book;
        bool noAdvanceMode;
        std::string message;
        bool beep;
    };
    const std::vector<Case> cases = {
        {"nothing open", [] {}, false,
         "No open pettycash records found!! Only open records can be closed!!", true},
        {"two periods",
         [this] {
             voucher("Cash transfer to PC", "500", nullptr);
             voucher("Cash transfer to PC", "500", nullptr, 2405110800);
         },
         false, "There seems to be 2 different pettycash periods in these records ! Something is wrong!!", true},
        {"no period ID", [this] { voucher("Cash transfer to PC", "500", nullptr, 0); }, false,
         "There does not seem to be any open Pettycash period! Please check!!", false},
        {"unsettled advance",
         [this] { voucher("Advance Issued from PC", nullptr, "100", kOpen, "Yes"); }, false,
         "There seems to be 1 records which are not settled yet. If advance is taken from pettycash, you need to "
         "settle it against expenses/returns! Pettycash can be closed only after after settling the advances!",
         true},
        {"negative balance", [this] { voucher("Reimbursed from pettycash", nullptr, "20"); }, true,
         "Carryover is negative (-20) ! Cannot continue! Please settle the negative balance!", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db.execute("DELETE FROM pettycash");
        c.book();
        appState().noAdvanceMode = c.noAdvanceMode;
        frmpettycash w;
        w.load();
        w.show();
        const std::vector<std::string> before = rowsOf("pettycash");
        ui.clearJournal();
        ui.expectMessage(c.message);
        w.cmdClosepettycash_Click();
        std::vector<std::string> expected;
        if (c.beep) expected.push_back("beep");
        expected.push_back("msgbox: " + c.message);
        EXPECT_EQ(ui.journalLines(), expected);
        EXPECT_EQ(count("SELECT count(*) FROM pettycash WHERE closed='Yes'"), 0);
        EXPECT_EQ(count("SELECT count(*) FROM pettycash WHERE TransType='Carryover'"), 0);
        if (c.name != "negative balance") {
            EXPECT_EQ(rowsOf("pettycash"), before);
        }
        EXPECT_EQ(ui.mousePointer(), forms::vbCustom);
        w.datPrimaryRS.releaseRecordset();
        w.unload();
    }
}

TEST_F(CloseTest, APendingNewVoucherStopsTheClose) {
    aPeriodWithBalance250();
    frmpettycash& w = shownRegister();
    ASSERT_TRUE(user::click(w.cmdadd));
    ui.clearJournal();
    ui.expectMessage("You have added/edited petty cash record. Please update it or cancel it before adding a new entry!!");
    ui.expectMessage("You are in record-edit mode !! Can't close now!");
    w.cmdClosepettycash_Click();
    EXPECT_EQ(ui.journalLines(),
              (std::vector<std::string>{
                  "beep",
                  "msgbox: You have added/edited petty cash record. Please update it or cancel it before adding a new "
                  "entry!!",
                  "beep", "msgbox: You are in record-edit mode !! Can't close now!"}));
    EXPECT_EQ(count("SELECT count(*) FROM pettycash WHERE closed='Yes'"), 0);
}

TEST_F(CloseTest, ACloseThatFailsLeavesTheBookExactlyAsItWas) {
    aPeriodWithBalance250();
    frmpettycash& w = shownRegister();
    db.execute(
        "CREATE TRIGGER refuse_carryover BEFORE INSERT ON pettycash BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    // Balances as the close's own recompute leaves them, so that only the close could change the book.
    expectQuestions(forms::MsgResult::No);
    ui.expectMessage(kAborted);
    clickClose(w);
    const std::vector<std::string> before = rowsOf("pettycash");

    ui.clearJournal();
    expectQuestions(forms::MsgResult::Yes);
    ui.expectMessage("Error 3000 - Reserved error (disk full).");
    clickClose(w);
    EXPECT_EQ(rowsOf("pettycash"), before);
    EXPECT_EQ(w.caption(), "Petty cash  Running Pettycash period ID : 2405100800");
    EXPECT_EQ(ui.mousePointer(), forms::vbCustom);
}

}  // namespace
}  // namespace petty
