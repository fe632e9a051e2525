// The register's save of one voucher in an open period of 10,000 rows: the
// store, the re-tally of the advance the voucher settles and the running
// balances of the whole period.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/register/open_period_book.h"
#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/shell/app_state.h"
#include "petty/shell/program_paths.h"
#include "platform/forms/ui.h"

namespace {

// A user who answers every message box with OK or Yes.
class AgreeingUi final : public forms::Ui {
public:
    forms::MsgResult msgBox(std::string_view, forms::MsgButtons buttons, forms::MsgIcon, std::string_view) override {
        return buttons == forms::MsgButtons::YesNo ? forms::MsgResult::Yes : forms::MsgResult::Ok;
    }
    std::string inputBox(std::string_view, std::string_view, std::string_view) override { return {}; }
    void beep() override {}
    int mousePointer() const override { return pointer_; }
    void setMousePointer(int pointer) override { pointer_ = pointer; }
    void setMouseIcon(const std::string&) override {}
    int shellOpen(const std::string&, std::string_view) override { return 42; }
    bool shellRun(const std::string&) override { return true; }
    forms::ScreenInfo screen() const override { return {}; }
    [[noreturn]] void endProgram() override { throw forms::ProgramEnded{}; }

private:
    int pointer_ = forms::vbDefault;
};

// An advance of the open period that the benchmark's expenses settle against.
int64_t addAdvance(jet::Database& db) {
    db.execute(
        "INSERT INTO pettycash ([Date], [Time], [Employee], [TransType], [Credit], [Closed], [TermID], "
        "[Matchrequired], [Matched]) VALUES (?, '08:00:00', 'Asha', 'Advance Issued from PC', 1000, 'No', ?, 'Yes', "
        "'No')",
        {*vb::DateTime::fromParts(2022, 1, 1), jet::Value(bench_register::kOpenPeriod)});
    return db.openRecordset("SELECT max(VoucherID) AS id FROM pettycash").field("id").asLong();
}

// An expense of 1 declared against the advance, entered as the add button and
// the type combo leave the register.
void enterExpense(petty::frmpettycash& w, int64_t advance) {
    w.cmdadd_Click();
    w.Combopcashtype.setText("Spent from Advance issued");
    w.Combopcashtype_Click();
    w.DBCombo2.setText("Asha");
    w.Combopcashhead.setText("Travel");
    w.Textpcash[petty::kExpenseFromAdvanceBox].setText("1");
    w.Textpcash[petty::kMatchwithBox].setText(std::to_string(advance));
    w.Textpcash[petty::kNarrationBox].setText("taxi");
}

void BM_SaveVoucherInLargeOpenPeriod(benchmark::State& state) {
    static const bench_register::OpenPeriodBook book;
    AgreeingUi ui;
    forms::ScopedUi useUi(ui);
    jet::Database db = book.open();
    const int64_t advance = addAdvance(db);
    petty::AppState& app = petty::appState();
    app.appFolder = petty::withFolderSeparator(book.folder.path().string());
    app.businessDbPath = app.appFolder + std::string(petty::kBookFileName);
    app.currentUserName = "bench";

    petty::frmpettycash w;
    w.load();
    for (auto _ : state) {
        state.PauseTiming();
        enterExpense(w, advance);
        state.ResumeTiming();
        w.cmdupdate_Click();
    }
    w.datPrimaryRS.releaseRecordset();
    w.unload();
    const int64_t saved =
        db.openRecordset("SELECT count(*) AS n FROM pettycash WHERE Matchwith = ?", {jet::Value(advance)})
            .field("n")
            .asLong();
    if (saved != static_cast<int64_t>(state.iterations())) state.SkipWithError("a voucher was not saved");
    db.execute("DELETE FROM pettycash WHERE VoucherID >= ?", {jet::Value(advance)});
}
BENCHMARK(BM_SaveVoucherInLargeOpenPeriod)->Unit(benchmark::kMillisecond);

}  // namespace
