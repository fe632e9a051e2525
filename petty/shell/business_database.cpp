#include "petty/shell/business_database.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <optional>
#include <system_error>
#include <vector>

#include "petty/reports/files/report_files.h"
#include "petty/shell/book_values.h"
#include "petty/shell/open_period_sums.h"
#include "platform/files/atomic_file_writer.h"
#include "platform/jet/error.h"
#include "platform/jet/file_name.h"
#include "platform/vb/text_compare.h"
#include "platform/vb/text_functions.h"

namespace petty {

namespace {

constexpr std::string_view kDatabasePassword = kBookConnect.substr(std::string_view(";pwd=").size());

// Text columns compare without regard to letter case, as the program's SQL
// expects ('YES' equals 'Yes'), and so do the master tables' keys.
constexpr const char* kSchema[] = {
    "CREATE TABLE config ("
    " [Username] TEXT COLLATE NOCASE, [Password] TEXT COLLATE NOCASE,"
    " [ApprovalUsername] TEXT COLLATE NOCASE, [ApprovalPassword] TEXT COLLATE NOCASE,"
    " [NOADVANCE] YESNO, [yesadvance] YESNO, [enablecostcentre] YESNO, [reminddays] LONG,"
    " [Approvalrequired] YESNO, [sendmail] YESNO, [lastmaildate] DATETIME,"
    " [voucherstyle1] YESNO, [Voucherstyle2] YESNO, [backupLocation] TEXT COLLATE NOCASE)",

    "CREATE TABLE pettycash ("
    " [VoucherID] INTEGER PRIMARY KEY AUTOINCREMENT,"  // the counter: never reused
    " [Date] DATETIME, [Time] TEXT COLLATE NOCASE, [Employee] TEXT COLLATE NOCASE,"
    " [TransType] TEXT COLLATE NOCASE, [Head] TEXT COLLATE NOCASE,"
    " [openingbalance] CURRENCY, [Debit] CURRENCY, [Credit] CURRENCY, [expensefromadvance] CURRENCY,"
    " [runningbalance] CURRENCY, [Narration] TEXT COLLATE NOCASE, [Matchwith] LONG,"
    " [Matchrequired] TEXT COLLATE NOCASE, [Matched] TEXT COLLATE NOCASE, [Enteredby] TEXT COLLATE NOCASE,"
    " [Enteredon] DATETIME, [Closed] TEXT COLLATE NOCASE, [Billno] TEXT COLLATE NOCASE,"
    " [Projectcode] TEXT COLLATE NOCASE, [document] TEXT COLLATE NOCASE, [TermID] LONG,"
    " [VoucherIDforGrouping] LONG, [Approved] TEXT COLLATE NOCASE, [Approvedby] TEXT COLLATE NOCASE,"
    " [Modified] TEXT COLLATE NOCASE)",
    // The open period in running-balance order, the rows of one period (and
    // its carry-over), the rows settled against one advance; the open
    // period's ID, its unsettled advances and the sums of the status line,
    // asked after every save, read without visiting the table's rows.
    "CREATE INDEX pettycash_open ON pettycash ([Closed], [Date], [Time], [VoucherID])",
    "CREATE INDEX pettycash_term ON pettycash ([TermID], [TransType])",
    "CREATE INDEX pettycash_matchwith ON pettycash ([Matchwith])",
    "CREATE INDEX pettycash_open_term ON pettycash ([Closed], [TermID])",
    "CREATE INDEX pettycash_unsettled ON pettycash ([Closed], [Matchrequired], [Matched])",
    "CREATE INDEX pettycash_open_amounts ON pettycash ([Closed], [TransType], [Debit], [Credit], [expensefromadvance])",

    "CREATE TABLE changelog ("
    " [Date] DATETIME, [user] TEXT COLLATE NOCASE, [changelog] TEXT COLLATE NOCASE, [voucherID] LONG)",

    "CREATE TABLE employeemaster ("
    " [Name] TEXT COLLATE NOCASE NOT NULL PRIMARY KEY, [Employeecode] TEXT COLLATE NOCASE UNIQUE,"
    " [Full Name] TEXT COLLATE NOCASE, [Department] TEXT COLLATE NOCASE, [Title] TEXT COLLATE NOCASE,"
    " [Extn] TEXT COLLATE NOCASE, [e-mail] TEXT COLLATE NOCASE, [Mobileno] TEXT COLLATE NOCASE,"
    " [Residence No] TEXT COLLATE NOCASE, [mobilemail] TEXT COLLATE NOCASE, [service staff] YESNO)",

    "CREATE TABLE [Expense types] ("
    " [Expense type] TEXT COLLATE NOCASE NOT NULL PRIMARY KEY, [Group] TEXT COLLATE NOCASE,"
    " [Details] TEXT COLLATE NOCASE)",

    "CREATE TABLE projectcodes ("
    " [projectcode] TEXT COLLATE NOCASE NOT NULL PRIMARY KEY, [Description] TEXT COLLATE NOCASE, [Active] YESNO)",
};

bool hasBlankEnds(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return blank(s.front()) || blank(s.back());
}

// A user name left empty is stored as no value, as a settings row never filled in holds it.
jet::Value nameValue(const std::string& name) { return name.empty() ? jet::Value() : jet::Value(name); }

void fillBook(jet::Database& db, const LogIns& logIns) {
    jet::Transaction transaction(db);
    for (const char* statement : kSchema) db.execute(statement);
    // The one settings row. The advance and voucher-format options are pairs of
    // which exactly one is ticked: advances are given, format 1 is used.
    db.execute(
        "INSERT INTO config ([Username], [Password], [ApprovalUsername], [ApprovalPassword], [NOADVANCE],"
        " [yesadvance], [enablecostcentre], [reminddays], [Approvalrequired], [sendmail], [voucherstyle1],"
        " [Voucherstyle2]) VALUES (?, ?, ?, ?, false, true, false, 0, false, false, true, false)",
        {nameValue(logIns.userName), logIns.password, nameValue(logIns.approvalUserName), logIns.approvalPassword});
    db.execute("INSERT INTO projectcodes ([projectcode], [Active]) VALUES ('General', true)");
    keepOpenPeriodSums(db);
    transaction.commit();
}

// The tables the program needs and their columns, as the schema names them:
// every [name] after the opening parenthesis of a CREATE TABLE is a column.
struct NeededTable {
    std::string name;
    std::vector<std::string> columns;
};

std::vector<NeededTable> neededTables() {
    std::vector<NeededTable> tables;
    for (std::string_view statement : kSchema) {
        constexpr std::string_view create = "CREATE TABLE ";
        if (statement.substr(0, create.size()) != create) continue;
        const size_t open = statement.find(" (");
        NeededTable table;
        table.name = std::string(statement.substr(create.size(), open - create.size()));
        for (size_t at = statement.find('[', open); at != std::string_view::npos; at = statement.find('[', at)) {
            const size_t end = statement.find(']', at);
            table.columns.emplace_back(statement.substr(at + 1, end - at - 1));
            at = end;
        }
        tables.push_back(std::move(table));
    }
    return tables;
}

std::string missingSchemaPart(jet::Database& db) {
    for (const NeededTable& table : neededTables()) {
        std::optional<jet::Recordset> rows;
        try {
            rows.emplace(db.openRecordset("SELECT * FROM " + table.name + " WHERE 1=0"));
        } catch (const jet::Error&) {
            return "the table " + table.name + " is missing";
        }
        for (const std::string& column : table.columns) {
            try {
                rows->fieldIndex(column);
            } catch (const jet::Error&) {
                return "the table " + table.name + " has no column " + column;
            }
        }
    }
    return {};
}

}  // namespace

std::string bookDamage(jet::Database& db) {
    try {
        const std::vector<std::string> faults = db.checkStructure();
        if (!faults.empty()) return faults.front();
        if (std::string missing = missingSchemaPart(db); !missing.empty()) return missing;
        return badVoucherValue(db);
    } catch (const jet::Error& e) {
        if (isDiskFault(e)) throw;
        return e.description();
    }
}

bool isDiskFault(const jet::Error& error) {
    return error.number() == jet::errors::diskFull().number() || error.number() == jet::errors::diskError().number();
}

std::string diskFaultMessage(const std::filesystem::path& bookFile, const jet::Error& error) {
    const bool full = error.number() == jet::errors::diskFull().number();
    return "The book " + bookFile.string() + " cannot be opened: " +
           (full ? "the disk is full" : "the disk reported an error");
}

std::string damagedBookMessage(const std::filesystem::path& bookFile, std::string_view found) {
    return "The book " + bookFile.string() + " is damaged or is not an Ostrelle book: " + std::string(found);
}

std::filesystem::path bookPath(const std::filesystem::path& folder) { return folder / kBookFileName; }

jet::Database openBook(const std::filesystem::path& bookFile) { return jet::Database::open(bookFile, kBookConnect); }

std::string logInPasswordProblem(std::string_view password, std::string_view approvalPassword) {
    if (password.empty() || approvalPassword.empty()) return "Both passwords must be given.";
    if (hasBlankEnds(password) || hasBlankEnds(approvalPassword))
        return "A password cannot start or end with a blank.";
    if (vb::equalIgnoringCase(password, approvalPassword))
        return "The two passwords must differ (letter case does not count at log-in).";
    return {};
}

std::string logInNameProblem(std::string_view userName, std::string_view approvalUserName) {
    if (vb::trim(userName).empty() || vb::trim(approvalUserName).empty()) return "Both user names must be given.";
    if (userName == approvalUserName) return "The two user names must differ.";
    return {};
}

void createBook(const std::filesystem::path& folder, std::string_view password, std::string_view approvalPassword) {
    createBook(folder, LogIns{{}, std::string(password), {}, std::string(approvalPassword)});
}

namespace {

// Fills `folder` with a whole book: the report definition files, documents/,
// exportcsv/ with its configuration, and last the book file, linked into
// place only when complete, so that a folder holding business.mdb holds
// everything else too.
void fillBookFolder(const std::filesystem::path& folder, const std::filesystem::path& bookShown, const LogIns& logIns) {
    std::error_code ec;
    // The report definition files go in first: a book whose reports could not
    // be written is never made.
    try {
        writeShippedReportFiles(folder);
    } catch (const std::filesystem::filesystem_error& e) {
        throw BookError("Cannot write the report files into " + folder.string() + ": " + e.code().message());
    }
    for (std::string_view sub : {kDocumentsFolder, kExportFolder}) {
        std::filesystem::create_directories(folder / sub, ec);
        if (!ec) std::filesystem::permissions(folder / sub, std::filesystem::perms::owner_all, ec);
        if (ec) throw BookError("Cannot create the folder " + (folder / sub).string() + ": " + ec.message());
    }
    try {
        writeExportConfiguration(folder / kExportFolder);
    } catch (const std::filesystem::filesystem_error& e) {
        throw BookError("Cannot write " + e.path1().string() + ": " + e.code().message());
    }

    const std::filesystem::path book = bookPath(folder);
    const std::filesystem::path building = files::temporaryNameFor(book);
    try {
        jet::Database db = jet::Database::create(building, kDatabasePassword);
        fillBook(db, logIns);
        // Its write-ahead log goes by the temporary name: all of it into the file first.
        db.checkpoint();
    } catch (const jet::Error& e) {
        std::filesystem::remove(building, ec);
        throw BookError("Cannot create the book " + bookShown.string() + ": " + e.description());
    }
    const bool linked = ::link(building.c_str(), book.c_str()) == 0;
    const int linkError = errno;
    std::filesystem::remove(building, ec);
    if (!linked) {
        if (linkError == EEXIST) throw BookError("A book exists already: " + bookShown.string());
        throw BookError("Cannot create the book " + bookShown.string() + ": " +
                        std::generic_category().message(linkError));
    }
}

// Whether the folder is not there yet, or is an empty folder: then the whole
// book folder is built beside it and renamed into its place.
bool freshFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(folder, ec);
    if (!std::filesystem::exists(status)) return true;
    return std::filesystem::is_directory(status) && std::filesystem::is_empty(folder, ec) && !ec;
}

}  // namespace

void createBook(const std::filesystem::path& given, const LogIns& logIns) {
    // "DIR/" names DIR: the folder renamed into place needs its own name.
    const std::filesystem::path absolute = std::filesystem::absolute(given).lexically_normal();
    const std::filesystem::path folder =
        absolute.has_filename() || !absolute.has_parent_path() ? absolute : absolute.parent_path();
    if (const std::string problem = logInPasswordProblem(logIns.password, logIns.approvalPassword); !problem.empty())
        throw BookError(problem);
    if ((!logIns.userName.empty() || !logIns.approvalUserName.empty()))
        if (const std::string problem = logInNameProblem(logIns.userName, logIns.approvalUserName); !problem.empty())
            throw BookError(problem);
    const std::filesystem::path book = bookPath(folder);
    std::error_code ec;
    if (jet::findIgnoringCase(book)) throw BookError("A book exists already: " + book.string());

    if (freshFolder(folder)) {
        // Built whole beside its final name and renamed into place: a creation
        // killed part-way leaves no book folder, only a hidden temporary one
        // that the next creation clears.
        const std::filesystem::path parent = folder.has_parent_path() ? folder.parent_path() : ".";
        std::filesystem::create_directories(parent, ec);
        if (ec) throw BookError("Cannot create the folder " + parent.string() + ": " + ec.message());
        files::removeStaleTemporaries(parent);
        const std::filesystem::path building = files::temporaryNameFor(folder);
        // The book folder holds the whole of the business's cash: its owner's alone.
        if (::mkdir(building.c_str(), 0700) != 0)
            throw BookError("Cannot create the folder " + folder.string() + ": " +
                            std::generic_category().message(errno));
        try {
            fillBookFolder(building, book, logIns);
            std::filesystem::rename(building, folder, ec);
            if (ec) throw BookError("Cannot create the folder " + folder.string() + ": " + ec.message());
        } catch (...) {
            std::filesystem::remove_all(building, ec);
            throw;
        }
        return;
    }

    files::removeStaleTemporaries(folder);  // what a killed creation left
    // The book folder holds the whole of the business's cash: its owner's alone,
    // also when the folder was there before.
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
    if (ec) throw BookError("Cannot make the folder " + folder.string() + " private: " + ec.message());
    fillBookFolder(folder, book, logIns);
}

}  // namespace petty
