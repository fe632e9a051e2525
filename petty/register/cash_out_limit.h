#pragma once
// How much a voucher may pay out of the petty-cash box: the cash in hand of
// the open period. While a saved voucher of the open period is changed, its
// own stored cash out is counted back: the new amount takes its place rather
// than coming on top of it. Database errors reach the caller.
#include <cstdint>
#include <optional>

#include "platform/jet/database.h"
#include "platform/vb/currency.h"

namespace petty {

// savedVoucherId: the voucher being changed, nullopt for a new one.
vb::Currency cashAvailableForCashOut(jet::Database& db, std::optional<int64_t> savedVoucherId);

}  // namespace petty
