#pragma once
// A period closed with a balance opens the next one with a carry-over row.
// The running balance takes a period's rows by date and time, so a voucher
// dated before that row would open the period with the carried balance
// missing (below zero, as often as not): the save refuses such a voucher.
#include <optional>
#include <string>

#include "petty/register/period_ids.h"
#include "platform/jet/database.h"
#include "platform/vb/date_time.h"

namespace petty {

// The refusal when the voucher's moment (its date and time) lies before the
// carry-over row of its period; nullopt when it does not, or the period has
// no carry-over row. Database errors reach the caller.
std::optional<std::string> beforeCarryoverRefusal(jet::Database& db, PeriodId period, const vb::DateTime& moment);

}  // namespace petty
