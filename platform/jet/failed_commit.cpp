#include "platform/jet/failed_commit.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstring>

#include "platform/jet/sqlite_statement.h"

namespace jet::detail {

namespace {

// The engine's log layout: a 32-byte header, then frames of a 24-byte header
// and one page each.
constexpr int64_t kLogHeaderSize = 32;
constexpr int64_t kFrameHeaderSize = 24;

// The index header at the start of the log's shared memory, as the engine
// keeps it (native byte order), twice; only these fields are read.
struct IndexHeader {
    uint32_t version;
    uint32_t unused;
    uint32_t change;
    uint8_t isInit;
    uint8_t bigEndianChecksums;
    uint16_t pageSize;  // 1 stands for 65536
    uint32_t lastFrame;
    uint32_t pages;
    uint32_t frameChecksum[2];
    uint32_t salt[2];
    uint32_t checksum[2];
};
static_assert(sizeof(IndexHeader) == 48);

bool inLogMode(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA main.journal_mode", -1, &stmt, nullptr) != SQLITE_OK) return false;
    bool wal = false;
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* mode = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        wal = mode && std::strcmp(mode, "wal") == 0;
    }
    sqlite3_finalize(stmt);
    return wal;
}

// The size the log has with exactly the frames of finished commits; -1 when
// the index cannot be read. Called under the write lock, so the index is current.
int64_t committedLogSize(sqlite3* db) {
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods ||
        file->pMethods->iVersion < 2)
        return -1;
    void volatile* region = nullptr;
    if (file->pMethods->xShmMap(file, 0, 32 * 1024, 0, &region) != SQLITE_OK || !region) return -1;
    IndexHeader first{}, second{};
    std::memcpy(&first, const_cast<const void*>(region), sizeof first);
    std::memcpy(&second, static_cast<const char*>(const_cast<const void*>(region)) + sizeof first, sizeof second);
    if (!first.isInit || std::memcmp(&first, &second, sizeof first) != 0) return -1;
    // No commit in this log yet (its page size is not even recorded): none of it counts.
    if (first.lastFrame == 0) return 0;
    const int64_t pageSize = (first.pageSize & 0xfe00) + (static_cast<int64_t>(first.pageSize & 1) << 16);
    if (pageSize < 512) return -1;
    return kLogHeaderSize + static_cast<int64_t>(first.lastFrame) * (kFrameHeaderSize + pageSize);
}

bool cutLog(sqlite3* db) {
    const int64_t size = committedLogSize(db);
    if (size < 0) return false;
    sqlite3_file* log = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_JOURNAL_POINTER, &log) != SQLITE_OK || !log || !log->pMethods)
        return false;
    sqlite3_int64 now = 0;
    if (log->pMethods->xFileSize(log, &now) != SQLITE_OK) return false;
    if (now <= size) return true;
    return log->pMethods->xTruncate(log, size) == SQLITE_OK && log->pMethods->xSync(log, SQLITE_SYNC_FULL) == SQLITE_OK;
}

}  // namespace

bool forgetFailedCommit(Connection& connection) {
    sqlite3* db = connection.handle();
    // The engine has rolled the transaction back; a commit still open (busy)
    // has written nothing.
    if (!sqlite3_get_autocommit(db) || !inLogMode(db)) return true;
    // The write lock keeps every other writer from adding to the log meanwhile.
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) return false;
    const bool cut = cutLog(db);
    // Nothing was written under the lock: ending it by COMMIT leaves any
    // statement still reading untouched, where a ROLLBACK would abort it.
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return cut;
}

}  // namespace jet::detail
