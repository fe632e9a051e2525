// The register's writes under failing storage, in the manner of a database
// engine's I/O-error tests: each action (a new voucher, the approval user's
// edit, a settlement that tallies, a delete, a period close) is run again and
// again with the Nth write of the book failing, for N = 1, 2, ... until the
// action runs through. After every failed run the book must still be sound:
// its structure, every running balance, every edit's change-log row, every
// advance group's flag, and exactly one open period.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "petty/register/book_invariants_test_support.h"
#include "petty/register/register_save_test_support.h"
#include "petty/register/running_balance.h"
#include "platform/forms/agreeing_ui.h"
#include "platform/jet/testing/failing_writes.h"

namespace petty {
namespace {

namespace user = forms::user;
using jet::testing::FailingWrites;

using jet::testing::FailingWritesFirst;
FailingWrites& faults() { return jet::testing::failingWrites(); }

class FaultSweepTest : private FailingWritesFirst, public testing::RegisterSaveTest {
protected:
    struct Action {
        std::function<void()> prepare;                       // rows in the book
        std::function<void(frmpettycash&)> beforeFault;      // the user's steps up to the button
        std::function<void(frmpettycash&)> press;            // the button whose writes fail
        std::function<std::string()> ownFault;               // what this action must never leave half done
    };

    void TearDown() override {
        faults().disarm();
        RegisterSaveTest::TearDown();
    }

    void startAfresh() {
        formInstances().releaseAll();
        db.execute("DELETE FROM pettycash");
        db.execute("DELETE FROM changelog");
        appState().superUserLogin = false;
        appState().currentUserName = testing::kUser;
    }

    // Runs the action with the nth write failing, for every n until it succeeds;
    // returns how many runs failed.
    // With `syncs`, the nth sync fails instead (fsync/fdatasync answering EIO).
    int sweep(const Action& action, FailingWrites::Fault fault = FailingWrites::Fault::IoError, bool syncs = false) {
        for (int n = 1; n < 2000; ++n) {
            startAfresh();
            action.prepare();
            updateRunningBalances(db);
            forms::AgreeingUi agreeing;
            forms::ScopedUi use(agreeing);
            frmpettycash& w = shownRegister();
            action.beforeFault(w);
            if (syncs)
                faults().failSync(n);
            else
                faults().failWrite(n, fault);
            action.press(w);
            const bool failed = faults().failed();
            faults().disarm();
            if (w.datPrimaryRS.hasRecordset()) w.datPrimaryRS.releaseRecordset();
            std::string found = testing::bookFault(db);
            if (found.empty()) found = action.ownFault();
            EXPECT_EQ(found, "") << "write " << n << " failed";
            if (!found.empty()) return n;
            if (failed) {
                // Told once, and never that it failed after it was stored.
                const auto errors = std::count_if(agreeing.messages.begin(), agreeing.messages.end(),
                                                  [](const std::string& m) { return m.rfind("Error ", 0) == 0; });
                EXPECT_EQ(errors, 1) << "write " << n << " failed";
            }
            if (!failed) {
                RecordProperty("failed_runs", n - 1);
                std::printf("%s: %d runs with a failed %s, then run through\n",
                            ::testing::UnitTest::GetInstance()->current_test_info()->name(), n - 1,
                            syncs ? "sync" : "write");
                return n - 1;
            }
        }
        ADD_FAILURE() << "the action never ran through";
        return 0;
    }

    // A new voucher of 100 paid out, whose entry stays in the boxes unless it is stored.
    Action aNewVoucherKeptUnlessStored() {
        return {
            [&] { fund("5000"); },
            [&](frmpettycash& w) { enter(w, Entry().cashOut("100")); },
            [&](frmpettycash& w) { user::click(w.cmdupdate); },
            [&]() -> std::string {
                frmpettycash& w = formInstances().get<frmpettycash>();
                const bool stored = count("SELECT count(*) FROM pettycash WHERE Credit = 100") == 1;
                if (!stored && w.Textpcash[kCreditBox].text() != "100") return "the user's entry is lost";
                return {};
            },
        };
    }

    // Some history before and after the voucher the action works on, so
    // that the running balances after it move.
    void someRows(int count) {
        for (int i = 0; i < count; ++i) {
            testing::Voucher v;
            v.time = "1" + std::to_string(i % 10) + ":00:00";
            v.credit = money("10");
            setColumn(insert(v), "Employee", "Ben");
        }
    }
};

TEST_F(FaultSweepTest, ANewVoucherIsStoredWholeOrNotAtAll) {
    const int failures = sweep({
        [&] {
            fund("5000");
            someRows(5);
        },
        [&](frmpettycash& w) {
            enter(w, Entry().cashOut("100"));
            user::editText(w.Textpcash[kTimeBox], "09:30:00");  // among the rows, not after them
        },
        [&](frmpettycash& w) { user::click(w.cmdupdate); },
        [] { return std::string(); },
    });
    EXPECT_GT(failures, 2);
}

TEST_F(FaultSweepTest, ANewVoucherOnAFullDiskIsNotStoredAndSaysSoOnce) {
    const int failures = sweep(aNewVoucherKeptUnlessStored(), FailingWrites::Fault::DiskFull);
    EXPECT_GT(failures, 2);
}

TEST_F(FaultSweepTest, ANewVoucherWhoseSyncFailsIsToldOnceAndKeptForAnotherTry) {
    const int failures = sweep(aNewVoucherKeptUnlessStored(), FailingWrites::Fault::IoError, true);
    EXPECT_GT(failures, 0);
}

TEST_F(FaultSweepTest, TheApprovalUsersEditIsStoredWithItsChangeLogRowOrNotAtAll) {
    int64_t edited = 0;
    const int failures = sweep({
        [&] {
            fund("5000");
            testing::Voucher v;
            v.time = "08:00:00";
            v.credit = money("100");
            edited = insert(v);
            for (const auto& [column, value] : {std::pair<const char*, jet::Value>{"Employee", "Asha"},
                                                {"Head", "Travel"},
                                                {"Narration", "taxi"},
                                                {"Enteredby", testing::kUser}})
                setColumn(edited, column, value);
            someRows(5);
        },
        [&](frmpettycash& w) {
            appState().superUserLogin = true;
            appState().currentUserName = testing::kApprovalUser;
            showVoucher(w, edited);
            user::click(w.cmdEdit);
            user::editText(w.Textpcash[kCreditBox], "150");
        },
        [&](frmpettycash& w) { user::click(w.cmdupdate); },
        [&]() -> std::string {
            const bool changed = stored(edited, "Credit").asCurrency() != vb::Currency::fromWhole(100);
            const int64_t logged = count("SELECT count(*) FROM changelog WHERE voucherID = ?", {edited});
            if (logged != (changed ? 1 : 0))
                return "the edit is " + std::string(changed ? "" : "not ") + "stored with " +
                       std::to_string(logged) + " change-log rows";
            return {};
        },
    });
    EXPECT_GT(failures, 2);
}

TEST_F(FaultSweepTest, ASettlementThatTalliesIsStoredWithItsAdvancesFlagsOrNotAtAll) {
    int64_t advance = 0;
    const int failures = sweep({
        [&] {
            fund("5000");
            advance = advanceToAsha("1000");
            expenseAgainst(advance, "700");
            someRows(3);
        },
        [&](frmpettycash& w) {
            enter(w, Entry().ofType("Spent from Advance issued").spent("300").narrated("taxi home"));
            w.Textpcash[kMatchwithBox].setText(std::to_string(advance));
        },
        [&](frmpettycash& w) { user::click(w.cmdupdate); },
        [] { return std::string(); },
    });
    EXPECT_GT(failures, 2);
}

TEST_F(FaultSweepTest, ADeleteTakesItsChangeLogRowAndTheBalancesWithIt) {
    int64_t doomed = 0;
    const int failures = sweep({
        [&] {
            fund("5000");
            doomed = insert({.time = "08:30:00", .transType = "Spent from Advance issued",
                             .debit = money("40")});
            setColumn(doomed, "Employee", "Asha");
            someRows(5);
        },
        [&](frmpettycash& w) { showVoucher(w, doomed); },
        [&](frmpettycash& w) { user::click(w.cmddelete); },
        [&]() -> std::string {
            const bool gone = count("SELECT count(*) FROM pettycash WHERE VoucherID = ?", {doomed}) == 0;
            const int64_t logged = count("SELECT count(*) FROM changelog WHERE voucherID = ?", {doomed});
            if (logged != (gone ? 1 : 0))
                return std::string(gone ? "deleted" : "kept") + " with " + std::to_string(logged) +
                       " change-log rows";
            return {};
        },
    });
    EXPECT_GT(failures, 2);
}

TEST_F(FaultSweepTest, APeriodCloseLeavesExactlyOneOpenPeriod) {
    const int failures = sweep({
        [&] {
            fund("5000");
            someRows(5);
        },
        [](frmpettycash&) {},
        [&](frmpettycash& w) {
            user::selectTab(w.SSTab2, 0);
            user::selectTab(w.SSTab1, 1);
            user::click(w.cmdClosepettycash);
        },
        [&]() -> std::string {
            const int64_t carried = count("SELECT count(*) FROM pettycash WHERE TransType = 'Carryover'");
            const int64_t closed = count("SELECT count(*) FROM pettycash WHERE closed = 'Yes'");
            if ((carried == 0) != (closed == 0)) return "a carry-over row without the close, or the reverse";
            return {};
        },
    });
    EXPECT_GT(failures, 2);
}

}  // namespace
}  // namespace petty
