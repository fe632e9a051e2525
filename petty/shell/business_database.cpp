#include "petty/shell/business_database.h"

#include <unistd.h>

#include <cerrno>

#include <system_error>

#include "petty/reports/files/report_files.h"
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
    // The open period in running-balance order, the rows of one period, the
    // rows settled against one advance.
    "CREATE INDEX pettycash_open ON pettycash ([Closed], [Date], [Time], [VoucherID])",
    "CREATE INDEX pettycash_term ON pettycash ([TermID])",
    "CREATE INDEX pettycash_matchwith ON pettycash ([Matchwith])",

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
    transaction.commit();
}

}  // namespace

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

void createBook(const std::filesystem::path& folder, const LogIns& logIns) {
    if (const std::string problem = logInPasswordProblem(logIns.password, logIns.approvalPassword); !problem.empty())
        throw BookError(problem);
    if ((!logIns.userName.empty() || !logIns.approvalUserName.empty()))
        if (const std::string problem = logInNameProblem(logIns.userName, logIns.approvalUserName); !problem.empty())
            throw BookError(problem);
    const std::filesystem::path book = bookPath(folder);
    std::error_code ec;
    if (!std::filesystem::exists(folder, ec)) {
        std::filesystem::create_directories(folder, ec);
        if (ec) throw BookError("Cannot create the folder " + folder.string() + ": " + ec.message());
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
    }
    if (jet::findIgnoringCase(book)) throw BookError("A book exists already: " + book.string());

    // The report definition files go in first: a book whose reports could not
    // be written is never made.
    try {
        writeShippedReportFiles(folder);
    } catch (const std::filesystem::filesystem_error& e) {
        throw BookError("Cannot write the report files into " + folder.string() + ": " + e.code().message());
    }

    // Built under a temporary name and linked into place only when complete,
    // so that no half-made book is ever found under the real name.
    const std::filesystem::path building = folder / (".business.mdb.new-" + std::to_string(::getpid()));
    std::filesystem::remove(building, ec);
    try {
        jet::Database db = jet::Database::create(building, kDatabasePassword);
        fillBook(db, logIns);
    } catch (const jet::Error& e) {
        std::filesystem::remove(building, ec);
        throw BookError("Cannot create the book " + book.string() + ": " + e.description());
    }
    const bool linked = ::link(building.c_str(), book.c_str()) == 0;
    const int linkError = errno;
    std::filesystem::remove(building, ec);
    if (!linked) {
        if (linkError == EEXIST) throw BookError("A book exists already: " + book.string());
        throw BookError("Cannot create the book " + book.string() + ": " + std::generic_category().message(linkError));
    }

    for (std::string_view sub : {kDocumentsFolder, kExportFolder}) {
        std::filesystem::create_directories(folder / sub, ec);
        if (ec) throw BookError("Cannot create the folder " + (folder / sub).string() + ": " + ec.message());
    }
    try {
        writeExportConfiguration(folder / kExportFolder);
    } catch (const std::filesystem::filesystem_error& e) {
        throw BookError("Cannot write " + e.path1().string() + ": " + e.code().message());
    }
}

}  // namespace petty
