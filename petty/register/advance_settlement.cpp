#include "petty/register/advance_settlement.h"

#include "petty/register/period_query.h"
#include "platform/vb/amount_text.h"

namespace petty {

vb::Currency settledAgainstAdvance(jet::Database& db, int64_t advanceVoucherId) {
    const jet::Value sum = firstRowValue(
        db,
        "select sum(-1 * iif(credit is null,0,credit) + iif(debit is null,0,debit) + "
        "iif(expensefromadvance is null,0,expensefromadvance)) as mysum from pettycash where closed= 'No' and "
        "matchwith=?",
        "mysum", {jet::Value(advanceVoucherId)});
    return sum.isNull() ? vb::Currency() : sum.asCurrency();
}

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
