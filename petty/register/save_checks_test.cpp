#include "petty/register/save_checks.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace petty {
namespace {

// A cash-out voucher that every rule accepts.
SaveCheckValues acceptable() {
    SaveCheckValues v;
    v.closed = "No";
    v.transType = "Reimbursed from pettycash";
    v.head = "Travel";
    v.narration = "taxi to the bank";
    v.costCentreEnabled = true;
    v.costCentreOpen = true;
    v.costCentre = "P1";
    v.employee = "Asha";
    v.credit = "100";
    v.date = "2024-05-15";
    v.time = "09:30:00";
    return v;
}

std::optional<SaveRefusal> allChecks(const SaveCheckValues& v) {
    return firstFailingSaveCheck(v, kFirstFieldRule, kLastFieldRule);
}

TEST(SaveChecks, AnAcceptableVoucherPassesEveryRule) { EXPECT_FALSE(allChecks(acceptable())); }

struct RefusalCase {
    std::string name;
    std::function<void(SaveCheckValues&)> change;
    int step;
    std::string message;
    SaveCheckField focus;
};

TEST(SaveChecks, EachRuleRefusesWithItsOwnMessage) {
    const std::string amount = "Enter the amount!";
    const std::string numeric = "Numeric value expected!! Please correct the error!";
    const std::string correction = "This is a correction entry. Narration must have the word 'correction' in it!";
    const std::vector<RefusalCase> cases = {
        {"closed", [](auto& v) { v.closed = "Yes"; }, 2, "Closed!", SaveCheckField::None},
        {"no type", [](auto& v) { v.transType = ""; }, 3, "Please select the petty cash type!",
         SaveCheckField::TransType},
        {"no head", [](auto& v) { v.head = ""; }, 4, "Please select the petty-cash expense type!",
         SaveCheckField::Head},
        {"no narration", [](auto& v) { v.narration = ""; }, 5, "Please enter narration for the transaction!",
         SaveCheckField::Narration},
        {"no cost centre", [](auto& v) { v.costCentre = ""; }, 6, "Select a cost centre / project !! ",
         SaveCheckField::None},
        {"no employee", [](auto& v) { v.employee = ""; }, 8, "Please select staff/account!", SaveCheckField::Employee},
        {"no amount", [](auto& v) { v.credit = ""; }, 10, amount, SaveCheckField::None},
        {"cash-out not numeric", [](auto& v) { v.credit = "12x"; }, 11, numeric, SaveCheckField::None},
        {"cash-in not numeric", [](auto& v) { v.debit = "abc"; }, 11, numeric, SaveCheckField::None},
        {"spent not numeric", [](auto& v) { v.expenseFromAdvance = "1,2,3"; }, 11, numeric, SaveCheckField::None},
        {"negative without the word", [](auto& v) { v.credit = "-20"; }, 11, correction, SaveCheckField::None},
        {"zero cash-out", [](auto& v) { v.credit = "0"; }, 12, amount, SaveCheckField::None},
        {"zero cash-in beside an amount", [](auto& v) { v.debit = "0"; }, 12, amount, SaveCheckField::None},
        {"no date", [](auto& v) { v.date = "31/04/2024x"; }, 13, "Please enter the date!", SaveCheckField::Date},
        {"empty date", [](auto& v) { v.date = ""; }, 13, "Please enter the date!", SaveCheckField::Date},
        {"no time", [](auto& v) { v.time = "later"; }, 14, "Please enter the time!", SaveCheckField::Time},
        {"settlement without its advance",
         [](auto& v) {
             v.transType = "Cash received for settlement";
             v.matchwith = "";
         },
         15,
         "This is a settlement record!! You have to fill-up the voucher number against which this entry has to be "
         "settled!",
         SaveCheckField::None},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        SaveCheckValues v = acceptable();
        c.change(v);
        const std::optional<SaveRefusal> refusal = allChecks(v);
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->step, c.step);
        EXPECT_EQ(refusal->message, c.message);
        EXPECT_EQ(refusal->focus, c.focus);
    }
}

TEST(SaveChecks, TheFirstFailingRuleInOrderIsTheOneReported) {
    SaveCheckValues v = acceptable();
    v.closed = "Yes";
    v.transType = "";
    v.narration = "";
    EXPECT_EQ(allChecks(v)->step, 2);

    // A negative cash-out without the word is refused before a cash-in that is no number.
    v = acceptable();
    v.credit = "-5";
    v.debit = "five";
    EXPECT_EQ(allChecks(v)->message,
              "This is a correction entry. Narration must have the word 'correction' in it!");
    v.credit = "5";
    EXPECT_EQ(allChecks(v)->message, "Numeric value expected!! Please correct the error!");
}

TEST(SaveChecks, ConditionsThatLetAVoucherPass) {
    const std::vector<std::pair<std::string, std::function<void(SaveCheckValues&)>>> cases = {
        {"closed in other letter case", [](auto& v) { v.closed = "YES"; }},
        {"head locked by the type", [](auto& v) {
             v.head = "";
             v.headLocked = true;
         }},
        {"narration of blanks", [](auto& v) { v.narration = "   "; }},
        {"cost centres not in use", [](auto& v) {
             v.costCentre = "";
             v.costCentreEnabled = false;
         }},
        {"cost-centre combo locked", [](auto& v) {
             v.costCentre = "";
             v.costCentreOpen = false;
         }},
        {"details frame disabled", [](auto& v) {
             v.costCentre = "";
             v.detailsFrameEnabled = false;
         }},
        {"employee locked", [](auto& v) {
             v.employee = "";
             v.employeeLocked = true;
         }},
        {"entry frame disabled", [](auto& v) {
             v.employee = "";
             v.entryFrameEnabled = false;
         }},
        {"negative with the word in mixed case", [](auto& v) {
             v.credit = "-20";
             v.narration = "Recorrection of voucher 4";
         }},
        {"zero written with decimals", [](auto& v) { v.credit = "0.00"; }},
        {"zero with leading zeros", [](auto& v) { v.credit = "00"; }},
        {"zero while editing", [](auto& v) {
             v.credit = "0";
             v.editMode = true;
         }},
        {"amount with a decimal point", [](auto& v) { v.credit = "12.50"; }},
        {"time without seconds", [](auto& v) { v.time = "9:05"; }},
        {"time box holding a date", [](auto& v) { v.time = "2024-05-15"; }},
        {"settlement naming its advance", [](auto& v) {
             v.transType = "Spent from Advance issued";
             v.matchwith = "7";
         }},
    };
    for (const auto& [name, change] : cases) {
        SCOPED_TRACE(name);
        SaveCheckValues v = acceptable();
        change(v);
        EXPECT_FALSE(allChecks(v));
    }
}

TEST(SaveChecks, AStretchOfTheSaveHoldsOnlyItsOwnRules) {
    SaveCheckValues v = acceptable();
    v.employee = "";
    v.credit = "";
    EXPECT_FALSE(firstFailingSaveCheck(v, kFirstFieldRule, kLastRuleBeforePeriod));
    EXPECT_EQ(firstFailingSaveCheck(v, kEmployeeRule, kEmployeeRule)->step, 8);
    EXPECT_EQ(firstFailingSaveCheck(v, kFirstAmountRule, kLastFieldRule)->step, 10);
}

TEST(SaveChecks, AnAdvanceOfAnotherEmployeeIsRefused) {
    EXPECT_FALSE(otherEmployeeRefusal("7", jet::Value("Asha"), "Asha"));
    EXPECT_FALSE(otherEmployeeRefusal("7", jet::Value("Asha  "), "Asha"));
    EXPECT_FALSE(otherEmployeeRefusal("7", jet::Value(), "Asha"));
    EXPECT_EQ(otherEmployeeRefusal("7", jet::Value("Ben"), "Asha"),
              "This voucher is settled against voucher no: 7 which seems to be associated with Ben! Please correct "
              "the error!");
    // Names compare as exact text.
    EXPECT_TRUE(otherEmployeeRefusal("7", jet::Value("asha"), "Asha"));
}

TEST(SaveChecks, AdvanceNamesAndTheSecondAdvanceQuestion) {
    EXPECT_FALSE(namesAdvance(""));
    EXPECT_FALSE(namesAdvance("0"));
    EXPECT_TRUE(namesAdvance("12"));
    EXPECT_TRUE(isSettlementType("Cash given for settlement"));
    EXPECT_FALSE(isSettlementType("Advance Issued from PC"));
    EXPECT_EQ(secondAdvanceQuestion(2, "Asha"),
              "There seems to be 2 pettycash records for Asha which are not settled yet. Are you sure you want to "
              "give advance to Asha ? ");
}

}  // namespace
}  // namespace petty
