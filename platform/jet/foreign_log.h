#pragma once
// A write-ahead log beside a book is applied by the engine to whatever file
// stands under the book's name when it is opened. A book is in write-ahead
// mode only while it is open (its header says so), and goes back to rollback
// mode, log emptied and removed, when it closes. So a log beside a file whose
// header says rollback mode was not written for that file: it is left over
// from another copy (a backup put back after a crash, a log of another book).
// Applying it would write another file's pages into this one.
// Internal to platform/jet.
#include <filesystem>

namespace jet::detail {

// Moves a log (and its shared-memory index) that does not belong to `book`
// out of the engine's way, keeping the log as "<book>-wal.stale". Error 3051
// naming the log when it is there and cannot be moved.
void setAsideForeignLog(const std::filesystem::path& book);

}  // namespace jet::detail
