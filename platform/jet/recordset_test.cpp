#include "platform/jet/recordset.h"

#include <gtest/gtest.h>

#include "platform/jet/database.h"
#include "platform/jet/test_support.h"
#include "platform/jet/testing/own_connection.h"

namespace jet {
namespace {

using testing::errorNumber;
using testing::TestFolder;

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.execute(
            "CREATE TABLE people (id INTEGER PRIMARY KEY AUTOINCREMENT, [Name] TEXT COLLATE NOCASE NOT NULL UNIQUE, "
            "age LONG)");
        for (const char* name : {"Bea", "Cal", "Dora"}) db.execute("INSERT INTO people (Name) VALUES (?)", {name});
    }
    std::vector<std::string> names(Recordset& rs) {
        std::vector<std::string> out;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) out.push_back(rs.field("name").asText());
        return out;
    }

    TestFolder folder;
    Database db = Database::create(folder / "book.mdb", "");
};

TEST_F(RecordsetTest, EmptySetHasNoCurrentRecord) {
    Recordset rs = db.openRecordset("select * from people where id = 0");
    EXPECT_TRUE(rs.eof());
    EXPECT_TRUE(rs.bof());
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_EQ(rs.absolutePosition(), -1);
    for (auto op : std::initializer_list<std::function<void()>>{
             [&] { rs.moveFirst(); }, [&] { rs.moveLast(); }, [&] { rs.moveNext(); }, [&] { rs.movePrevious(); },
             [&] { rs.field("name"); }, [&] { rs.edit(); }, [&] { rs.deleteRecord(); }, [&] { rs.bookmark(); },
             [&] { rs.lastModified(); }})
        EXPECT_EQ(errorNumber(op), 3021);
}

TEST_F(RecordsetTest, MovesWalkThePositionsBetweenBofAndEof) {
    Recordset rs = db.openRecordset("select * from people order by name");
    EXPECT_EQ(rs.absolutePosition(), 0);
    EXPECT_FALSE(rs.bof());
    rs.moveLast();
    EXPECT_EQ(rs.absolutePosition(), 2);
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.absolutePosition(), -1);
    EXPECT_EQ(errorNumber([&] { rs.moveNext(); }), 3021);
    EXPECT_EQ(errorNumber([&] { rs.field(size_t{0}); }), 3021);
    rs.movePrevious();
    EXPECT_EQ(rs.field("Name").asText(), "Dora");
    rs.moveFirst();
    rs.movePrevious();
    EXPECT_TRUE(rs.bof());
    EXPECT_EQ(errorNumber([&] { rs.movePrevious(); }), 3021);
    rs.moveNext();
    EXPECT_EQ(rs.field("NAME").asText(), "Bea");
}

TEST_F(RecordsetTest, AddedRowStaysAtTheEndUntilRequery) {
    Recordset rs = db.openRecordset("select * from people order by name");
    rs.moveLast();  // Dora
    rs.addNew();
    EXPECT_EQ(rs.editMode(), EditMode::Add);
    EXPECT_EQ(rs.absolutePosition(), -1);
    EXPECT_TRUE(rs.field("id").isNull());
    rs.setField("name", "Abe");
    EXPECT_EQ(rs.field("name").asText(), "Abe");
    rs.update();
    EXPECT_EQ(rs.editMode(), EditMode::None);
    // The row that was current before AddNew is current again.
    EXPECT_EQ(rs.field("name").asText(), "Dora");
    EXPECT_EQ(rs.recordCount(), 4);
    EXPECT_EQ(names(rs), (std::vector<std::string>{"Bea", "Cal", "Dora", "Abe"}));
    rs.requery();
    EXPECT_EQ(names(rs), (std::vector<std::string>{"Abe", "Bea", "Cal", "Dora"}));
}

TEST_F(RecordsetTest, LastModifiedFindsTheStoredRowWithItsCounter) {
    Recordset rs = db.openRecordset("select * from people where id = 0");
    rs.addNew();
    rs.setField("name", "Eve");
    rs.update();
    EXPECT_TRUE(rs.eof());  // still where it was: no current row
    rs.setBookmark(rs.lastModified());
    EXPECT_EQ(rs.field("name").asText(), "Eve");
    EXPECT_EQ(rs.field("id").asLong(), 4);

    rs.edit();
    rs.setField("age", "41");
    rs.update();
    EXPECT_EQ(rs.lastModified(), rs.bookmark());
    EXPECT_EQ(rs.field("age"), Value(int64_t{41}));
}

TEST_F(RecordsetTest, EditModeTransitions) {
    Recordset rs = db.openRecordset("people");
    EXPECT_EQ(errorNumber([&] { rs.update(); }), 3020);
    EXPECT_EQ(errorNumber([&] { rs.cancelUpdate(); }), 3020);
    EXPECT_EQ(errorNumber([&] { rs.setField("age", 1); }), 3020);

    rs.edit();
    EXPECT_EQ(rs.editMode(), EditMode::Edit);
    rs.setField("age", 30);
    EXPECT_EQ(rs.field("age").asLong(), 30);
    rs.cancelUpdate();
    EXPECT_EQ(rs.editMode(), EditMode::None);
    EXPECT_TRUE(rs.field("age").isNull());

    // Moving away drops an unfinished edit.
    rs.edit();
    rs.setField("age", 30);
    rs.moveNext();
    EXPECT_EQ(rs.editMode(), EditMode::None);
    rs.movePrevious();
    EXPECT_TRUE(rs.field("age").isNull());

    EXPECT_EQ(errorNumber([&] { rs.addNew(), rs.setField("id", 99); }), 3164);  // the counter
    rs.cancelUpdate();
}

TEST_F(RecordsetTest, DeleteLeavesNoCurrentRowUntilAMove) {
    Recordset rs = db.openRecordset("select * from people order by name");
    rs.moveNext();  // Cal
    const Bookmark cal = rs.bookmark();
    rs.deleteRecord();
    EXPECT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(errorNumber([&] { rs.field("name"); }), 3167);
    EXPECT_EQ(errorNumber([&] { rs.deleteRecord(); }), 3167);
    EXPECT_EQ(errorNumber([&] { rs.setBookmark(cal); }), 3167);
    rs.moveNext();
    EXPECT_EQ(rs.field("name").asText(), "Dora");
    rs.deleteRecord();
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    rs.movePrevious();
    EXPECT_EQ(rs.field("name").asText(), "Bea");
    rs.deleteRecord();
    rs.movePrevious();  // the last row is gone: the set is empty
    EXPECT_TRUE(rs.bof() && rs.eof());
    EXPECT_EQ(errorNumber([&] { rs.moveNext(); }), 3021);
}

TEST_F(RecordsetTest, CountersAreNeverReused) {
    Recordset rs = db.openRecordset("select * from people order by id");
    rs.moveLast();
    EXPECT_EQ(rs.field("id").asLong(), 3);
    rs.deleteRecord();
    rs.addNew();
    rs.setField("name", "Fay");
    rs.update();
    rs.setBookmark(rs.lastModified());
    EXPECT_EQ(rs.field("id").asLong(), 4);
}

TEST_F(RecordsetTest, BookmarksBelongToOneSetUntilRequery) {
    Recordset rs = db.openRecordset("people");
    Recordset other = db.openRecordset("people");
    rs.moveLast();
    const Bookmark last = rs.bookmark();
    rs.moveFirst();
    rs.setBookmark(last);
    EXPECT_EQ(rs.field("name").asText(), "Dora");
    EXPECT_EQ(errorNumber([&] { other.setBookmark(last); }), 3159);
    rs.requery();
    EXPECT_EQ(errorNumber([&] { rs.setBookmark(last); }), 3159);
}

TEST_F(RecordsetTest, RowsAreReadAnewWhenTheRecordsetMovesToThem) {
    Recordset rs = db.openRecordset("select [name] as [Who], age from people order by name");
    EXPECT_EQ(rs.fieldInfo(0).name, "Who");
    db.execute("UPDATE people SET age = 50 WHERE name = 'bea'");
    rs.moveNext();
    rs.movePrevious();
    EXPECT_EQ(rs.field("age").asLong(), 50);
    EXPECT_EQ(rs.rowAt(2)[0].asText(), "Dora");

    db.execute("DELETE FROM people WHERE name = 'Cal'");
    rs.moveNext();
    EXPECT_EQ(errorNumber([&] { rs.field("who"); }), 3167);
    rs.moveNext();
    EXPECT_EQ(rs.field("who").asText(), "Dora");
}

TEST_F(RecordsetTest, AliasedColumnsWriteBackToTheirColumn) {
    Recordset rs = db.openRecordset("select [name] as [Who], age * 2 as twice from people where name = ?", {"cal"});
    rs.edit();
    rs.setField("who", "Carl");
    EXPECT_EQ(errorNumber([&] { rs.setField("twice", 4); }), 3164);
    rs.update();
    EXPECT_EQ(db.openRecordset("select * from people where name = 'carl'").recordCount(), 1);
}

TEST_F(RecordsetTest, AggregatesAndGroupsAreReadOnly) {
    Recordset rs = db.openRecordset("select count(*) as mycount from people");
    EXPECT_FALSE(rs.updatable());
    EXPECT_EQ(rs.field("MyCount").asLong(), 3);
    EXPECT_EQ(errorNumber([&] { rs.addNew(); }), 3027);
    EXPECT_EQ(errorNumber([&] { rs.edit(); }), 3027);
    EXPECT_EQ(errorNumber([&] { rs.deleteRecord(); }), 3027);
    Recordset groups = db.openRecordset("select age from people group by age");
    EXPECT_EQ(errorNumber([&] { groups.edit(); }), 3027);

    // An aggregate inside an expression keeps the total it read, rather than
    // being re-read as the total of one row after a write.
    Recordset nested = db.openRecordset("select (count(*)) as n, iif(max(age) is null, 0, 1) as aged from people");
    EXPECT_FALSE(nested.updatable());
    db.execute("INSERT INTO people (Name) VALUES ('Eli')");
    EXPECT_EQ(nested.field("n").asLong(), 3);
    EXPECT_EQ(nested.field("aged").asLong(), 0);
}

TEST_F(RecordsetTest, FailedUpdateKeepsTheBufferForAnotherTry) {
    Recordset rs = db.openRecordset("people");
    Transaction t(db);
    rs.addNew();
    rs.setField("name", "BEA");  // the key repeats without regard to case
    EXPECT_EQ(errorNumber([&] { rs.update(); }), 3022);
    EXPECT_EQ(rs.editMode(), EditMode::Add);
    EXPECT_EQ(rs.recordCount(), 3);
    rs.setField("name", "Bo");
    rs.update();
    rs.edit();
    rs.setField("name", Value());
    EXPECT_EQ(errorNumber([&] { rs.update(); }), 3058);
    rs.cancelUpdate();
    t.commit();
    EXPECT_EQ(db.openRecordset("people").recordCount(), 4);
}

TEST_F(RecordsetTest, FailedRequeryKeepsTheSetItHad) {
    db.execute("UPDATE people SET age = 1");
    Recordset rs = db.openRecordset("select name, abs(age) as years from people order by id desc");
    rs.moveLast();  // Bea, the third row
    // A row whose expression fails to evaluate stops the query after it started.
    db.execute("INSERT INTO people (id, Name, age) VALUES (9, 'Max', -9223372036854775807 - 1)");
    EXPECT_NE(errorNumber([&] { rs.requery(); }), 0);
    EXPECT_EQ(rs.recordCount(), 3);
    EXPECT_EQ(rs.field("name").asText(), "Bea");
}

// A dynaset reads a row's values when the row is visited; a snapshot keeps
// what it read when it opened, and cannot be written through.
TEST_F(RecordsetTest, ADynasetReadsRowsWhenVisitedASnapshotWhenItOpens) {
    Recordset dynaset = db.openRecordset("select id, name, age from people order by id");
    Recordset snapshot = db.openRecordset("select id, name, age from people order by id", {}, RecordsetType::Snapshot);
    db.execute("UPDATE people SET age = 40 WHERE name = 'Cal'");
    db.execute("DELETE FROM people WHERE name = 'Dora'");

    dynaset.moveNext();
    EXPECT_EQ(dynaset.field("age").asLong(), 40);
    dynaset.moveNext();
    EXPECT_EQ(errorNumber([&] { dynaset.field("name"); }), 3167);

    snapshot.moveNext();
    EXPECT_TRUE(snapshot.field("age").isNull());
    snapshot.moveNext();
    EXPECT_EQ(snapshot.field("name").asText(), "Dora");
    EXPECT_EQ(errorNumber([&] { snapshot.edit(); }), 3027);
    EXPECT_EQ(errorNumber([&] { snapshot.addNew(); }), 3027);
}

// A set ordered by an alias of its select list cannot have its row ids read
// alone: it reads its values at once, in its order.
TEST_F(RecordsetTest, ASetOrderedByAnAliasOpensInItsOrder) {
    Recordset rs = db.openRecordset("select name as who, age from people order by who desc");
    std::vector<std::string> order;
    for (; !rs.eof(); rs.moveNext()) order.push_back(rs.field("who").asText());
    EXPECT_EQ(order, (std::vector<std::string>{"Dora", "Cal", "Bea"}));
}

TEST_F(RecordsetTest, RolledBackRowsReadAsDeleted) {
    Recordset rs = db.openRecordset("people");
    {
        Transaction t(db);
        rs.addNew();
        rs.setField("name", "Gil");
        rs.update();
    }
    EXPECT_EQ(errorNumber([&] { rs.setBookmark(rs.lastModified()), rs.field("name"); }), 3167);
    rs.requery();
    EXPECT_EQ(rs.recordCount(), 3);
}

TEST_F(RecordsetTest, ValuesChangedInARolledBackTransactionAreReadAgain) {
    Recordset rs = db.openRecordset("select * from people order by name");
    {
        Transaction t(db);
        rs.edit();
        rs.setField("age", 7);
        rs.update();
        EXPECT_EQ(rs.field("age").asLong(), 7);
    }
    EXPECT_TRUE(rs.field("age").isNull());
}

TEST_F(RecordsetTest, ARowChangedThroughAnotherConnectionSinceItWasReadIsNotOverwritten) {
    Recordset rs = db.openRecordset("select * from people order by name");
    EXPECT_EQ(rs.field("name").asText(), "Bea");
    {
        const testing::OwnConnection anotherProgram;
        Database::open(folder / "book.mdb").execute("UPDATE people SET age = 40 WHERE name = 'Bea'");
    }
    rs.edit();
    rs.setField("age", 41);
    EXPECT_EQ(errorNumber([&] { rs.update(); }), 3197);
    EXPECT_EQ(db.openRecordset("select age from people where name = 'Bea'").field("age").asLong(), 40);

    // Read again, the row may be changed.
    rs.requery();
    rs.edit();
    rs.setField("age", 41);
    rs.update();
    EXPECT_EQ(db.openRecordset("select age from people where name = 'Bea'").field("age").asLong(), 41);
}

// A requery whose answer the caller knows gives what a requery gives: the
// rows in the set's order, a new set at its first row, old bookmarks gone.
TEST_F(RecordsetTest, ARequeryMovingOneRowGivesWhatARequeryGives) {
    Recordset rs = db.openRecordset("select * from people order by name");
    const uint64_t beforeAdding = db.version();
    rs.addNew();
    rs.setField("name", "Ann");
    rs.update();
    const Bookmark old = rs.lastModified();
    EXPECT_EQ(names(rs), (std::vector<std::string>{"Bea", "Cal", "Dora", "Ann"}));
    const int64_t ann = db.openRecordset("select id from people where name = 'Ann'").field("id").asLong();
    const int64_t bea = db.openRecordset("select id from people where name = 'Bea'").field("id").asLong();

    EXPECT_FALSE(rs.requeryMovingRow(ann, ann, beforeAdding));
    EXPECT_FALSE(rs.requeryMovingRow(ann, 999, beforeAdding));
    EXPECT_FALSE(rs.requeryMovingRow(999, bea, beforeAdding));
    EXPECT_NO_THROW(rs.setBookmark(old)) << "a refused move leaves the set as it was";

    rs.moveLast();
    ASSERT_TRUE(rs.requeryMovingRow(ann, bea, beforeAdding));
    EXPECT_EQ(rs.absolutePosition(), 0);
    EXPECT_EQ(rs.field("name").asText(), "Ann");
    EXPECT_EQ(errorNumber([&] { rs.setBookmark(old); }), 3159);
    Recordset requeried = db.openRecordset("select * from people order by name");
    EXPECT_EQ(names(rs), names(requeried));

    const uint64_t beforeRenaming = db.version();
    db.execute("UPDATE people SET name = 'Eve' WHERE id = ?", {ann});
    ASSERT_TRUE(rs.requeryMovingRow(ann, std::nullopt, beforeRenaming));
    EXPECT_EQ(names(rs), (std::vector<std::string>{"Bea", "Cal", "Dora", "Eve"})) << "values read afresh";
    rs.moveLast();
    const Bookmark eve = rs.bookmark();
    rs.moveFirst();
    rs.setBookmark(eve);
    EXPECT_EQ(rs.field("name").asText(), "Eve");
    EXPECT_FALSE(db.openRecordset("select count(*) as n from people", {}, RecordsetType::Snapshot)
                     .requeryMovingRow(ann, std::nullopt, db.version()))
        << "a set of no table rows";

    // Another write between the set's reading and the caller's change: the
    // set may miss a row or hold a deleted one, so only a requery will do.
    db.execute("INSERT INTO people (name) VALUES ('Finn')");
    db.execute("DELETE FROM people WHERE name = 'Cal'");
    const uint64_t beforeMoving = db.version();
    db.execute("UPDATE people SET name = 'Abe' WHERE id = ?", {ann});
    EXPECT_FALSE(rs.requeryMovingRow(ann, bea, beforeMoving));
    EXPECT_EQ(rs.field("id").asLong(), ann) << "the set is left as it was, at its current row";
    rs.requery();
    EXPECT_EQ(names(rs), (std::vector<std::string>{"Abe", "Bea", "Dora", "Finn"}));
}

TEST_F(RecordsetTest, APreparedCommandRunsManyTimesWithItsValues) {
    Command rename = db.prepare("UPDATE people SET age = ? WHERE name = ?");
    EXPECT_EQ(rename.execute({30, "Bea"}), 1);
    EXPECT_EQ(rename.execute({31, "Cal"}), 1);
    EXPECT_EQ(rename.execute({32, "Nobody"}), 0);
    EXPECT_EQ(errorNumber([&] { rename.execute({1}); }), 3061);
    EXPECT_EQ(errorNumber([&] { db.prepare("SELECT * FROM people"); }), 3065);
    EXPECT_EQ(db.openRecordset("select sum(age) as s from people").field("s").asLong(), 61);
    EXPECT_TRUE(db.checkStructure().empty());
}

}  // namespace
}  // namespace jet
