#pragma once
// Whether a settlement voucher may be matched against its advance, given
// what the advance gave and what was settled on it before this voucher.
// Expenses are never limited; cash brought back may not exceed what the
// employee still holds; cash given may not exceed what the fund owes him, and
// a payment that leaves something owed is accepted with a note.
#include <string>
#include <string_view>

#include "petty/shell/advance_balance.h"
#include "platform/vb/currency.h"

namespace petty {

struct SettlementVoucher {
    std::string_view transType;
    vb::Currency cashIn;
    std::string_view cashInText;  // as typed, for the messages
    vb::Currency cashOut;
    std::string_view cashOutText;
    std::string_view employee;
};

struct SettlementVerdict {
    bool accepted = true;
    std::string message;  // shown after a beep; empty: nothing to say
};

// `advanced`: the advance's Credit; `settledBefore`: the settled total without this voucher.
SettlementVerdict checkSettlement(const SettlementVoucher& voucher, vb::Currency advanced, vb::Currency settledBefore);

// The one-line account of the advance the register shows beside the match button.
std::string advanceAccountText(int64_t advance, vb::Currency advanced, vb::Currency settledBefore);

}  // namespace petty
