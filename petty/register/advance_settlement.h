#pragma once
// How far an advance is settled, as the register shows it under the advance:
// the open rows matched against it (their `Matchwith` names the advance) add
// what was spent from it and the cash brought back, less cash paid out to
// the employee for settlement (settledTotal in petty/shell/advance_balance.h).
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/jet/database.h"
#include "platform/vb/currency.h"

namespace petty {

struct AdvanceSettlement {
    vb::Currency advance;
    vb::Currency settled;
    vb::Currency balance() const { return advance - settled; }
};

// The settlement grid's caption under an advance: "Pettycash records matched
// against voucher no: 12 as below (Advance: 1000   Settled: 300 Balance amount: 700)".
std::string advanceGridCaption(std::string_view voucherNumber, const AdvanceSettlement& settlement);

// The advance's part of the row summary: "(Settled: 300   Balance amount to be settled: 700)".
std::string advanceSummary(const AdvanceSettlement& settlement);

}  // namespace petty
