#pragma once
// A lock on one file for as long as this process holds it: an OS lock (flock)
// on the file itself, so it ends with the process however the process ends.
// It is taken on the file the path resolves to: a symlink to the file,
// another spelling of its path, or a side lock file deleted meanwhile gives no
// second holder. Exclusive when this process may write the file; shared when
// it may only read it (a read-only file or folder, read-only media), so that
// readers may share it while no writer gets in.
//
// The lock's handle stays open while the lock is held. Closing a handle on a
// file ends every record lock this process holds on it (the database engine's
// among them), so a holder is kept for the run rather than taken again.
#include <sys/types.h>

#include <filesystem>
#include <optional>

namespace files {

class FileLock {
public:
    // The lock on `file`, or nullopt when another process holds it (exclusively,
    // or shared while this one may write). std::filesystem::filesystem_error
    // when the file cannot be opened at all.
    static std::optional<FileLock> tryTake(const std::filesystem::path& file);

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    ~FileLock();

    // Whether this process may only read the file (the lock is shared).
    bool readOnly() const { return readOnly_; }
    // Whether `file` resolves to the file this lock is on.
    bool covers(const std::filesystem::path& file) const;

private:
    FileLock(int fd, bool readOnly);
    int fd_ = -1;
    bool readOnly_ = false;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

// Whether this process may write `file` and create files beside it (the
// engine's journal): false on read-only media, for a read-only file or folder.
bool mayWriteFileAndFolder(const std::filesystem::path& file);

}  // namespace files
