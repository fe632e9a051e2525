#include "platform/jet/testing/failing_writes.h"

#include <gtest/gtest.h>

#include "platform/jet/database.h"
#include "platform/jet/test_support.h"

namespace jet::testing {
namespace {

class FailingWritesTest : public ::testing::Test {
protected:
    void SetUp() override {
        Database db = Database::create(folder / "book.mdb", "pw");
        db.execute("CREATE TABLE t (id INTEGER PRIMARY KEY, v TEXT)");
    }
    Database open() { return Database::open(folder / "book.mdb", ";pwd=pw"); }
    int64_t rows(Database& db) { return db.openRecordset("SELECT count(*) AS n FROM t").field("n").asLong(); }

    TestFolder folder;
    FailingWrites faults;
};

TEST_F(FailingWritesTest, TheNthWriteFailsAndTheTransactionLeavesNothing) {
    for (const auto fault : {FailingWrites::Fault::IoError, FailingWrites::Fault::DiskFull}) {
        Database db = open();
        faults.failWrite(1, fault);
        EXPECT_NE(errorNumber([&] {
                      Transaction t(db);
                      db.execute("INSERT INTO t (v) VALUES ('a')");
                      t.commit();
                  }),
                  0);
        EXPECT_TRUE(faults.failed());
        faults.disarm();
        EXPECT_EQ(rows(db), 0);
    }
}

TEST_F(FailingWritesTest, AWriteCountBeyondTheActionLetsItSucceed) {
    Database db = open();
    faults.failWrite(1000);
    db.execute("INSERT INTO t (v) VALUES ('a')");
    EXPECT_FALSE(faults.failed());
    EXPECT_GT(faults.writes(), 0);
    EXPECT_EQ(rows(db), 1);
}

}  // namespace
}  // namespace jet::testing
