#pragma once
// The reminder of advances left unsettled too long: advances of any period,
// open or closed, whose `Matched` is still "No".
#include <cstdint>
#include <string>

#include "platform/jet/database.h"
#include "platform/vb/date_time.h"

namespace petty {

// Unsettled advances dated on or before the day `reminderDays` before `today`
// (that day itself counts). Database errors reach the caller.
int64_t countOldUnsettledAdvances(jet::Database& db, const vb::DateTime& today, int reminderDays);

// "There are 3 advance vouchers older than 30 days which are not settled yet !!!"
std::string oldAdvancesReminderText(int64_t count, int reminderDays);

}  // namespace petty
