#include "petty/register/save_checks.h"

#include <array>
#include <functional>

#include "petty/shell/voucher_types.h"
#include "platform/vb/date_text.h"
#include "platform/vb/numeric_text.h"
#include "platform/vb/text_functions.h"

namespace petty {

namespace {

using Values = SaveCheckValues;

// A rule: its place in the save, what makes it refuse, and its refusal.
struct Rule {
    int step;
    std::function<std::optional<SaveRefusal>(const Values&)> refusal;
};

std::optional<SaveRefusal> refuseIf(bool failed, int step, const char* message,
                                    SaveCheckField focus = SaveCheckField::None) {
    if (!failed) return std::nullopt;
    return SaveRefusal{step, message, focus};
}

// Each amount box in turn: first whether it reads as a number, then whether a
// negative amount is marked as a correction.
std::optional<SaveRefusal> amountRefusal(const Values& v) {
    const bool correction = vb::ucase(v.narration).find("CORRECTION") != std::string::npos;
    for (const std::string* box : {&v.credit, &v.debit, &v.expenseFromAdvance}) {
        if (box->empty()) continue;
        const std::optional<vb::Currency> amount = vb::boxNumber(*box);
        if (!vb::isNumeric(*box) || !amount)
            return SaveRefusal{11, "Numeric value expected!! Please correct the error!"};
        if (*amount < vb::Currency() && !correction)
            return SaveRefusal{11, "This is a correction entry. Narration must have the word 'correction' in it!"};
    }
    return std::nullopt;
}

const std::array<Rule, 12>& rules() {
    static const std::array<Rule, 12> table = {{
        {2, [](const Values& v) { return refuseIf(v.closed == "Yes", 2, "Closed!"); }},
        {3,
         [](const Values& v) {
             return refuseIf(v.transType.empty(), 3, "Please select the petty cash type!", SaveCheckField::TransType);
         }},
        {4,
         [](const Values& v) {
             return refuseIf(!v.headLocked && v.head.empty(), 4, "Please select the petty-cash expense type!",
                             SaveCheckField::Head);
         }},
        {5,
         [](const Values& v) {
             return refuseIf(v.narration.empty(), 5, "Please enter narration for the transaction!",
                             SaveCheckField::Narration);
         }},
        {6,
         [](const Values& v) {
             return refuseIf(v.costCentreEnabled && v.costCentreOpen && v.detailsFrameEnabled && v.costCentre.empty(),
                             6, "Select a cost centre / project !! ");
         }},
        {8,
         [](const Values& v) {
             return refuseIf(v.employee.empty() && !v.employeeLocked && v.entryFrameEnabled, 8,
                             "Please select staff/account!", SaveCheckField::Employee);
         }},
        {10,
         [](const Values& v) {
             return refuseIf(v.credit.empty() && v.debit.empty() && v.expenseFromAdvance.empty(), 10,
                             "Enter the amount!");
         }},
        {11, amountRefusal},
        // A zero is allowed while a saved voucher is open for change: that is how
        // a voucher is brought to zero before it is deleted.
        {12,
         [](const Values& v) {
             return refuseIf(!v.editMode && (v.credit == "0" || v.debit == "0" || v.expenseFromAdvance == "0"), 12,
                             "Enter the amount!");
         }},
        {13,
         [](const Values& v) {
             return refuseIf(!vb::isDate(v.date), 13, "Please enter the date!", SaveCheckField::Date);
         }},
        {14,
         [](const Values& v) {
             return refuseIf(!vb::isDate(v.time), 14, "Please enter the time!", SaveCheckField::Time);
         }},
        {15,
         [](const Values& v) {
             return refuseIf(isSettlementType(v.transType) && v.matchwith.empty(), 15,
                             "This is a settlement record!! You have to fill-up the voucher number against which "
                             "this entry has to be settled!");
         }},
    }};
    return table;
}

}  // namespace

std::optional<SaveRefusal> firstFailingSaveCheck(const SaveCheckValues& values, int first, int last) {
    for (const Rule& rule : rules()) {
        if (rule.step < first || rule.step > last) continue;
        if (std::optional<SaveRefusal> refusal = rule.refusal(values)) return refusal;
    }
    return std::nullopt;
}

bool isSettlementType(const std::string& transType) {
    return transType == voucher_type::kSpentFromAdvance || transType == voucher_type::kCashReceivedForSettlement ||
           transType == voucher_type::kCashGivenForSettlement;
}

bool namesAdvance(const std::string& matchwithText) { return !matchwithText.empty() && matchwithText != "0"; }

std::optional<std::string> otherEmployeeRefusal(const std::string& matchwithText, const jet::Value& advanceEmployee,
                                                const std::string& employee) {
    if (advanceEmployee.isNull()) return std::nullopt;
    const std::string owner = advanceEmployee.asText();
    if (owner == employee || vb::trim(owner) == employee) return std::nullopt;
    return "This voucher is settled against voucher no: " + matchwithText + " which seems to be associated with " +
           owner + "! Please correct the error!";
}

std::string secondAdvanceQuestion(int64_t unsettledRows, const std::string& employee) {
    return "There seems to be " + std::to_string(unsettledRows) + " pettycash records for " + employee +
           " which are not settled yet. Are you sure you want to give advance to " + employee + " ? ";
}

}  // namespace petty
