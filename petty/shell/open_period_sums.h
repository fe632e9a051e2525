#pragma once
// The status line's figures of the open period, kept by the book itself: a
// one-row table that triggers on pettycash bring up to date in the same
// transaction as every write of a voucher (whoever writes it), so reading
// the figures after a save costs one row instead of four passes over the
// period. Amounts are kept in whole ten-thousandths, the unit of a Currency.
#include <cstdint>
#include <optional>

#include "platform/jet/database.h"
#include "platform/vb/currency.h"

namespace petty {

struct OpenPeriodSums {
    vb::Currency cashInHand;         // Debit less Credit
    vb::Currency totalExpenses;      // expensefromadvance, and the Credit of reimbursements
    vb::Currency cashFill;           // the Debit of cash transfers and of the carry-over
    int64_t unsettledCount = 0;      // rows matched that are not settled yet
    vb::Currency unsettledMovement;  // expensefromadvance + Debit - Credit of those rows
    int64_t openRows = 0;            // every row of the open period

    bool operator==(const OpenPeriodSums&) const = default;
};

// Gives the book its kept figures (table and triggers), filled from the rows
// it holds, in one transaction; a book that has them already is left alone.
// Database errors reach the caller, and the book is then left as it was.
void keepOpenPeriodSums(jet::Database& db);

// The kept figures; none when the book does not keep them (a book made before
// they were, or one that cannot take them, whose figures are summed instead).
std::optional<OpenPeriodSums> keptOpenPeriodSums(jet::Database& db);

}  // namespace petty
