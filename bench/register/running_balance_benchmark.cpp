// The register's recompute of the open period's running balances: every open
// row rewritten in one transaction, beside as many closed rows of the period before.
#include <benchmark/benchmark.h>

#include "petty/register/running_balance.h"
#include "petty/shell/business_database.h"
#include "platform/jet/test_support.h"

namespace {

constexpr int kRowsPerPeriod = 10000;

// Vouchers entered out of running order: each day's rows arrive latest time first.
void enterPeriod(jet::Database& db, const char* closed, int64_t periodId, vb::DateTime firstDay) {
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

// One book for the whole run, in a temporary folder removed at exit.
struct Book {
    Book() {
        petty::createBook(folder.path(), "bench", "approve");
        jet::Database db = open();
        jet::Transaction fill(db);
        enterPeriod(db, "Yes", 2112010000, *vb::DateTime::fromParts(2021, 12, 1));
        enterPeriod(db, "No", 2201010000, *vb::DateTime::fromParts(2022, 1, 1));
        fill.commit();
    }
    jet::Database open() const { return petty::openBook(petty::bookPath(folder.path())); }
    jet::testing::TestFolder folder;
};

void BM_RewriteRunningBalances(benchmark::State& state) {
    static const Book book;
    jet::Database db = book.open();
    for (auto _ : state) benchmark::DoNotOptimize(petty::rewriteRunningBalances(db));
    state.SetItemsProcessed(state.iterations() * kRowsPerPeriod);
}
BENCHMARK(BM_RewriteRunningBalances)->Unit(benchmark::kMillisecond);

}  // namespace
