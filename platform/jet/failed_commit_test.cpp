// A commit whose writes or sync fail is reported as failed, and then it is
// not in the book: not when the program goes on, not after a crash (the log
// recovered at the next start), so a save the user is told failed and tries
// again is never stored twice.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "platform/jet/database.h"
#include "platform/jet/test_support.h"
#include "platform/jet/testing/failing_writes.h"

namespace jet {
namespace {

using testing::FailingWrites;
using testing::TestFolder;

FailingWrites& faults() { return testing::failingWrites(); }

class FailedCommitTest : public ::testing::Test {
protected:
    void SetUp() override {
        faults().disarm();
        Database db = Database::create(book(), "pw");
        db.execute("CREATE TABLE saves (id INTEGER PRIMARY KEY, what TEXT)");
        Transaction t(db);
        for (int i = 0; i < 600; ++i) db.execute("INSERT INTO saves (what) VALUES (?)", {"earlier " + std::to_string(i)});
        t.commit();
    }
    void TearDown() override { faults().disarm(); }
    std::filesystem::path book() const { return folder / "book.mdb"; }

    // What a program is told about one save, with `arm` setting up the fault
    // after it opened the book and saved once; with `retry`, a save told
    // failed is made again, as the user would. The program then ends without
    // closing (a crash).
    enum Told { Stored = 's', NotStored = 'n', NotOpened = 'o', NothingFailed = 'f' };
    Told saveThenCrash(const std::function<void()>& arm, bool retry) {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) throw std::runtime_error("no pipe");
        const pid_t child = ::fork();
        if (child == 0) {
            const auto save = [](Database& db) {
                Transaction t(db);
                db.execute("UPDATE saves SET what = what || '.' WHERE id % 3 = 0");
                db.execute("INSERT INTO saves (what) VALUES ('the save')");
                t.commit();
            };
            bool faulted = false;
            const auto tell = [&](char told) {
                if (!faulted && !faults().failed()) told = NothingFailed;
                (void)!::write(pipeEnds[1], &told, 1);
                ::_exit(0);  // no destructor runs: the book is not closed
            };
            try {
                Database db = Database::open(book(), ";pwd=pw");
                db.execute("INSERT INTO saves (what) VALUES ('an earlier save')");
                arm();
                try {
                    save(db);
                    tell(Stored);
                } catch (const Error&) {
                    if (retry) {
                        faulted = faults().failed();
                        faults().disarm();
                        save(db);
                        tell(Stored);
                    }
                    tell(NotStored);
                }
            } catch (const Error&) {
            }
            tell(NotOpened);
        }
        char told = 0;
        const bool read = ::read(pipeEnds[0], &told, 1) == 1;
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        ::waitpid(child, nullptr, 0);
        if (!read) throw std::runtime_error("the saving program said nothing");
        return static_cast<Told>(told);
    }

    // The book as the next start finds it.
    int64_t savesInTheBook() {
        Database db = Database::open(book(), ";pwd=pw");
        EXPECT_EQ(db.checkStructure(), std::vector<std::string>());
        return db.openRecordset("SELECT count(*) AS n FROM saves WHERE what = 'the save'").field("n").asLong();
    }

    // Runs the save with the nth fault armed for n = 1, 2, ... until nothing
    // fails; returns how many runs had a fault.
    int sweep(const std::function<void(int)>& armNth, bool retry = false) {
        for (int n = 1; n < 500; ++n) {
            const Told told = saveThenCrash([&] { armNth(n); }, retry);
            if (told == NothingFailed) return n - 1;
            const int64_t found = savesInTheBook();
            if (told == Stored) EXPECT_EQ(found, 1) << "fault " << n << ": told stored";
            else EXPECT_EQ(found, 0) << "fault " << n << ": told " << (told == NotStored ? "not stored" : "not opened");
            if (found > 0) {
                Database db = Database::open(book(), ";pwd=pw");
                db.execute("DELETE FROM saves WHERE what = 'the save'");
            }
        }
        ADD_FAILURE() << "the save never ran through";
        return 0;
    }

    TestFolder folder;
};

TEST_F(FailedCommitTest, ASaveWhoseSyncFailsIsNotInTheBookAfterACrash) {
    const int runs = sweep([](int n) { faults().failSync(n); });
    std::printf("%d runs with a failed sync\n", runs);
    EXPECT_GT(runs, 0);
}

TEST_F(FailedCommitTest, ASaveToldFailedAndMadeAgainIsInTheBookOnce) {
    EXPECT_GT(sweep([](int n) { faults().failSync(n); }, true), 0);
    EXPECT_GT(sweep([](int n) { faults().failWrite(n); }, true), 0);
}

TEST_F(FailedCommitTest, ASaveWhoseWriteFailsIsNotInTheBookAfterACrash) {
    const int runs = sweep([](int n) { faults().failWrite(n); });
    std::printf("%d runs with a failed write\n", runs);
    EXPECT_GT(runs, 0);
}

}  // namespace
}  // namespace jet
