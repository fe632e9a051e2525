#include "platform/jet/foreign_log.h"

#include <fstream>
#include <string>
#include <system_error>

#include "platform/jet/error.h"

namespace jet::detail {

namespace {

// The file's header: "SQLite format 3\0", then at offset 18 the write version
// (1 rollback journal, 2 write-ahead log).
constexpr size_t kWriteVersionOffset = 18;
constexpr char kRollbackMode = 1;
constexpr std::string_view kMagic{"SQLite format 3\0", 16};

bool headerSaysRollbackMode(const std::filesystem::path& book) {
    std::ifstream in(book, std::ios::binary);
    char header[kWriteVersionOffset + 1] = {};
    in.read(header, sizeof header);
    if (!in) return false;  // too short to tell: the engine decides what it is
    return std::string_view(header, kMagic.size()) == kMagic && header[kWriteVersionOffset] == kRollbackMode;
}

}  // namespace

void setAsideForeignLog(const std::filesystem::path& book) {
    const std::filesystem::path log = book.string() + "-wal";
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(log, ec)) || !headerSaysRollbackMode(book)) return;
    std::filesystem::rename(log, book.string() + "-wal.stale", ec);
    if (ec)
        throw Error(3051, "The log file '" + log.string() + "' does not belong to the book '" + book.string() +
                              "' and cannot be moved aside (" + ec.message() + "). Remove it, then open the book again.");
    // The index of the log's pages: of no use without the log.
    std::filesystem::remove(book.string() + "-shm", ec);
}

}  // namespace jet::detail
