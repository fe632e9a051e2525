#pragma once
// An exclusive lock on a folder for as long as this process holds it: an OS
// lock (flock) on a lock file inside the folder, so it ends with the process
// however the process ends. The lock file itself stays; only the lock matters,
// and a file left by a crashed program never blocks the next start.
#include <filesystem>
#include <optional>

namespace files {

class FolderLock {
public:
    // The lock on `folder`, or nullopt when another process holds it.
    // std::filesystem::filesystem_error when the lock file cannot be opened.
    static std::optional<FolderLock> tryTake(const std::filesystem::path& folder);

    FolderLock(FolderLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FolderLock& operator=(FolderLock&& other) noexcept;
    ~FolderLock();

    // The lock file's name inside the folder.
    static constexpr const char* kFileName = ".lock";

private:
    explicit FolderLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace files
