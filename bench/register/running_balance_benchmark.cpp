// The register's recompute of the open period's running balances: every open
// row rewritten in one transaction, with as many closed rows beside them.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "petty/register/running_balance.h"
#include "petty/shell/business_database.h"

namespace {

constexpr int kOpenRows = 10000;
constexpr int kClosedRows = 10000;

// One book for the whole run, in a temporary folder removed at exit.
class Book {
public:
    Book() {
        std::string pattern = (std::filesystem::temp_directory_path() / "register-bench-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        petty::createBook(folder_, "bench", "approve");
        jet::Database db = open();
        jet::Transaction fill(db);
        for (int i = 0; i < kClosedRows + kOpenRows; ++i) {
            const bool open = i >= kClosedRows;
            // Entered out of running order: later days first within each block.
            const int day = (kClosedRows + kOpenRows - i) / 40;
            db.execute(
                "INSERT INTO pettycash ([Date], [Time], [TransType], [Debit], [Credit], [Closed], [TermID]) "
                "VALUES (?, ?, 'Reimbursed from pettycash', ?, ?, ?, ?)",
                {vb::DateTime::fromParts(2022, 1, 1)->addDays(day), "0" + std::to_string(i % 10) + ":00:00",
                 i % 7 == 0 ? jet::Value(12.5) : jet::Value(), jet::Value(0.35), open ? "No" : "Yes",
                 int64_t{open ? 2201010000 : 2112010000}});
        }
        fill.commit();
    }
    ~Book() { std::filesystem::remove_all(folder_); }
    jet::Database open() const { return petty::openBook(petty::bookPath(folder_)); }

private:
    std::filesystem::path folder_;
};

const Book& book() {
    static Book b;
    return b;
}

void BM_RewriteRunningBalances(benchmark::State& state) {
    jet::Database db = book().open();
    for (auto _ : state) benchmark::DoNotOptimize(petty::rewriteRunningBalances(db));
    state.SetItemsProcessed(state.iterations() * kOpenRows);
}
BENCHMARK(BM_RewriteRunningBalances)->Unit(benchmark::kMillisecond);

}  // namespace
