#pragma once
// The running balance of the open period. Every open row stores the cash in
// hand before it (`openingbalance`) and after it (`runningbalance`), counted
// from zero at the period's first row in date, time and voucher order. Every
// write that moves cash (a save, a delete) brings them up to date in its own
// transaction, and the period close does before it closes.
#include <cstdint>
#include <string_view>

#include "platform/forms/controls/data_control.h"
#include "platform/jet/database.h"

namespace petty {

// The open rows in running order; the register shows them after a recompute.
inline constexpr std::string_view kOpenRowsInRunningOrder =
    "select * from pettycash where closed='No' order by date, time, voucherid   ";

struct BalancePass {
    int64_t openRows = 0;  // rows of the open period
    int64_t written = 0;   // rows whose stored balances differed and were rewritten
};

// Computes both balances of every open row in one ordered pass and writes
// only the rows whose stored balances differ (a voucher saved at the end of
// the period touches one row, an edit in the middle the rows after it), all
// in one transaction: all of them or, when any write fails, none (the error
// reaches the caller). Inside a caller's transaction it becomes part of it.
BalancePass updateRunningBalances(jet::Database& db);

// The same pass; returns the number of open rows.
int64_t rewriteRunningBalances(jet::Database& db);

// Shows every open row in `display`, the cursor on the last. Without open
// rows `display` keeps its query and row.
void showOpenRowsInRunningOrder(jet::Database& db, forms::DataControl& display);

// The register's recompute: the pass (hourglass pointer meanwhile), then the
// open rows shown. Without open rows nothing is written and `display` keeps
// its query and row. The program's custom pointer comes back whether or not
// the pass succeeds.
void recalculateRunningBalances(jet::Database& db, forms::DataControl& display);

}  // namespace petty
