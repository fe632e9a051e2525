// The register's save of one voucher in an open period of 10,000 rows (the
// store, the re-tally of the advance the voucher settles, the running
// balances, in one transaction): dated after every row of the period, and
// dated in its middle. Beside them the peer: a raw SQLite loop that
// recomputes and writes all 10,000 balances with prepared statements in one
// transaction. The save at the end should cost at most a fifth of the loop,
// the save in the middle at most the loop.
#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <cmath>
#include <optional>
#include <string>

#include "bench/register/open_period_book.h"
#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/running_balance.h"
#include "petty/shell/app_state.h"
#include "petty/shell/program_paths.h"
#include "platform/forms/agreeing_ui.h"
#include "platform/vb/date_text.h"

namespace {

// A cash-out voucher of 1, entered as the add button and the type combo
// leave the register; dated `day` when given (else today, after every row of
// the period). It moves cash, so every balance after it changes.
void enterCashOut(petty::frmpettycash& w, std::optional<vb::DateTime> day) {
    w.cmdadd_Click();
    if (day) w.Textpcash[petty::kDateBox].setText(vb::formatShortDate(*day));
    w.Combopcashtype.setText("Reimbursed from pettycash");
    w.Combopcashtype_Click();
    w.DBCombo2.setText("Asha");
    w.Combopcashhead.setText("Travel");
    w.Textpcash[petty::kCreditBox].setText("1");
    w.Textpcash[petty::kNarrationBox].setText("taxi");
}

void saveVouchers(benchmark::State& state, std::optional<vb::DateTime> day) {
    static const bench_register::OpenPeriodBook book;
    forms::AgreeingUi ui;
    forms::ScopedUi useUi(ui);
    jet::Database db = book.open();
    const int64_t first = db.openRecordset("SELECT max(VoucherID) AS id FROM pettycash").field("id").asLong() + 1;
    petty::rewriteRunningBalances(db);
    petty::AppState& app = petty::appState();
    app.appFolder = petty::withFolderSeparator(book.folder.path().string());
    app.businessDbPath = app.appFolder + std::string(petty::kBookFileName);
    app.currentUserName = "bench";

    petty::frmpettycash w;
    w.load();
    for (auto _ : state) {
        state.PauseTiming();
        enterCashOut(w, day);
        state.ResumeTiming();
        w.cmdupdate_Click();
    }
    w.datPrimaryRS.releaseRecordset();
    w.unload();
    const int64_t saved =
        db.openRecordset("SELECT count(*) AS n FROM pettycash WHERE VoucherID >= ?", {jet::Value(first)})
            .field("n")
            .asLong();
    if (saved != static_cast<int64_t>(state.iterations())) state.SkipWithError("a voucher was not saved");
    db.execute("DELETE FROM pettycash WHERE VoucherID >= ?", {jet::Value(first)});
    petty::rewriteRunningBalances(db);
}

void BM_SaveVoucherAtTheEndOfALargeOpenPeriod(benchmark::State& state) { saveVouchers(state, std::nullopt); }
BENCHMARK(BM_SaveVoucherAtTheEndOfALargeOpenPeriod)->Unit(benchmark::kMillisecond);

void BM_SaveVoucherInTheMiddleOfALargeOpenPeriod(benchmark::State& state) {
    // The period runs 250 days from 2022-01-01 at 40 vouchers a day.
    saveVouchers(state, vb::DateTime::fromParts(2022, 1, 1)->addDays(125));
}
BENCHMARK(BM_SaveVoucherInTheMiddleOfALargeOpenPeriod)->Unit(benchmark::kMillisecond);

// The peer: every balance of the open period recomputed and written with
// prepared statements in one transaction, straight on SQLite. From its second
// run on it writes the values the rows hold already, which the engine stores
// without dirtying a page, so its commit writes and syncs nothing: a peer
// that pays no I/O, where a save pays one sync of the log.
void BM_RawSqliteLoopRewritingAllBalances(benchmark::State& state) {
    static const bench_register::OpenPeriodBook book;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(petty::bookPath(book.folder.path()).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return state.SkipWithError("cannot open the book");
    sqlite3_stmt* read = nullptr;
    sqlite3_stmt* write = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT VoucherID, Debit, Credit FROM pettycash WHERE Closed = 'No' ORDER BY Date, Time, "
                       "VoucherID",
                       -1, &read, nullptr);
    sqlite3_prepare_v2(db, "UPDATE pettycash SET openingbalance = ?, runningbalance = ? WHERE VoucherID = ?", -1,
                       &write, nullptr);
    int64_t rows = 0;
    for (auto _ : state) {
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        // Whole ten-thousandths, as the book's amounts are kept.
        int64_t total = 0;
        rows = 0;
        while (sqlite3_step(read) == SQLITE_ROW) {
            const int64_t opening = total;
            total += std::llround(sqlite3_column_double(read, 1) * 10000) -
                     std::llround(sqlite3_column_double(read, 2) * 10000);
            sqlite3_bind_double(write, 1, static_cast<double>(opening) / 10000);
            sqlite3_bind_double(write, 2, static_cast<double>(total) / 10000);
            sqlite3_bind_int64(write, 3, sqlite3_column_int64(read, 0));
            sqlite3_step(write);
            sqlite3_reset(write);
            ++rows;
        }
        sqlite3_reset(read);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(read);
    sqlite3_finalize(write);
    sqlite3_close(db);
    if (rows < bench_register::kRowsPerPeriod) state.SkipWithError("the open period was not read");
}
BENCHMARK(BM_RawSqliteLoopRewritingAllBalances)->Unit(benchmark::kMillisecond);

}  // namespace
