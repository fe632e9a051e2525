#include "petty/register/carryover_date.h"

#include "petty/shell/voucher_types.h"
#include "platform/vb/date_text.h"

namespace petty {

std::optional<std::string> beforeCarryoverRefusal(jet::Database& db, PeriodId period, const vb::DateTime& moment) {
    jet::Recordset rows = db.openRecordset(
        "select [Date], [Time] from pettycash where [TermID] = ? and [TransType] = ? order by [Date], [Time]",
        {jet::Value(period), jet::Value(std::string(voucher_type::kCarryover))});
    if (rows.eof()) return std::nullopt;
    const vb::DateTime day = rows.field("Date").asDate().dateOnly();
    vb::DateTime start = day;
    if (const jet::Value time = rows.field("Time"); !time.isNull())
        if (const std::optional<vb::DateTime> t = vb::parseTimeText(time.asText()))
            start = day.addSeconds(t->hour() * 3600LL + t->minute() * 60LL + t->second());
    if (!(moment < start)) return std::nullopt;
    return "This voucher is dated before the carry-over that opens pettycash period " + std::to_string(period) +
           " (" + vb::formatShortDate(day) + " " + start.toHms() +
           "). Enter a date and time on or after it!";
}

}  // namespace petty
