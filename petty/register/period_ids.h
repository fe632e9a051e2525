#pragma once
// Petty-cash periods. Every voucher row carries the ID of its period
// (`TermID`); the open period is the set of rows whose `Closed` is "No".
// An ID is the moment its period was opened, as the digits "YYMMDDHHMM"
// (15 May 2024 14:30 is 2405151430): ten digits from 2010 on, above what a
// 32-bit integer holds from 2022 on, so it is kept whole as a 64-bit value.
// 0 means no period. Database errors reach the caller.
#include <cstdint>

#include "platform/jet/database.h"
#include "platform/vb/clock.h"
#include "platform/vb/date_time.h"

namespace petty {

using PeriodId = int64_t;

// The ID of a period opened at this moment (to the minute).
PeriodId periodIdAt(const vb::DateTime& moment);

// An ID for a period opened now: the present minute's, or when a row carries
// that ID already, the next value that no row carries (several periods can be
// opened in one minute). The ID is only computed; it exists once a row
// carrying it is saved.
PeriodId newPeriodId(jet::Database& db, const vb::Clock& clock = vb::clock());

// The open period's ID, or a new one when there is no open period.
PeriodId getCurrentOrNewPeriodId(jet::Database& db, const vb::Clock& clock = vb::clock());

// The open period's ID (the largest among the open rows); 0 when there is none.
// Open rows whose ID is 0 or empty count as no open period.
PeriodId getOpenPeriodId(jet::Database& db);

// The open period's ID, else the largest ID of all rows (the last closed
// period), else 0.
PeriodId currentPeriodId(jet::Database& db);

}  // namespace petty
