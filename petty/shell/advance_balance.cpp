#include "petty/shell/advance_balance.h"

#include <vector>

#include "platform/vb/amount_text.h"

namespace petty {

namespace {

constexpr const char* kEmployeeSettlements =
    "select sum(-1 * iif(credit is null,0,credit) + iif(debit is null,0,debit) + iif(expensefromadvance is "
    "null,0,expensefromadvance)) as mysum from pettycash where [employee] = ? and [Matched] ='No' AND "
    "[matchrequired] = 'Yes' and [closed] = 'No' and [transtype] <> 'Advance Issued from PC' ";

constexpr const char* kEmployeeAdvances =
    "select sum( iif(credit is null,0,credit)) as mysum from pettycash where [employee] = ? and [Matched] ='No' AND "
    "[matchrequired] = 'Yes' and [closed] = 'No' and [transtype] = 'Advance Issued from PC' ";

// A sum's first row; a sum over no rows is 0.
vb::Currency sumOf(jet::Database& db, const std::string& sql, const std::vector<jet::Value>& params) {
    jet::Recordset rows = db.openRecordset(sql, params);
    if (rows.eof()) return {};
    const jet::Value sum = rows.field("mysum");
    return sum.isNull() ? vb::Currency() : sum.asCurrency();
}

}  // namespace

vb::Currency settledTotal(jet::Database& db, int64_t advance, std::optional<int64_t> excludedVoucher) {
    if (excludedVoucher)
        return sumOf(db, std::string(kSettledAgainstAdvanceSql) + " AND voucherid <> ?", {advance, *excludedVoucher});
    return sumOf(db, kSettledAgainstAdvanceSql, {advance});
}

vb::Currency advanceBalance(jet::Database& db, int64_t advance, vb::Currency amountAdvanced) {
    return amountAdvanced - settledTotal(db, advance);
}

vb::Currency employeeAdvanceTotal(jet::Database& db, const std::string& employee) {
    return sumOf(db, kEmployeeAdvances, {employee});
}

vb::Currency employeeSettlementTotal(jet::Database& db, const std::string& employee) {
    return sumOf(db, kEmployeeSettlements, {employee});
}

std::string unsettledAmountText(int64_t advance, vb::Currency balance, std::string_view employee) {
    std::string text = "Unsettled amount for voucher: " + std::to_string(advance) + " is  " + vb::amountText(balance);
    if (balance < vb::Currency())
        text += " (" + vb::amountText(-balance) + " to be returned to " + std::string(employee) + ")";
    return text;
}

}  // namespace petty
