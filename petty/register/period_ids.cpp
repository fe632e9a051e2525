#include "petty/register/period_ids.h"

#include <charconv>
#include <stdexcept>
#include <string>

#include "petty/register/period_query.h"
#include "petty/shell/book_queries.h"
#include "platform/vb/date_format.h"

namespace petty {

namespace {

constexpr const char* kRowsWithId = "select termID FROM PETTYCASH WHERE TERMID=?";

// A Null or 0 maximum means no period.
PeriodId largestId(jet::Database& db, const char* sql) {
    const jet::Value id = firstRowValue(db, sql, "mysessionid");
    return id.isNull() ? 0 : id.asLong();
}

bool idTaken(jet::Database& db, PeriodId id) {
    return !db.openRecordset(kRowsWithId, {jet::Value(id)}).eof();
}

}  // namespace

PeriodId periodIdAt(const vb::DateTime& moment) {
    const std::string digits = vb::formatDate(moment, "YYMMDDHHMM");
    PeriodId id = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
    if (error != std::errc() || end != digits.data() + digits.size())
        throw std::logic_error("period ID digits expected, got '" + digits + "'");
    return id;
}

PeriodId newPeriodId(jet::Database& db, const vb::Clock& clock) {
    PeriodId id = periodIdAt(clock.now());
    while (idTaken(db, id)) ++id;
    return id;
}

PeriodId getCurrentOrNewPeriodId(jet::Database& db, const vb::Clock& clock) {
    const PeriodId open = getOpenPeriodId(db);
    return open != 0 ? open : newPeriodId(db, clock);
}

PeriodId getOpenPeriodId(jet::Database& db) { return largestId(db, kLargestOpenPeriodIdSql); }

PeriodId currentPeriodId(jet::Database& db) {
    const PeriodId open = getOpenPeriodId(db);
    return open != 0 ? open : largestId(db, kLargestPeriodIdSql);
}

}  // namespace petty
