// The register's writes cut off by SIGKILL at random moments, as a crash or
// a power cut would: a child process saves vouchers in a book of
// 10,000 open vouchers until it is killed, and the book it leaves must be
// sound (structure, running balances, advance flags, one open period). The
// number of kills is OSTRELLE_KILL_RUNS (a few by default; set it to some
// hundreds for a long run).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>

#include "petty/register/book_invariants_test_support.h"
#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/running_balance.h"
#include "petty/shell/app_state.h"
#include "petty/shell/business_database.h"
#include "petty/shell/form_instances.h"
#include "petty/shell/program_paths.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/forms/agreeing_ui.h"
#include "platform/forms/test_host.h"
#include "platform/vb/date_text.h"

namespace petty {
namespace {

constexpr int kVouchers = 10000;

int killRuns() {
    const char* runs = std::getenv("OSTRELLE_KILL_RUNS");
    return runs ? std::max(1, std::atoi(runs)) : 3;
}

// A book of 10,000 open vouchers over 250 days, balances in place.
void fillBook(const std::filesystem::path& folder) {
    createBook(folder, "k1", "k2");
    jet::Database db = openBook(bookPath(folder));
    jet::Transaction fill(db);
    db.execute("INSERT INTO employeemaster ([Name]) VALUES ('Asha')");
    db.execute("INSERT INTO [expense types] ([expense type]) VALUES ('Travel')");
    jet::Command insert = db.prepare(
        "INSERT INTO pettycash ([Date], [Time], [Employee], [TransType], [Debit], [Credit], [Closed], [TermID], "
        "[Matchrequired], [Matched]) VALUES (?, ?, 'Asha', ?, ?, ?, 'No', 2201010000, 'No', 'No')");
    const vb::DateTime first = *vb::DateTime::fromParts(2022, 1, 1);
    for (int i = 0; i < kVouchers; ++i) {
        const bool cashIn = i % 7 == 0;
        insert.execute({first.addDays(i / 40), std::to_string(10 + i % 10) + ":00:00",
                        cashIn ? "Cash transfer to PC" : "Reimbursed from pettycash",
                        cashIn ? jet::Value(vb::Currency::fromWhole(50)) : jet::Value(),
                        cashIn ? jet::Value() : jet::Value(vb::Currency::fromUnits(3500))});
    }
    fill.commit();
    updateRunningBalances(db);
}

// The child: saves vouchers dated anywhere in the period (every balance after
// them moves), until it is killed.
[[noreturn]] void workUntilKilled(const std::filesystem::path& folder, unsigned seed) {
    forms::AgreeingUi ui;
    forms::ScopedUi useUi(ui);
    forms::TestHost host;  // installs itself
    AppState& app = appState();
    app.programFolder = folder.string();
    app.appFolder = withFolderSeparator(folder.string());
    app.businessDbPath = app.appFolder + std::string(kBookFileName);
    app.currentUserName = "Ravi";
    std::mt19937 random(seed);
    frmpettycash& w = formInstances().get<frmpettycash>();
    w.show();
    for (int i = 0;; ++i) {
        w.cmdadd_Click();
        w.Textpcash[kDateBox].setText(
            vb::formatShortDate(vb::DateTime::fromParts(2022, 1, 1)->addDays(static_cast<int>(random() % 250))));
        w.Combopcashtype.setText("Reimbursed from pettycash");
        w.Combopcashtype_Click();
        w.DBCombo2.setText("Asha");
        w.Combopcashhead.setText("Travel");
        w.Textpcash[kCreditBox].setText("1");
        w.Textpcash[kNarrationBox].setText("taxi " + std::to_string(i));
        w.cmdupdate_Click();
    }
}

TEST(RegisterKillTest, ABookWhoseWriterIsKilledAtAnyMomentIsSound) {
    files::testing::ScratchFolder scratch("kill");
    const std::filesystem::path pristine = scratch / "pristine";
    fillBook(pristine);
    std::mt19937 random(std::random_device{}());
    const int runs = killRuns();
    int workerDied = 0;
    int runsWithSavedVouchers = 0;
    for (int run = 0; run < runs; ++run) {
        const std::filesystem::path folder = scratch / ("run" + std::to_string(run));
        std::filesystem::copy(pristine, folder, std::filesystem::copy_options::recursive);
        const unsigned seed = static_cast<unsigned>(random());
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) workUntilKilled(folder, seed);
        // The child needs some time to open the book and load the register.
        ::usleep(static_cast<useconds_t>(300000 + random() % 1500000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        workerDied += WIFSIGNALED(status) ? 0 : 1;
        jet::Database db = openBook(bookPath(folder));
        ASSERT_EQ(testing::bookFault(db), "") << "run " << run << " (seed " << seed << ")";
        runsWithSavedVouchers +=
            db.openRecordset("SELECT count(*) AS n FROM pettycash").field("n").asLong() > kVouchers ? 1 : 0;
        std::filesystem::remove_all(folder);
    }
    EXPECT_EQ(workerDied, 0) << "the writer stopped by itself before it was killed";
    EXPECT_GT(runsWithSavedVouchers, 0) << "the writer never got as far as a save";
}

}  // namespace
}  // namespace petty
