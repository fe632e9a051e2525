#include "petty/shell/stored_options_mark.h"

#include <exception>

#include "petty/shell/business_database.h"
#include "platform/jet/error.h"

namespace petty {

namespace {

constexpr int kTableNotFound = 3078;
constexpr const char* kOptionsStored = "optionsstored";

}  // namespace

bool optionsEverStored(jet::Database& book) {
    try {
        return !book.openRecordset("select [name] from bookstate where [name] = ?", {kOptionsStored}).eof();
    } catch (const jet::Error& e) {
        if (e.number() == kTableNotFound) return false;
        throw;
    }
}

void markOptionsStored(jet::Database& book) {
    book.execute(
        "CREATE TABLE IF NOT EXISTS bookstate ([name] TEXT COLLATE NOCASE NOT NULL PRIMARY KEY, [value] TEXT)");
    book.execute("DELETE FROM bookstate WHERE [name] = ?", {kOptionsStored});
    book.execute("INSERT INTO bookstate ([name], [value]) VALUES (?, 'Yes')", {kOptionsStored});
}

bool firstRunOf(const std::filesystem::path& bookFile) {
    try {
        jet::Database book = openBook(bookFile);
        return !optionsEverStored(book);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace petty
