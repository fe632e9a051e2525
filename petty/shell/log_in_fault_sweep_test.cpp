// The log-in under failing storage: with the Nth and every later write (a
// full disk stays full), or the Nth sync, of the engine failing, for N = 1, 2, ... until the log-in runs through, the user is
// told either nothing (logged in) or that the disk is full or reported an
// error; never that the book is damaged. Afterwards the same book is sound
// and opens.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "petty/shell/business_database.h"
#include "petty/shell/form_instances.h"
#include "petty/shell/shell_test_support.h"
#include "petty/shell/startup_pettycash.h"
#include "platform/forms/agreeing_ui.h"
#include "platform/forms/test_support.h"
#include "platform/jet/error.h"
#include "platform/jet/testing/failing_writes.h"

namespace petty {
namespace {

using jet::testing::FailingWrites;

using jet::testing::FailingWritesFirst;
FailingWrites& faults() { return jet::testing::failingWrites(); }

class LogInFaultSweepTest : private FailingWritesFirst, public testing::ShellTest {
protected:
    void TearDown() override {
        faults().disarm();
        ShellTest::TearDown();
    }

    // Logs in with the fault armed; returns how many runs met a fault.
    int sweep(const std::function<void(int)>& armNth, const std::string& diskMessage) {
        const std::filesystem::path book = bookPath(folder.path());
        for (int n = 1; n < 500; ++n) {
            formInstances().releaseAll();  // the book closes: the next log-in opens it afresh
            forms::AgreeingUi agreeing;
            forms::ScopedUi use(agreeing);
            STARTUPpettycash& window = formInstances().get<STARTUPpettycash>();
            window.show();
            forms::user::typeText(window.Text1, testing::kNormalPassword);
            armNth(n);
            bool loggedIn = true;
            try {
                forms::user::pressKey(window.Text1, forms::vbKeyReturn);
            } catch (const forms::ProgramEnded&) {
                loggedIn = false;
            }
            const bool failed = faults().failed();
            faults().disarm();
            formInstances().releaseAll();
            for (const std::string& m : agreeing.messages)
                EXPECT_EQ(m.find("damaged"), std::string::npos) << "fault " << n << ": " << m;
            if (!loggedIn) {
                EXPECT_TRUE(failed) << "fault " << n;
                EXPECT_FALSE(agreeing.messages.empty());
                if (!agreeing.messages.empty())
                    EXPECT_EQ(agreeing.messages.back(), diskMessage) << "fault " << n;
            }
            // The same book, on a mended disk.
            {
                jet::Database db = openBook(book);
                EXPECT_EQ(bookDamage(db), "") << "fault " << n;
            }
            if (!failed) return n - 1;
        }
        ADD_FAILURE() << "the log-in never ran through";
        return 0;
    }

    std::string fullDisk() const { return "The book " + bookPath(folder.path()).string() + " cannot be opened: the disk is full"; }
    std::string diskError() const {
        return "The book " + bookPath(folder.path()).string() + " cannot be opened: the disk reported an error";
    }
};

TEST_F(LogInFaultSweepTest, AFailingWriteIsADiskErrorNotDamage) {
    const int runs = sweep([](int n) { faults().failWrite(n, FailingWrites::Fault::IoError, true); }, diskError());
    std::printf("log-in: %d runs with a failed write\n", runs);
    EXPECT_GT(runs, 2);
}

TEST_F(LogInFaultSweepTest, AFullDiskIsNamedAsSuch) {
    const int runs = sweep([](int n) { faults().failWrite(n, FailingWrites::Fault::DiskFull, true); }, fullDisk());
    std::printf("log-in: %d runs on a full disk\n", runs);
    EXPECT_GT(runs, 2);
}

TEST_F(LogInFaultSweepTest, AFailingSyncIsADiskErrorNotDamage) {
    const int runs = sweep([](int n) { faults().failSync(n); }, diskError());
    std::printf("log-in: %d runs with a failed sync\n", runs);
    EXPECT_GT(runs, 0);
}

}  // namespace
}  // namespace petty
