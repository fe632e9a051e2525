#include "petty/register/advance_settlement.h"

#include "platform/vb/amount_text.h"

namespace petty {

std::string advanceGridCaption(std::string_view voucherNumber, const AdvanceSettlement& settlement) {
    return "Pettycash records matched against voucher no: " + std::string(voucherNumber) +
           " as below (Advance: " + vb::amountText(settlement.advance) +
           "   Settled: " + vb::amountText(settlement.settled) +
           " Balance amount: " + vb::amountText(settlement.balance()) + ")";
}

std::string advanceSummary(const AdvanceSettlement& settlement) {
    return "(Settled: " + vb::amountText(settlement.settled) +
           "   Balance amount to be settled: " + vb::amountText(settlement.balance()) + ")";
}

}  // namespace petty
