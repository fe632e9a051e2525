#include "petty/register/transaction_type_rules.h"

#include "petty/register/voucher_types.h"

namespace petty {

namespace {

using enum FieldRule;
using enum MatchRequiredRule;
using enum MatchedRule;
namespace vt = voucher_type;

// The rows the period close writes carry the period's amount in their cash
// in; it is locked but never emptied, so that a save of such a row cannot
// lose the carried balance.
constexpr TransactionTypeRule periodRowRule(std::string_view type) {
    return {type, "Employee/receiver", No, false, Empty, Locked, Locked, Untouched, Locked, Locked, Locked, false,
            true};
}

constexpr TransactionTypeRule kRules[] = {
    // type, caption, Matchrequired, also on display, Matched,
    // cash in, cash out, spent from advance, head, cost centre, employee, advance pickable, bill buttons off
    {vt::kCashTransfer, "Employee/receiver", No, true, Empty, Open, LockedEmpty, LockedEmpty, LockedEmpty,
     LockedEmpty, LockedEmpty, false, false},
    {vt::kCashReceivedForSettlement, "from employee", Yes, true, NoWhenEmpty, Open, LockedEmpty, LockedEmpty,
     LockedEmpty, LockedEmpty, Open, true, false},
    {vt::kCashGivenForSettlement, "to employee", Yes, false, NoWhenEmpty, LockedEmpty, Open, LockedEmpty,
     LockedEmpty, LockedEmpty, Open, true, false},
    {vt::kAdvanceIssued, "to employee", Yes, false, NoWhenEmpty, LockedEmpty, Open, LockedEmpty, LockedEmpty,
     LockedEmpty, Open, false, false},
    {vt::kSpentFromAdvance, "by employee/receiver", YesWhenNoOrEmpty, false, NoWhenEmpty, LockedEmpty,
     LockedEmpty, Open, Open, Open, Open, true, false},
    {vt::kReimbursed, "to employee/receiver", No, false, Empty, LockedEmpty, Open, LockedEmpty, Open, Open, Open,
     false, false},
    periodRowRule(vt::kTallyCount),
    periodRowRule(vt::kCarryover),
};

}  // namespace

const TransactionTypeRule* transactionTypeRule(std::string_view type) {
    for (const TransactionTypeRule& rule : kRules)
        if (rule.type == type) return &rule;
    return nullptr;
}

std::optional<std::string_view> matchRequiredAfter(const TransactionTypeRule& rule, std::string_view current,
                                                   bool clearFields) {
    if (!clearFields && !rule.matchRequiredOnDisplay) return std::nullopt;
    switch (rule.matchRequired) {
        case No:
            if (current != "No") return "No";
            break;
        case Yes:
            if (current != "Yes") return "Yes";
            break;
        case YesWhenNoOrEmpty:
            if (current == "No" || current.empty()) return "Yes";
            break;
    }
    return std::nullopt;
}

std::optional<std::string_view> matchedAfter(const TransactionTypeRule& rule, std::string_view current,
                                             bool clearFields) {
    if (!clearFields) return std::nullopt;
    switch (rule.matched) {
        case Empty:
            if (!current.empty()) return "";
            break;
        case NoWhenEmpty:
            if (current.empty()) return "No";
            break;
    }
    return std::nullopt;
}

std::string_view transactionTypeToolTip(std::string_view type, bool noAdvanceMode) {
    if (type == vt::kCashTransfer) return "Cash brought into pettycash fund for petty cash replenishment.";
    if (type == vt::kReimbursed)
        return noAdvanceMode ? "Full amount spent by employee is re-imbursed to him/her from petty-cash."
                             : "Full amount spent by employee is re-imbursed to him/her from petty-cash. No advance "
                               "was taken at all by him/her";
    if (type == vt::kAdvanceIssued)
        return "Advance amount given to an employee in anticipation of expense, to be settled later by the employee "
               "showing details of expense";
    if (type == vt::kCashReceivedForSettlement)
        return "Cash received from employee, to settle the amount advanced to him/her, since the his/her expense was "
               "smaller than the advance given to him/her";
    if (type == vt::kCashGivenForSettlement)
        return "Cash given to employee for settlement, since his/her expense was larger than the advance given to "
               "him/her";
    if (type == vt::kSpentFromAdvance) return "Cash spent by employee from the advance he/she received from pettycash";
    return "";
}

}  // namespace petty
