#pragma once
// The running balance of the open period. Every open row stores the cash in
// hand before it (`openingbalance`) and after it (`runningbalance`), counted
// from zero at the period's first row in date, time and voucher order. The
// register recomputes them for the whole period after every save and before a
// period is closed.
#include <cstdint>
#include <string_view>

#include "platform/forms/controls/data_control.h"
#include "platform/jet/database.h"

namespace petty {

// The open rows in running order; the register shows them after a recompute.
inline constexpr std::string_view kOpenRowsInRunningOrder =
    "select * from pettycash where closed='No' order by date, time, voucherid   ";

// Rewrites both balances of every open row in one transaction, in one ordered
// pass: all rows get their new balances or, when any write fails, none does
// (the error reaches the caller). Returns the number of open rows.
int64_t rewriteRunningBalances(jet::Database& db);

// The register's recompute: rewrites the balances (hourglass pointer
// meanwhile), then shows every open row in `display`, the cursor on the last.
// Without open rows nothing is written and `display` keeps its query and row.
// The program's custom pointer comes back whether or not the rewrite succeeds.
void recalculateRunningBalances(jet::Database& db, forms::DataControl& display);

}  // namespace petty
