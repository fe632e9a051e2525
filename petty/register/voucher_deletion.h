#pragma once
// When the register lets a saved voucher be deleted, and what the change log
// keeps of it. A voucher may go only when nothing of the fund depends on it:
// its three amounts are zero, or it is a settlement that names no advance
// yet; and never while other vouchers are settled against it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/database.h"

namespace petty {

enum class DeletePermission {
    AmountsZero,                // every amount box reads 0 (an empty box too)
    SettlementWithoutAdvance,   // a settlement type whose advance box is empty
    Refused,
};

// The boxes of the voucher as they show.
struct ShownVoucher {
    std::string voucherId;
    std::string transType;
    std::string employee;
    std::string credit;
    std::string debit;
    std::string expenseFromAdvance;
    std::string matchWith;
};

DeletePermission deletePermission(const ShownVoucher& voucher);

// "Deleted voucher No:57 Type: Reimbursed from pettycash-Cashier Amount:250,,"
// cut to its first 100 characters (never inside a character).
std::string deletedVoucherLogText(const ShownVoucher& voucher);

// The vouchers other than this one whose advance box names it, in number order.
std::vector<int64_t> vouchersSettledAgainst(jet::Database& db, int64_t voucherId);

// The refusal for a voucher that others are settled against.
std::string settledAgainstRefusal(const std::vector<int64_t>& settlements);

}  // namespace petty
