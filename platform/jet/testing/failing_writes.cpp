#include "platform/jet/testing/failing_writes.h"

#include <sqlite3.h>

#include <atomic>
#include <cstring>
#include <stdexcept>

namespace jet::testing {

namespace {

struct State {
    std::atomic<int64_t> count{0};
    std::atomic<int64_t> failAt{0};  // 0: nothing fails
    std::atomic<bool> persistent{false};
    std::atomic<bool> failed{false};
    std::atomic<int> code{SQLITE_IOERR_WRITE};
    std::atomic<int64_t> syncs{0};
    std::atomic<int64_t> syncFailAt{0};  // 0: every sync goes through
    sqlite3_vfs* base = nullptr;
};

State& state() {
    static State s;
    return s;
}

// The error this write gets, or SQLITE_OK to let it through.
int nextWriteOutcome() {
    State& s = state();
    const int64_t n = ++s.count;
    const int64_t at = s.failAt.load();
    if (at <= 0 || n < at || (n > at && !s.persistent)) return SQLITE_OK;
    s.failed = true;
    return s.code.load();
}

struct File {
    sqlite3_file base;
    sqlite3_file* real;  // the wrapped file, allocated right after this one
};

sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<File*>(f)->real; }

int fileClose(sqlite3_file* f) {
    const int rc = real(f)->pMethods ? real(f)->pMethods->xClose(real(f)) : SQLITE_OK;
    return rc;
}
int fileRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset) {
    return real(f)->pMethods->xRead(real(f), buffer, amount, offset);
}
int fileWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset) {
    if (const int rc = nextWriteOutcome(); rc != SQLITE_OK) return rc;
    return real(f)->pMethods->xWrite(real(f), buffer, amount, offset);
}
int fileTruncate(sqlite3_file* f, sqlite3_int64 size) {
    if (const int rc = nextWriteOutcome(); rc != SQLITE_OK) return rc == SQLITE_FULL ? rc : SQLITE_IOERR_TRUNCATE;
    return real(f)->pMethods->xTruncate(real(f), size);
}
// A failed sync, as fsync/fdatasync report EIO: what was written may or may
// not be on the disk, so the written bytes stay in the file as they are.
int fileSync(sqlite3_file* f, int flags) {
    State& s = state();
    const int64_t n = ++s.syncs;
    if (s.syncFailAt.load() > 0 && n == s.syncFailAt.load()) {
        s.failed = true;
        return SQLITE_IOERR_FSYNC;
    }
    return real(f)->pMethods->xSync(real(f), flags);
}
int fileSize(sqlite3_file* f, sqlite3_int64* size) { return real(f)->pMethods->xFileSize(real(f), size); }
int fileLock(sqlite3_file* f, int lock) { return real(f)->pMethods->xLock(real(f), lock); }
int fileUnlock(sqlite3_file* f, int lock) { return real(f)->pMethods->xUnlock(real(f), lock); }
int fileCheckReservedLock(sqlite3_file* f, int* out) { return real(f)->pMethods->xCheckReservedLock(real(f), out); }
int fileControl(sqlite3_file* f, int op, void* arg) { return real(f)->pMethods->xFileControl(real(f), op, arg); }
int fileSectorSize(sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); }
int fileDeviceCharacteristics(sqlite3_file* f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); }
int fileShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** out) {
    return real(f)->pMethods->xShmMap(real(f), page, size, extend, out);
}
int fileShmLock(sqlite3_file* f, int offset, int n, int flags) {
    return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
}
void fileShmBarrier(sqlite3_file* f) { real(f)->pMethods->xShmBarrier(real(f)); }
int fileShmUnmap(sqlite3_file* f, int deleteFlag) { return real(f)->pMethods->xShmUnmap(real(f), deleteFlag); }

// Memory-mapped reads are refused so that every page goes through xRead.
int fileFetch(sqlite3_file*, sqlite3_int64, int, void** out) {
    *out = nullptr;
    return SQLITE_OK;
}
int fileUnfetch(sqlite3_file*, sqlite3_int64, void*) { return SQLITE_OK; }

const sqlite3_io_methods kMethods = {
    3,           fileClose,  fileRead,     fileWrite,      fileTruncate,   fileSync,
    fileSize,    fileLock,   fileUnlock,   fileCheckReservedLock, fileControl, fileSectorSize,
    fileDeviceCharacteristics, fileShmMap, fileShmLock, fileShmBarrier, fileShmUnmap, fileFetch,
    fileUnfetch,
};

int vfsOpen(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    File* wrapper = reinterpret_cast<File*>(file);
    wrapper->real = reinterpret_cast<sqlite3_file*>(wrapper + 1);
    std::memset(wrapper->real, 0, static_cast<size_t>(state().base->szOsFile));
    wrapper->base.pMethods = nullptr;
    const int rc = state().base->xOpen(state().base, name, wrapper->real, flags, outFlags);
    if (wrapper->real->pMethods) wrapper->base.pMethods = &kMethods;
    (void)vfs;
    return rc;
}
int vfsDelete(sqlite3_vfs*, const char* name, int syncDir) { return state().base->xDelete(state().base, name, syncDir); }
int vfsAccess(sqlite3_vfs*, const char* name, int flags, int* out) {
    return state().base->xAccess(state().base, name, flags, out);
}
int vfsFullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return state().base->xFullPathname(state().base, name, size, out);
}
void* vfsDlOpen(sqlite3_vfs*, const char* name) { return state().base->xDlOpen(state().base, name); }
void vfsDlError(sqlite3_vfs*, int size, char* out) { state().base->xDlError(state().base, size, out); }
void (*vfsDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void) {
    return state().base->xDlSym(state().base, handle, symbol);
}
void vfsDlClose(sqlite3_vfs*, void* handle) { state().base->xDlClose(state().base, handle); }
int vfsRandomness(sqlite3_vfs*, int size, char* out) { return state().base->xRandomness(state().base, size, out); }
int vfsSleep(sqlite3_vfs*, int micro) { return state().base->xSleep(state().base, micro); }
int vfsCurrentTime(sqlite3_vfs*, double* out) { return state().base->xCurrentTime(state().base, out); }
int vfsGetLastError(sqlite3_vfs*, int size, char* out) {
    return state().base->xGetLastError ? state().base->xGetLastError(state().base, size, out) : 0;
}
int vfsCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) {
    return state().base->xCurrentTimeInt64(state().base, out);
}

sqlite3_vfs& failingVfs() {
    static sqlite3_vfs vfs = [] {
        sqlite3_initialize();
        state().base = sqlite3_vfs_find(nullptr);
        if (!state().base) throw std::runtime_error("no default file layer");
        sqlite3_vfs v{};
        v.iVersion = 2;
        v.szOsFile = static_cast<int>(sizeof(File)) + state().base->szOsFile;
        v.mxPathname = state().base->mxPathname;
        v.zName = "jet-failing-writes";
        v.xOpen = vfsOpen;
        v.xDelete = vfsDelete;
        v.xAccess = vfsAccess;
        v.xFullPathname = vfsFullPathname;
        v.xDlOpen = vfsDlOpen;
        v.xDlError = vfsDlError;
        v.xDlSym = vfsDlSym;
        v.xDlClose = vfsDlClose;
        v.xRandomness = vfsRandomness;
        v.xSleep = vfsSleep;
        v.xCurrentTime = vfsCurrentTime;
        v.xGetLastError = vfsGetLastError;
        v.xCurrentTimeInt64 = vfsCurrentTimeInt64;
        return v;
    }();
    return vfs;
}

}  // namespace

FailingWrites::FailingWrites() {
    disarm();
    sqlite3_vfs_register(&failingVfs(), 1);
}

FailingWrites::~FailingWrites() {
    disarm();
    sqlite3_vfs_unregister(&failingVfs());
}

void FailingWrites::failWrite(int64_t n, Fault fault, bool persistent) {
    State& s = state();
    s.code = fault == Fault::DiskFull ? SQLITE_FULL : SQLITE_IOERR_WRITE;
    s.persistent = persistent;
    s.syncFailAt = 0;
    s.failed = false;
    s.count = 0;
    s.failAt = n;
}

void FailingWrites::failSync(int64_t n) {
    State& s = state();
    s.failAt = 0;
    s.failed = false;
    s.syncs = 0;
    s.syncFailAt = n;
}

void FailingWrites::disarm() {
    State& s = state();
    s.failAt = 0;
    s.count = 0;
    s.syncFailAt = 0;
    s.syncs = 0;
    s.failed = false;
}

int64_t FailingWrites::writes() const { return state().count; }

FailingWrites& failingWrites() {
    static FailingWrites layer;
    return layer;
}

int64_t FailingWrites::syncs() const { return state().syncs; }

bool FailingWrites::failed() const { return state().failed; }

}  // namespace jet::testing
