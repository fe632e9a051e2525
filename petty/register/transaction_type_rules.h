#pragma once
// What a voucher's transaction type decides in the register's entry panel:
// which fields take a value (the rest are locked and, when the caller asks,
// emptied), the settlement flags, the caption over the employee combo,
// whether an advance can be picked, and the tooltip of the type combo.
// The lock state is also what the save requires: a head, a cost centre and
// an employee only where they are open.
#include <optional>
#include <string_view>

namespace petty {

enum class FieldRule {
    Untouched,    // left as it is
    Open,         // takes input
    Locked,       // locked, its content kept
    LockedEmpty,  // locked, emptied when the caller clears unused fields
};

enum class MatchRequiredRule { No, Yes, YesWhenNoOrEmpty };
enum class MatchedRule { Empty, NoWhenEmpty };

struct TransactionTypeRule {
    std::string_view type;
    std::string_view employeeCaption;
    MatchRequiredRule matchRequired;
    // Cash transfers and cash received for settlement set the flag also when
    // a saved row is only displayed.
    bool matchRequiredOnDisplay;
    MatchedRule matched;
    FieldRule cashIn;            // Debit
    FieldRule cashOut;           // Credit
    FieldRule spentFromAdvance;  // expensefromadvance
    FieldRule head;
    FieldRule costCentre;
    FieldRule employee;
    // The match button is enabled and the advance-voucher box painted open;
    // otherwise the button is disabled and the box painted locked and emptied.
    bool advanceCanBePicked;
    // The period rows: the scan and view-bill buttons are disabled.
    bool billButtonsDisabled;
};

// The rule of a type, compared exactly (letter case and blanks counting);
// nullptr for any other text, which changes nothing.
const TransactionTypeRule* transactionTypeRule(std::string_view type);

// The new text of `Matchrequired` / `Matched`, or nullopt when it stays as it
// is (the flags are written only when they would change, so an unchanged row
// is not marked as changed).
std::optional<std::string_view> matchRequiredAfter(const TransactionTypeRule& rule, std::string_view current,
                                                   bool clearFields);
std::optional<std::string_view> matchedAfter(const TransactionTypeRule& rule, std::string_view current,
                                             bool clearFields);

// The tooltip of the type combo once the user picked the type; empty for a
// type without one.
std::string_view transactionTypeToolTip(std::string_view type, bool noAdvanceMode);

}  // namespace petty
