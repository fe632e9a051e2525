#pragma once
// The figures of the open period (the rows whose `Closed` is "No") that the
// register shows in its status line and uses in its checks. An empty amount
// counts as zero and a sum over no rows is zero. Database errors reach the caller.
#include <cstdint>

#include "petty/shell/open_period_sums.h"
#include "platform/jet/database.h"
#include "platform/vb/currency.h"

namespace petty {

// Cash in hand: cash in (`Debit`) minus cash out (`Credit`) over all open rows.
// An expense paid out of an advance moves no cash and does not count.
vb::Currency getCashBalance(jet::Database& db);

// Every open row's `expensefromadvance` plus the `Credit` of the open
// "Reimbursed from pettycash" rows.
vb::Currency getTotalExpenses(jet::Database& db);

// Cash brought into the period: the `Debit` of the open "Cash transfer to PC"
// rows and of the period's "Carryover" row.
vb::Currency getCashFill(jet::Database& db);

// The open rows still waiting for settlement: advances and the rows matched
// against them that are not marked settled yet.
int64_t getUnsettledCount(jet::Database& db);

// What is not settled of those rows: an advance of 1000 with 300 spent out of
// it and not yet settled leaves 700.
vb::Currency getAmountNotSettled(jet::Database& db);

// The figures summed over the rows by the texts above (and the open rows
// counted), whether or not the book keeps them: what the kept figures must
// always equal.
OpenPeriodSums summedOpenPeriodSums(jet::Database& db);

}  // namespace petty
