#include "petty/shell/business_database.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "platform/jet/test_support.h"

namespace petty {
namespace {

using jet::testing::errorNumber;
using jet::testing::TestFolder;

class BusinessDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { createBook(folder.path(), "First", "Second"); }
    jet::Database open() { return openBook(bookPath(folder.path())); }

    TestFolder folder;
};

std::vector<std::string> fieldNames(jet::Recordset& rs) {
    std::vector<std::string> names;
    for (size_t i = 0; i < rs.fieldCount(); ++i) names.push_back(rs.fieldInfo(i).name);
    return names;
}

TEST_F(BusinessDatabaseTest, EveryTableHasItsColumnsAsNamed) {
    const std::pair<const char*, std::vector<std::string>> tables[] = {
        {"config",
         {"Username", "Password", "ApprovalUsername", "ApprovalPassword", "NOADVANCE", "yesadvance",
          "enablecostcentre", "reminddays", "Approvalrequired", "sendmail", "lastmaildate", "voucherstyle1",
          "Voucherstyle2", "backupLocation"}},
        {"pettycash",
         {"VoucherID", "Date", "Time", "Employee", "TransType", "Head", "openingbalance", "Debit", "Credit",
          "expensefromadvance", "runningbalance", "Narration", "Matchwith", "Matchrequired", "Matched", "Enteredby",
          "Enteredon", "Closed", "Billno", "Projectcode", "document", "TermID", "VoucherIDforGrouping", "Approved",
          "Approvedby", "Modified"}},
        {"changelog", {"Date", "user", "changelog", "voucherID"}},
        {"employeemaster",
         {"Name", "Employeecode", "Full Name", "Department", "Title", "Extn", "e-mail", "Mobileno", "Residence No",
          "mobilemail", "service staff"}},
        {"[Expense types]", {"Expense type", "Group", "Details"}},
        {"projectcodes", {"projectcode", "Description", "Active"}},
    };
    jet::Database db = open();
    for (const auto& [table, columns] : tables) {
        jet::Recordset rs = db.openRecordset(table);
        EXPECT_EQ(fieldNames(rs), columns) << table;
    }
}

TEST_F(BusinessDatabaseTest, NewBookHoldsTheSettingsRowAndTheGeneralProject) {
    jet::Database db = open();
    jet::Recordset config = db.openRecordset("select * from config");
    ASSERT_EQ(config.recordCount(), 1);
    EXPECT_EQ(config.field("Password").asText(), "First");
    EXPECT_EQ(config.field("ApprovalPassword").asText(), "Second");
    EXPECT_TRUE(config.field("Username").isNull());  // the log-in shows "Unknown"
    EXPECT_TRUE(config.field("ApprovalUsername").isNull());
    EXPECT_EQ(config.field("NOADVANCE"), jet::Value(false));
    EXPECT_EQ(config.field("Noadvance").asLong(), 0);
    EXPECT_EQ(config.field("yesadvance"), jet::Value(true));  // the partner of NOADVANCE
    EXPECT_EQ(config.field("enablecostcentre"), jet::Value(false));
    EXPECT_EQ(config.field("Reminddays"), jet::Value(int64_t{0}));
    EXPECT_EQ(config.field("voucherstyle1"), jet::Value(true));
    EXPECT_EQ(config.field("Voucherstyle2"), jet::Value(false));

    jet::Recordset projects = db.openRecordset("select * from projectcodes");
    ASSERT_EQ(projects.recordCount(), 1);
    EXPECT_EQ(projects.field("projectcode").asText(), "General");
    EXPECT_EQ(projects.field("Active"), jet::Value(true));
    EXPECT_EQ(db.openRecordset("pettycash").recordCount(), 0);
}

TEST_F(BusinessDatabaseTest, BookIsPrivateAndHasItsFolders) {
    struct stat st {};
    ASSERT_EQ(stat(bookPath(folder.path()).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "documents"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "exportcsv"));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "exportcsv" / "config.xml"));
    // Nothing of the building step is left behind: the book, its folders, the report files and the guide.
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "Pettycash.pdf"));
    size_t entries = 0, reportFiles = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder.path())) {
        ++entries;
        const std::string extension = e.path().extension().string();
        if (extension == ".rpt" || extension == ".RPT") ++reportFiles;
    }
    EXPECT_GT(reportFiles, 0u);
    EXPECT_EQ(entries, 4u + reportFiles);
}

TEST(LogInNames, BothGivenAndDifferent) {
    EXPECT_EQ(logInNameProblem("Ravi", "Meera"), "");
    EXPECT_EQ(logInNameProblem("Ravi", "ravi"), "") << "letter case counts, as in the configuration window";
    EXPECT_EQ(logInNameProblem("", "Meera"), "Both user names must be given.");
    EXPECT_EQ(logInNameProblem("Ravi", "   "), "Both user names must be given.");
    EXPECT_EQ(logInNameProblem("Ravi", "Ravi"), "The two user names must differ.");
}

TEST(LogInNames, ABookKeepsTheNamesWithThePasswordsAndRefusesTheSameNameTwice) {
    TestFolder folder;
    createBook(folder.path(), LogIns{"Ravi", "Tea4two", "Meera", "Chief9"});
    jet::Recordset row = openBook(bookPath(folder.path())).openRecordset("config");
    EXPECT_EQ(row.field("Username").asText(), "Ravi");
    EXPECT_EQ(row.field("Password").asText(), "Tea4two");
    EXPECT_EQ(row.field("ApprovalUsername").asText(), "Meera");
    EXPECT_EQ(row.field("ApprovalPassword").asText(), "Chief9");
    TestFolder other;
    EXPECT_THROW(createBook(other.path(), LogIns{"Ravi", "a", "Ravi", "b"}), BookError);
    EXPECT_FALSE(std::filesystem::exists(bookPath(other.path())));
}

TEST_F(BusinessDatabaseTest, TheBookFolderAndItsFoldersAreTheOwnersAloneAlsoWhenTheFolderWasThere) {
    TestFolder other;
    ::chmod(other.path().c_str(), 0755);
    createBook(other.path(), "One", "Two");
    for (const std::filesystem::path& made : {other.path(), other / "documents", other / "exportcsv"}) {
        struct stat st {};
        ASSERT_EQ(stat(made.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700) << made;
    }
}

TEST_F(BusinessDatabaseTest, AnExistingBookIsNeverOverwritten) {
    EXPECT_THROW(createBook(folder.path(), "Third", "Fourth"), BookError);
    EXPECT_EQ(open().openRecordset("config").field("Password").asText(), "First");

    TestFolder other;
    std::ofstream(other / "Business.MDB") << "someone's file";
    EXPECT_THROW(createBook(other.path(), "Third", "Fourth"), BookError);
    std::ifstream in(other / "Business.MDB");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "someone's file");
}

TEST_F(BusinessDatabaseTest, FolderIsMadeWhenMissing) {
    const std::filesystem::path fresh = folder / "new" / "books";
    createBook(fresh, "a", "b");
    EXPECT_NO_THROW(openBook(bookPath(fresh)));
}

TEST(LogInPasswords, MustBeUsableAtLogIn) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"alpha", "beta", true},  {"", "beta", false},      {"alpha", "", false},
        {" alpha", "beta", false}, {"alpha", "beta ", false}, {"alpha", "ALPHA", false},
        {"it's", "' or ''='", true},
    };
    for (const auto& [password, approval, usable] : cases) {
        EXPECT_EQ(logInPasswordProblem(password, approval).empty(), usable) << password << " / " << approval;
        TestFolder f;
        if (usable) EXPECT_NO_THROW(createBook(f.path(), password, approval));
        else EXPECT_THROW(createBook(f.path(), password, approval), BookError);
        EXPECT_EQ(std::filesystem::exists(bookPath(f.path())), usable);
    }
}

TEST_F(BusinessDatabaseTest, MasterKeysAreUniqueWithoutRegardToCase) {
    jet::Database db = open();
    db.execute("INSERT INTO employeemaster ([Name], [Employeecode]) VALUES ('Ann', 'E1')");
    EXPECT_EQ(errorNumber([&] { db.execute("INSERT INTO employeemaster ([Name]) VALUES ('ANN')"); }), 3022);
    EXPECT_EQ(errorNumber([&] { db.execute("INSERT INTO employeemaster ([Name], [Employeecode]) VALUES ('Bo', 'e1')"); }),
              3022);
    EXPECT_EQ(errorNumber([&] { db.execute("INSERT INTO projectcodes ([projectcode]) VALUES ('general')"); }), 3022);
    db.execute("INSERT INTO [Expense types] ([Expense type]) VALUES ('Travel')");
    EXPECT_EQ(errorNumber([&] { db.execute("INSERT INTO [Expense types] ([Expense type]) VALUES ('travel')"); }), 3022);
    EXPECT_EQ(errorNumber([&] { db.execute("INSERT INTO [Expense types] ([Group]) VALUES ('no key')"); }), 3058);
}

TEST_F(BusinessDatabaseTest, OnlyTheProgramsConnectStringOpensTheBook) {
    EXPECT_EQ(errorNumber([&] { jet::Database::open(bookPath(folder.path()), ";pwd=First"); }), 3031);
    EXPECT_EQ(errorNumber([&] { jet::Database::open(bookPath(folder.path()), ""); }), 3031);
    EXPECT_NO_THROW(jet::Database::open(folder / "BUSINESS.mdb", ";PWD=wobrelt"));
}

// A folder holding business.mdb holds the rest of a new book too.
std::string incompleteness(const std::filesystem::path& folder) {
    if (!std::filesystem::exists(bookPath(folder))) return {};
    for (const char* part : {"documents", "exportcsv", "exportcsv/config.xml"})
        if (!std::filesystem::exists(folder / part)) return std::string("a book without ") + part;
    return {};
}

TEST(CreatingABook, ACreationThatFailsPartWayLeavesNoBookAndCanBeMadeAgain) {
    TestFolder folder;
    std::ofstream(folder / "notes.txt") << "kept";
    std::ofstream(folder / "exportcsv") << "a file where the export folder goes";
    EXPECT_THROW(createBook(folder.path(), "One", "Two"), BookError);
    EXPECT_FALSE(std::filesystem::exists(bookPath(folder.path())));
    std::filesystem::remove(folder / "exportcsv");
    ASSERT_NO_THROW(createBook(folder.path(), "One", "Two"));
    EXPECT_EQ(incompleteness(folder.path()), "");
    EXPECT_TRUE(std::filesystem::exists(folder / "notes.txt"));
}

// A creation killed at any moment leaves either no book folder or a whole
// one, and nothing that stops the next creation.
TEST(CreatingABook, ACreationKilledAtAnyMomentLeavesNoHalfBook) {
    TestFolder parent;
    const std::filesystem::path folder = parent / "book";
    const auto start = std::chrono::steady_clock::now();
    createBook(folder, "One", "Two");
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    constexpr int kKills = 10;
    int halfDone = 0;
    for (int k = 0; k < kKills; ++k) {
        std::filesystem::remove_all(folder);
        const pid_t child = ::fork();
        if (child == 0) {
            try {
                createBook(folder, "One", "Two");
            } catch (...) {
            }
            ::_exit(0);
        }
        ::usleep(static_cast<useconds_t>(took.count() * 3 * k / (2 * kKills)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string found = incompleteness(folder);
        EXPECT_EQ(found, "") << "killed after " << took.count() * k / kKills << " us";
        if (!std::filesystem::exists(bookPath(folder))) {
            ++halfDone;
            EXPECT_NO_THROW(createBook(folder, "One", "Two")) << "after a kill at " << took.count() * k / kKills << " us";
            EXPECT_EQ(incompleteness(folder), "");
        }
    }
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(parent.path()))
        if (entry.path().filename() != "book") left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>()) << "what killed creations left beside the book";
    std::printf("%d of %d kills stopped the creation\n", halfDone, kKills);
}

}  // namespace
}  // namespace petty
