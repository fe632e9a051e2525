#include "petty/register/cash_out_limit.h"

#include "petty/register/balance_sums.h"
#include "petty/register/period_query.h"

namespace petty {

vb::Currency cashAvailableForCashOut(jet::Database& db, std::optional<int64_t> savedVoucherId) {
    vb::Currency available = getCashBalance(db);
    if (!savedVoucherId) return available;
    const jet::Value ownCashOut = firstRowValue(
        db, "select credit from pettycash where voucherid = ? and closed='No'", "credit", {*savedVoucherId});
    if (!ownCashOut.isNull()) available += ownCashOut.asCurrency();
    return available;
}

}  // namespace petty
