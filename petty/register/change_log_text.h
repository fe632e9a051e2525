#pragma once
// What the change log records when a saved voucher opened for change is saved:
// its amounts, employee and type as they were when the edit began, held
// against what the entry fields show now.
#include <string>

#include "platform/vb/currency.h"

namespace petty {

struct VoucherSnapshot {
    vb::Currency debit;
    vb::Currency credit;
    vb::Currency expenseFromAdvance;
    std::string employee;
    std::string transType;
};

// The entry fields' texts as the user left them.
struct VoucherEntryTexts {
    std::string debit;
    std::string credit;
    std::string expenseFromAdvance;
    std::string employee;
    std::string transType;
};

// "Credit changed from 100 to 150", then " Asha -> Ben" and " <old type> -> <new type>"
// when those changed. Amounts compare as numbers (100.00 equals 100); the old
// one is written plainly, the new one as typed (empty when the box was emptied).
// Only the last changed of cash in, cash out and spent from advance is
// recorded: each replaces the one before. Empty when nothing logged changed.
std::string changeLogText(const VoucherSnapshot& before, const VoucherEntryTexts& now);

// The change-log column holds at most this many characters; longer texts are cut.
inline constexpr size_t kChangeLogLength = 100;
// The text cut to what the column holds, never inside a character.
std::string cutToChangeLogLength(const std::string& text);

}  // namespace petty
