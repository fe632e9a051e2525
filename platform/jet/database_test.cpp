#include "platform/jet/database.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "platform/jet/test_support.h"
#include "platform/vb/test_support.h"
#include "platform/vb/locale.h"

namespace jet {
namespace {

using testing::errorNumber;
using testing::TestFolder;

using vb::testing::cur;

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        vb::setCurrentLocale(vb::Locale{});
        Database db = Database::create(bookPath(), "s3cret");
        db.execute(
            "CREATE TABLE amounts (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT COLLATE NOCASE UNIQUE, "
            "amount CURRENCY, day DATETIME, term LONG, flag YESNO)");
    }
    std::filesystem::path bookPath() const { return folder / "Book.mdb"; }
    Database openBook() const { return Database::open(bookPath(), ";pwd=s3cret"); }

    TestFolder folder;
};

TEST_F(DatabaseTest, OpeningFailsClearlyWithoutCreatingAnything) {
    const std::filesystem::path missing = folder / "missing.mdb";
    try {
        Database::open(missing, ";pwd=s3cret");
        FAIL() << "opened a missing file";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 3024);
        EXPECT_EQ(e.description(), "Could not find file '" + missing.string() + "'.");
    }
    EXPECT_FALSE(std::filesystem::exists(missing));

    EXPECT_EQ(errorNumber([&] { Database::open(bookPath(), ";pwd=S3CRET"); }), 3031);
    EXPECT_EQ(errorNumber([&] { Database::open(bookPath(), ""); }), 3031);
    EXPECT_EQ(errorNumber([&] { Database::open(folder.path(), ";pwd=s3cret"); }), 3051);
}

TEST_F(DatabaseTest, FilesThatAreNoBookAreRefused) {
    const std::pair<std::string, std::string> files[] = {
        {"text.mdb", "this is not a database, just some text that is long enough to fill a header page"},
        {"empty.mdb", ""},
        {"half.mdb", std::string("SQLite format 3\0", 16) + std::string(84, '\x7f')},
    };
    for (const auto& [name, bytes] : files) {
        writeFile(folder / name, bytes);
        EXPECT_EQ(errorNumber([&, name = name] { Database::open(folder / name, ";pwd=s3cret"); }), 3343) << name;
    }
}

TEST_F(DatabaseTest, DamagedBookGivesAnErrorNotACrash) {
    {
        Database db = openBook();
        Transaction t(db);
        for (int i = 0; i < 200; ++i)
            db.execute("INSERT INTO amounts (name, amount) VALUES (?, ?)", {"row " + std::to_string(i), 1.5});
        t.commit();
    }
    // Overwrite the table's pages, leaving the header page whole.
    {
        std::fstream f(bookPath(), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(4096 * 2);
        const std::string junk(4096 * 3, '\xa5');
        f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
    }
    const int number = errorNumber([&] {
        Database db = openBook();
        Recordset rs = db.openRecordset("select sum(amount) as s from amounts");
        rs.field("s");
    });
    EXPECT_TRUE(number == 3049 || number == 3343) << number;
}

TEST_F(DatabaseTest, FileNameIsMatchedWithoutRegardToCase) {
    Database db = Database::open(folder / "BOOK.mdb", ";pwd=s3cret");
    EXPECT_EQ(db.path(), bookPath());
}

TEST_F(DatabaseTest, CreatingRefusesAnExistingFileAndKeepsItOwnerOnly) {
    EXPECT_EQ(errorNumber([&] { Database::create(folder / "book.MDB", "x"); }), 3204);
    EXPECT_NO_THROW(openBook());  // untouched

    struct stat st {};
    ASSERT_EQ(stat(bookPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600);
}

TEST_F(DatabaseTest, MissingTablesAndFieldsAreNamedErrors) {
    Database db = openBook();
    try {
        db.openRecordset("select * from nosuch");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 3078);
        EXPECT_NE(e.description().find("'nosuch'"), std::string::npos);
    }
    EXPECT_EQ(errorNumber([&] { db.openRecordset("[No such]"); }), 3078);
    EXPECT_EQ(errorNumber([&] { db.openRecordset("select nofield from amounts"); }), 3265);
    EXPECT_EQ(errorNumber([&] { db.openRecordset("amounts").field("nofield"); }), 3265);
    EXPECT_EQ(errorNumber([&] { db.execute("update amounts set nofield = 1"); }), 3265);
    EXPECT_EQ(errorNumber([&] { db.execute("update amounts set"); }), 3075);
}

TEST_F(DatabaseTest, ExecuteRunsOneWriteAndCountsItsRows) {
    Database db = openBook();
    EXPECT_EQ(db.execute("INSERT INTO amounts (name) VALUES ('a')"), 1);
    EXPECT_EQ(db.execute("INSERT INTO amounts (name) VALUES ('b')"), 1);
    EXPECT_EQ(db.execute("UPDATE amounts SET flag = true"), 2);
    EXPECT_EQ(db.execute("UPDATE amounts SET flag = false where name = 'nobody'"), 0);
    EXPECT_EQ(errorNumber([&] { db.execute("select * from amounts"); }), 3065);
    EXPECT_EQ(errorNumber([&] { db.execute("delete from amounts where name='a'; drop table amounts"); }), 3142);
    EXPECT_EQ(db.openRecordset("amounts").recordCount(), 2);
    EXPECT_EQ(errorNumber([&] { db.execute("delete from amounts where name = ? or name = ?", {"a"}); }), 3061);
}

// A text asked again reuses its prepared statement: it must answer as a
// freshly prepared one would, after the table changed shape, after a run of
// it failed, and while another use of the same text is still open.
TEST_F(DatabaseTest, TextsAskedAgainAnswerAsIfPreparedAfresh) {
    Database db = openBook();
    db.execute("INSERT INTO amounts (name, amount) VALUES ('a', 1)");
    const std::string sql = "select * from amounts where name = ?";
    EXPECT_EQ(db.openRecordset(sql, {"a"}).fieldCount(), 6u);
    db.execute("ALTER TABLE amounts ADD COLUMN note TEXT");
    Recordset widened = db.openRecordset(sql, {"a"});
    EXPECT_EQ(widened.fieldCount(), 7u);
    EXPECT_TRUE(widened.field("note").isNull());

    EXPECT_EQ(errorNumber([&] { db.execute("INSERT INTO amounts (name) VALUES (?)", {"A"}); }), 3022);
    EXPECT_EQ(db.execute("INSERT INTO amounts (name) VALUES (?)", {"b"}), 1);

    Recordset first = db.openRecordset("select name from amounts order by name", {}, RecordsetType::Snapshot);
    Recordset second = db.openRecordset("select name from amounts order by name", {}, RecordsetType::Snapshot);
    first.moveLast();
    EXPECT_EQ(first.field("name").asText(), "b");
    EXPECT_EQ(second.field("name").asText(), "a");
    EXPECT_EQ(db.openRecordset(sql, {"b"}).recordCount(), 1);
    EXPECT_EQ(db.openRecordset(sql, {"c"}).recordCount(), 0);
}

TEST_F(DatabaseTest, APassOverRowsSeesEachRowInOrderWithItsColumnsTypes) {
    Database db = openBook();
    db.execute("INSERT INTO amounts (name, amount, term) VALUES ('b', 0.1, 2), ('a', 1234.5678, 1), ('c', NULL, 3)");
    std::vector<std::string> seen;
    db.forEachRow("select name, amount, term from amounts where term >= ? order by [name]", {int64_t{1}},
                  [&](const std::vector<Value>& row) {
                      ASSERT_EQ(row.size(), 3u);
                      EXPECT_TRUE(row[1].isNull() || row[1].isCurrency()) << "a currency column reads as currency";
                      seen.push_back(row[0].asText() + "=" + (row[1].isNull() ? "-" : row[1].asText()));
                  });
    EXPECT_EQ(seen, (std::vector<std::string>{"a=1234.5678", "b=0.1", "c=-"}));
    EXPECT_EQ(errorNumber([&] { db.forEachRow("DELETE FROM amounts", {}, [](const std::vector<Value>&) {}); }), 3219);
    EXPECT_EQ(errorNumber([&] { db.forEachRow("select * from amounts where term = ?", {}, [](const std::vector<Value>&) {}); }),
              3061);
    EXPECT_EQ(db.openRecordset("amounts").recordCount(), 3);
}

// Committed work may still sit in the write-ahead log beside the file; after
// a checkpoint the file alone holds it, as a copy of the file shows.
TEST_F(DatabaseTest, AfterACheckpointTheFileAloneHoldsEveryCommittedRow) {
    Database db = openBook();
    db.execute("INSERT INTO amounts (name, amount) VALUES ('kept', 12.5)");
    db.checkpoint();
    std::filesystem::copy_file(bookPath(), folder / "copy.mdb");
    Database copy = Database::open(folder / "copy.mdb", ";pwd=s3cret");
    EXPECT_EQ(copy.openRecordset("select amount from amounts where name = 'kept'").field("amount").asCurrency(),
              cur("12.5"));
    EXPECT_TRUE(copy.checkStructure().empty());
}

// Byte 18 of an SQLite file's header: 1 in rollback mode, 2 in log mode.
int journalModeByte(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    char header[19] = {};
    in.read(header, sizeof header);
    return in ? header[18] : -1;
}

// The log speeds saves only while the book is open: a closed book is one
// self-contained file in rollback mode, and a file that is no book is never
// switched (the mode is written into its header).
TEST_F(DatabaseTest, OnlyAnOpenBookWritesAheadAndAClosedOneIsASingleFile) {
    {
        Database db = openBook();
        db.execute("INSERT INTO amounts (name, amount) VALUES ('kept', 7)");
        EXPECT_EQ(journalModeByte(bookPath()), 2);
    }
    EXPECT_EQ(journalModeByte(bookPath()), 1);
    EXPECT_FALSE(std::filesystem::exists(bookPath().string() + "-wal"));
    std::filesystem::copy_file(bookPath(), folder / "copy.mdb");
    EXPECT_EQ(Database::open(folder / "copy.mdb", ";pwd=s3cret")
                  .openRecordset("select amount from amounts where name = 'kept'")
                  .field("amount")
                  .asCurrency(),
              cur("7"));

    // A file that fails the checks (here: the wrong password) is left as it was.
    const std::filesystem::path other = folder / "other.mdb";
    Database::create(other, "theirs");
    ASSERT_EQ(journalModeByte(other), 1);
    EXPECT_EQ(errorNumber([&] { Database::open(other, ";pwd=s3cret"); }), 3031);
    EXPECT_EQ(journalModeByte(other), 1);
}

// A program that ends without closing its book (killed, a power cut): its
// unfinished log stays beside the book file.
void crashWhileSaving(const std::filesystem::path& book, const std::string& password, int rows) {
    const pid_t child = ::fork();
    if (child == 0) {
        Database db = Database::open(book, ";pwd=" + password);
        db.execute("UPDATE amounts SET amount = amount + 100");
        for (int i = 0; i < rows; ++i)
            db.execute("INSERT INTO amounts (name, amount) VALUES (?, 1)", {"lost " + std::to_string(i)});
        ::_exit(0);  // no destructor runs: the log is neither emptied nor removed
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(std::filesystem::exists(book.string() + "-wal"));
}

// Puts a copy back over the book the way cp does: the same file, rewritten.
void putBack(const std::filesystem::path& copy, const std::filesystem::path& book) {
    std::filesystem::copy_file(copy, book, std::filesystem::copy_options::overwrite_existing);
}

// A backup put back after a crash, or a log of another book beside the book:
// the book opens as the copy it is, and the log that is not its own is kept
// aside, never applied.
TEST_F(DatabaseTest, ALogThatIsNotTheBooksOwnIsNeverApplied) {
    {
        Database db = openBook();
        Transaction t(db);
        for (int i = 0; i < 400; ++i)
            db.execute("INSERT INTO amounts (name, amount) VALUES (?, 2)", {"kept " + std::to_string(i)});
        t.commit();
    }
    const std::filesystem::path backup = folder / "backup.mdb";
    std::filesystem::copy_file(bookPath(), backup);
    {
        Database db = openBook();
        db.execute("DELETE FROM amounts WHERE id % 2 = 0");
        Transaction t(db);
        for (int i = 0; i < 300; ++i)
            db.execute("INSERT INTO amounts (name, amount) VALUES (?, 3)", {"later " + std::to_string(i)});
        t.commit();
    }
    const auto expectTheBackup = [&](const std::string& what) {
        Database db = openBook();
        EXPECT_EQ(db.checkStructure(), std::vector<std::string>()) << what;
        Recordset rs = db.openRecordset("select count(*) as n, sum(amount) as s from amounts");
        EXPECT_EQ(rs.field("n").asLong(), 400) << what;
        EXPECT_EQ(rs.field("s").asCurrency(), cur("800")) << what;
    };

    crashWhileSaving(bookPath(), "s3cret", 3);
    putBack(backup, bookPath());
    expectTheBackup("a backup put back after a crash");
    EXPECT_TRUE(std::filesystem::exists(bookPath().string() + "-wal.stale"));

    const std::filesystem::path other = folder / "other.mdb";
    {
        Database db = Database::create(other, "s3cret");
        db.execute("CREATE TABLE amounts (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, amount CURRENCY)");
        db.execute("CREATE TABLE more (id INTEGER PRIMARY KEY, v TEXT)");
    }
    crashWhileSaving(other, "s3cret", 500);
    std::filesystem::copy_file(other.string() + "-wal", bookPath().string() + "-wal");
    expectTheBackup("a log of another book beside it");
}

TEST_F(DatabaseTest, BoundTextIsOrdinaryCharacters) {
    Database db = openBook();
    db.execute("INSERT INTO amounts (name) VALUES (?)", {"O'Brien"});
    db.execute("INSERT INTO amounts (name) VALUES ('other')");
    EXPECT_EQ(db.openRecordset("select * from amounts where name = ?", {"o'brien"}).recordCount(), 1);
    EXPECT_EQ(db.openRecordset("select * from amounts where name = ?", {"' or ''='"}).recordCount(), 0);
    EXPECT_EQ(db.openRecordset("select * from amounts where name like ?", {"*'*"}).recordCount(), 1);
}

TEST_F(DatabaseTest, CurrencyIsExactAndTermIdsKeepTenDigits) {
    Database db = openBook();
    db.execute("INSERT INTO amounts (name, amount, term) VALUES ('a', ?, ?)", {cur("0.1"), int64_t{2201010000}});
    db.execute("INSERT INTO amounts (name, amount, term) VALUES ('b', ?, ?)", {cur("0.2"), int64_t{2112312359}});
    db.execute("INSERT INTO amounts (name, amount, term) VALUES ('c', ?, ?)", {Value(), int64_t{9912312359}});

    Recordset sum = db.openRecordset(
        "select sum(iif(amount is null,0,amount)) as total, max(term) as mysessionid from amounts");
    EXPECT_EQ(sum.field("TOTAL").asCurrency(), cur("0.3"));
    EXPECT_EQ(sum.field("MySessionID").asLong(), 9912312359);

    Recordset rs = db.openRecordset("select * from amounts where term = 2201010000");
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.field("amount"), Value(cur("0.1")));
    EXPECT_EQ(rs.field("term"), Value(int64_t{2201010000}));
}

TEST_F(DatabaseTest, DatesAreStoredAsIsoTextAndSortByTime) {
    Database db = openBook();
    Recordset rs = db.openRecordset("amounts");
    for (const char* day : {"02/01/2015", "10/12/2014", "10/12/2014 09:30:00"}) {
        rs.addNew();
        rs.setField("name", day);
        rs.setField("day", day);
        rs.update();
    }
    Recordset sorted = db.openRecordset("select cast(day as text) as stored from amounts order by day");
    std::vector<std::string> stored;
    for (; !sorted.eof(); sorted.moveNext()) stored.push_back(sorted.field("stored").asText());
    EXPECT_EQ(stored, (std::vector<std::string>{"2014-12-10", "2014-12-10 09:30:00", "2015-01-02"}));

    EXPECT_EQ(db.openRecordset("select * from amounts where day <= datevalue('10/12/2014')").recordCount(), 1);
    EXPECT_EQ(db.openRecordset("select * from amounts where day < datevalue(?)", {"11/12/2014"}).recordCount(), 2);
    EXPECT_EQ(errorNumber([&] { db.openRecordset("select * from amounts where day < datevalue(?)", {"soon"}); }),
              3464);
}

TEST_F(DatabaseTest, TransactionGuardRollsBackUnlessCommitted) {
    Database db = openBook();
    try {
        Transaction t(db);
        db.execute("INSERT INTO amounts (name) VALUES ('kept?')");
        db.execute("INSERT INTO amounts (name) VALUES ('KEPT?')");  // duplicate without regard to case
        t.commit();
        FAIL() << "duplicate accepted";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 3022);
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(db.openRecordset("amounts").recordCount(), 0);

    {
        Transaction t(db);
        db.execute("INSERT INTO amounts (name) VALUES ('kept')");
        t.commit();
    }
    EXPECT_EQ(Database::open(bookPath(), ";pwd=s3cret").openRecordset("amounts").recordCount(), 1);
    EXPECT_EQ(errorNumber([&] { db.commitTrans(); }), 3034);
    EXPECT_EQ(errorNumber([&] { db.rollback(); }), 3034);
}

TEST_F(DatabaseTest, NestedTransactionsUndoOnlyTheirOwnWork) {
    Database db = openBook();
    db.beginTrans();
    db.execute("INSERT INTO amounts (name) VALUES ('outer')");
    db.beginTrans();
    db.execute("INSERT INTO amounts (name) VALUES ('inner')");
    db.rollback();
    db.commitTrans();
    Recordset rs = db.openRecordset("amounts");
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.field("name").asText(), "outer");
}

TEST_F(DatabaseTest, OneTransactionCoversEveryDatabaseOnTheFile) {
    Database writer = openBook();
    Database other = openBook();  // as a second Data control opens it
    writer.beginTrans();
    writer.execute("INSERT INTO amounts (name) VALUES ('bulk')");
    Recordset rs = other.openRecordset("amounts");
    rs.addNew();
    rs.setField("name", "row");
    rs.update();
    EXPECT_EQ(other.openRecordset("amounts").recordCount(), 2);
    writer.rollback();
    EXPECT_EQ(other.openRecordset("amounts").recordCount(), 0);
}

}  // namespace
}  // namespace jet
