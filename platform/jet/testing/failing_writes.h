#pragma once
// For tests: a file layer under SQLite that fails the Nth write (or truncate)
// of any file the engine writes — the book, its journal — the way a full disk
// or a failing device would, or the Nth sync (fsync/fdatasync answering EIO). While an instance lives it is the engine's
// default, so every book opened meanwhile goes through it; books opened before
// keep their own.
#include <cstdint>

namespace jet::testing {

class FailingWrites {
public:
    enum class Fault { IoError, DiskFull };

    FailingWrites();
    ~FailingWrites();
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;

    // From now on the nth write fails (1 = the next one); with `persistent`
    // every write after it fails as well, until disarm().
    void failWrite(int64_t n, Fault fault = Fault::IoError, bool persistent = false);
    // From now on the nth sync of any file fails (1 = the next one); the
    // bytes written before it stay in the file.
    void failSync(int64_t n);
    void disarm();
    // Writes counted since the last failWrite/disarm.
    int64_t writes() const;
    // Syncs counted since the last failSync/disarm.
    int64_t syncs() const;
    // Whether a write or sync was failed since the last failWrite/failSync.
    bool failed() const;
};

// The one failing layer of a test binary.
FailingWrites& failingWrites();

// A fixture lists this as its first base so that the layer is in place
// before any book of the fixture opens (books opened before keep their own).
struct FailingWritesFirst {
    FailingWritesFirst() { failingWrites(); }
};

}  // namespace jet::testing
