#pragma once
// The book the register's benchmarks work on: an open period of 10,000 vouchers
// beside a closed period of as many, in a temporary folder removed at exit.
#include "petty/shell/business_database.h"
#include "platform/jet/test_support.h"
#include "platform/vb/date_time.h"

namespace bench_register {

inline constexpr int kRowsPerPeriod = 10000;
inline constexpr int64_t kOpenPeriod = 2201010000;

// Vouchers entered out of running order: each day's rows arrive latest time first.
inline void enterPeriod(jet::Database& db, const char* closed, int64_t periodId, vb::DateTime firstDay) {
    for (int i = 0; i < kRowsPerPeriod; ++i) {
        const bool cashIn = i % 7 == 0;
        db.execute(
            "INSERT INTO pettycash ([Date], [Time], [TransType], [Debit], [Credit], [Closed], [TermID]) "
            "VALUES (?, ?, ?, ?, ?, ?, ?)",
            {firstDay.addDays(i / 40), std::to_string(19 - i % 10) + ":00:00",
             cashIn ? "Cash transfer to PC" : "Reimbursed from pettycash",
             cashIn ? jet::Value(vb::Currency::fromWhole(50)) : jet::Value(),
             cashIn ? jet::Value() : jet::Value(vb::Currency::fromUnits(3500)), closed, periodId});
    }
}

struct OpenPeriodBook {
    OpenPeriodBook() {
        petty::createBook(folder.path(), "bench", "approve");
        jet::Database db = open();
        jet::Transaction fill(db);
        enterPeriod(db, "Yes", 2112010000, *vb::DateTime::fromParts(2021, 12, 1));
        enterPeriod(db, "No", kOpenPeriod, *vb::DateTime::fromParts(2022, 1, 1));
        fill.commit();
    }
    jet::Database open() const { return petty::openBook(petty::bookPath(folder.path())); }
    jet::testing::TestFolder folder;
};

}  // namespace bench_register
