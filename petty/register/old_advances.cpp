#include "petty/register/old_advances.h"

#include "petty/register/period_query.h"

namespace petty {

int64_t countOldUnsettledAdvances(jet::Database& db, const vb::DateTime& today, int reminderDays) {
    // Before the day after the cut-off, so that a date carrying a time of day
    // on the cut-off day still counts.
    const vb::DateTime dayAfterCutOff = today.dateOnly().addDays(1 - reminderDays);
    const jet::Value count = firstRowValue(db,
                                           "SELECT count(*) as mycount from pettycash where [date] < ? "
                                           "and (TRANSTYPE= 'Advance Issued from PC' AND MATCHED='No')",
                                           "mycount", {jet::Value(dayAfterCutOff)});
    return count.isNull() ? 0 : count.asLong();
}

std::string oldAdvancesReminderText(int64_t count, int reminderDays) {
    return "There are " + std::to_string(count) + " advance vouchers older than " + std::to_string(reminderDays) +
           " days which are not settled yet !!!";
}

}  // namespace petty
