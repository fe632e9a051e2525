#include "petty/register/voucher_deletion.h"

#include "petty/register/change_log_text.h"
#include "petty/shell/voucher_types.h"
#include "platform/vb/numeric_text.h"

namespace petty {

namespace {

// A number too large to read is not zero.
bool readsZero(std::string_view box) { return vb::boxNumber(box) == vb::Currency(); }

bool isSettlementType(std::string_view type) {
    return type == voucher_type::kCashReceivedForSettlement || type == voucher_type::kCashGivenForSettlement ||
           type == voucher_type::kSpentFromAdvance;
}

}  // namespace

DeletePermission deletePermission(const ShownVoucher& voucher) {
    if (readsZero(voucher.debit) && readsZero(voucher.credit) && readsZero(voucher.expenseFromAdvance))
        return DeletePermission::AmountsZero;
    if (voucher.matchWith.empty() && isSettlementType(voucher.transType))
        return DeletePermission::SettlementWithoutAdvance;
    return DeletePermission::Refused;
}

std::string deletedVoucherLogText(const ShownVoucher& voucher) {
    const std::string text = "Deleted voucher No:" + voucher.voucherId + " Type: " + voucher.transType + "-" +
                             voucher.employee + " Amount:" + voucher.credit + "," + voucher.debit + "," +
                             voucher.expenseFromAdvance;
    return cutToChangeLogLength(text);
}

std::vector<int64_t> vouchersSettledAgainst(jet::Database& db, int64_t voucherId) {
    std::vector<int64_t> found;
    jet::Recordset rows = db.openRecordset(
        "SELECT VoucherID FROM pettycash WHERE Matchwith = ? AND VoucherID <> ? ORDER BY VoucherID",
        {voucherId, voucherId});
    for (; !rows.eof(); rows.moveNext()) found.push_back(rows.field(size_t{0}).asLong());
    return found;
}

std::string settledAgainstRefusal(const std::vector<int64_t>& settlements) {
    std::string numbers;
    for (int64_t id : settlements) numbers += (numbers.empty() ? "" : ", ") + std::to_string(id);
    return "Cannot delete! Other vouchers are settled against this voucher (voucher No: " + numbers +
           "). Change or delete them first!";
}

}  // namespace petty
