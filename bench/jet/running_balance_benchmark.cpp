// The register's heaviest database work: reading the open period in running
// order, and rewriting the balances of every open row in one transaction.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "petty/shell/business_database.h"

namespace {

constexpr int kOpenRows = 10000;
constexpr int kClosedRows = 10000;
constexpr const char* kOpenInOrder = "select * from pettycash where closed='No' order by date, time, voucherid   ";

// One book for the whole run, in a temporary folder removed at exit.
class Book {
public:
    Book() {
        std::string pattern = (std::filesystem::temp_directory_path() / "jet-bench-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        petty::createBook(folder_, "bench", "approve");
        jet::Database db = open();
        jet::Transaction fill(db);
        for (int i = 0; i < kClosedRows + kOpenRows; ++i) {
            const bool open = i >= kClosedRows;
            const std::string date = vb::DateTime::fromParts(2022, 1, 1)->addDays(i / 40).toIsoDate();
            db.execute(
                "INSERT INTO pettycash ([Date], [Time], [TransType], [Debit], [Credit], [Closed], [TermID]) "
                "VALUES (?, ?, 'Reimbursed from pettycash', ?, ?, ?, ?)",
                {date, "0" + std::to_string(i % 10) + ":00:00", i % 7 == 0 ? jet::Value(12.5) : jet::Value(),
                 jet::Value(0.35), open ? "No" : "Yes", int64_t{open ? 2201010000 : 2112010000}});
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

void BM_RunningBalanceQuery(benchmark::State& state) {
    jet::Database db = book().open();
    for (auto _ : state) {
        jet::Recordset rs = db.openRecordset(kOpenInOrder);
        vb::Currency total;
        for (; !rs.eof(); rs.moveNext()) {
            const jet::Value debit = rs.field("Debit");
            const jet::Value credit = rs.field("Credit");
            if (!debit.isNull()) total += debit.asCurrency();
            if (!credit.isNull()) total -= credit.asCurrency();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kOpenRows);
}
BENCHMARK(BM_RunningBalanceQuery)->Unit(benchmark::kMillisecond);

void BM_UpdateEveryOpenRowInOneTransaction(benchmark::State& state) {
    jet::Database db = book().open();
    for (auto _ : state) {
        jet::Recordset rs = db.openRecordset(kOpenInOrder);
        jet::Transaction transaction(db);
        vb::Currency total;
        for (; !rs.eof(); rs.moveNext()) {
            const jet::Value debit = rs.field("Debit");
            const jet::Value credit = rs.field("Credit");
            vb::Currency amount;
            if (!debit.isNull()) amount += debit.asCurrency();
            if (!credit.isNull()) amount -= credit.asCurrency();
            rs.edit();
            rs.setField("openingbalance", total);
            total += amount;
            rs.setField("runningbalance", total);
            rs.update();
            rs.setBookmark(rs.lastModified());
        }
        transaction.commit();
    }
    state.SetItemsProcessed(state.iterations() * kOpenRows);
}
BENCHMARK(BM_UpdateEveryOpenRowInOneTransaction)->Unit(benchmark::kMillisecond);

}  // namespace
