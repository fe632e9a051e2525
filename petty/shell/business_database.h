#pragma once
// The book: business.mdb in the program folder, with the settings row, the
// vouchers, the change log and the three master tables.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/jet/database.h"
#include "platform/jet/error.h"

namespace petty {

inline constexpr std::string_view kBookFileName = "business.mdb";
inline constexpr std::string_view kDocumentsFolder = "documents";
inline constexpr std::string_view kExportFolder = "exportcsv";
// Every opening of the book passes this connect string.
inline constexpr std::string_view kBookConnect = ";pwd=wobrelt";

std::filesystem::path bookPath(const std::filesystem::path& folder);

// Opens the book file at businessDbPath with the program's connect string.
jet::Database openBook(const std::filesystem::path& bookFile);

// A book that cannot be made, with the reason in words for the user.
class BookError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What makes an opened book unusable, or an empty text when it is sound: a
// fault of the file's structure, a table or column the program needs that is
// missing, or an amount beyond what the program can hold (with its voucher
// number). Checked at log-in, before anything of the book is shown. A fault
// of the disk met on the way is raised, not taken for damage.
std::string bookDamage(jet::Database& db);

// "The book <file> is damaged or is not an Ostrelle book: <found>".
std::string damagedBookMessage(const std::filesystem::path& bookFile, std::string_view found);

// Whether the error is the disk's (full, or reporting a fault), not the book's:
// the same book opens once the disk is mended, so it is never called damaged.
bool isDiskFault(const jet::Error& error);
// "The book <file> cannot be opened: the disk is full" (or "...: the disk
// reported an error").
std::string diskFaultMessage(const std::filesystem::path& bookFile, const jet::Error& error);

// Why the two log-in passwords cannot be used, or an empty text when they can.
// The log-in trims what is typed and compares it without regard to letter case,
// normal password first, so each must be non-empty, without blanks at its ends,
// and the two must differ in more than letter case.
std::string logInPasswordProblem(std::string_view password, std::string_view approvalPassword);

// Why the two log-in user names cannot be used, or an empty text when they can:
// each must hold more than blanks, and the two must differ (the configuration
// window compares them as they stand, letter case counting).
std::string logInNameProblem(std::string_view userName, std::string_view approvalUserName);

// The two log-ins of a book: the normal one and the approval one.
struct LogIns {
    std::string userName;
    std::string password;
    std::string approvalUserName;
    std::string approvalPassword;
};

// Creates a new book in the folder (made when missing): business.mdb, readable by
// its owner only, with every table, the one settings row holding the two log-ins
// (the user names may be left empty, for the configuration window to fill), the project code "General", the folders documents/ and
// exportcsv/, and the report definition files shipped with the program.
// Refuses, changing nothing, when the folder holds a book already.
void createBook(const std::filesystem::path& folder, const LogIns& logIns);
// The same with the passwords only: the user names stay empty.
void createBook(const std::filesystem::path& folder, std::string_view password, std::string_view approvalPassword);

}  // namespace petty
