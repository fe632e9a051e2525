#pragma once
// The running balance of the open period. Every open row stores the cash in
// hand before it (`openingbalance`) and after it (`runningbalance`), counted
// from zero at the period's first row in date, time and voucher order. Every
// write that moves cash (a save, a delete) brings them up to date in its own
// transaction, and the period close does before it closes.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "platform/forms/controls/data_control.h"
#include "platform/jet/database.h"
#include "platform/vb/date_time.h"

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

// The same pass over the open rows dated `from` or later only, for a write
// that touched no row dated before it: the rows before keep their balances,
// and the first row of the pass opens with the running balance stored by the
// last row before it (0 without one). When that row has no stored balance,
// the whole period is passed over as above. `openRows` counts the rows read.
BalancePass updateRunningBalancesFrom(jet::Database& db, const vb::DateTime& from);

// The pass after a write that touched rows of the given dates: from the
// earliest of them, or over the whole period when any is unknown (a row
// without a date, a row that could not be read).
BalancePass updateRunningBalancesAfter(jet::Database& db, std::initializer_list<std::optional<vb::DateTime>> touched);

// The stored date of a voucher; none when it has none or is not there.
std::optional<vb::DateTime> storedVoucherDate(jet::Database& db, int64_t voucherId);

// The same pass; returns the number of open rows.
int64_t rewriteRunningBalances(jet::Database& db);

// Shows every open row in `display`, the cursor on the last. Without open
// rows `display` keeps its query and row.
void showOpenRowsInRunningOrder(jet::Database& db, forms::DataControl& display);

// After a save that changed the one open row `savedId` (its place in running
// order included) and no other row's: the rows showOpenRowsInRunningOrder shows,
// the cursor on the saved row (on the last when the saved row is not open),
// got by moving that row into place in `display`'s set instead of reading
// every row's id again. Only when `display` shows the open rows already and
// holds as many as the book has open, and nothing but the save wrote since it
// read them (`versionBeforeSave`: the book's version() before the save);
// otherwise (or when the row has no date or time to place it by) the open
// rows are read afresh.
void showSavedRowInRunningOrder(jet::Database& db, forms::DataControl& display, int64_t savedId,
                                uint64_t versionBeforeSave);

// The register's recompute: the pass (hourglass pointer meanwhile), then the
// open rows shown. Without open rows nothing is written and `display` keeps
// its query and row. The program's custom pointer comes back whether or not
// the pass succeeds.
void recalculateRunningBalances(jet::Database& db, forms::DataControl& display);

}  // namespace petty
