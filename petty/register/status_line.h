#pragma once
// The register's status line: the four figures of the open period in the
// caption of its label, and the count of unsettled rows in its tool tip.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/forms/controls/label.h"
#include "platform/jet/database.h"
#include "platform/vb/currency.h"

namespace petty {

// A figure of the status line: nullopt when the book could not give it.
using BalanceFigure = std::optional<vb::Currency>;

struct BalanceFigures {
    BalanceFigure cashFill;
    BalanceFigure totalExpenses;
    std::optional<BalanceFigure> amountNotSettled;  // only while advances are in use
    BalanceFigure cashInHand;
};

// What a figure the book could not give shows: never a plausible amount.
inline constexpr const char* kUnreadableFigure = "cannot be read";

// "Pettycash ( Cash fill: 5000    Total expenses: 1234.5    Cash-in-hand: 3765.5 )",
// with "    Amount not settled: ..." before the cash in hand when that figure is given.
std::string balanceStatusCaption(const BalanceFigures& figures);

// "Unsettled transactions : 3"
std::string unsettledToolTip(int64_t count);

// Refreshes the status line from the book. Never fails: a figure whose query
// fails says it cannot be read (a 0 would pass for a true balance), and the
// tool tip keeps its text when the count cannot be read. Without advances (noAdvanceMode) the tool tip is left as it is.
void showBalanceStatus(forms::Label& statusLine, jet::Database& db, bool noAdvanceMode);

}  // namespace petty
