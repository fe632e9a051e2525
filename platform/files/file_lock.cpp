#include "platform/files/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace files {

namespace {

[[noreturn]] void fail(const char* what, const std::filesystem::path& file, int error) {
    throw std::filesystem::filesystem_error(what, file, std::error_code(error, std::generic_category()));
}

}  // namespace

bool mayWriteFileAndFolder(const std::filesystem::path& file) {
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::canonical(file, ec);
    if (ec) return false;
    return ::access(resolved.c_str(), W_OK) == 0 && ::access(resolved.parent_path().c_str(), W_OK | X_OK) == 0;
}

std::optional<FileLock> FileLock::tryTake(const std::filesystem::path& file) {
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::canonical(file, ec);
    if (ec) fail("Cannot open the file", file, ec.value());
    const bool readOnly = !mayWriteFileAndFolder(resolved);
    const int fd = ::open(resolved.c_str(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (fd < 0) fail("Cannot open the file", resolved, errno);
    if (::flock(fd, (readOnly ? LOCK_SH : LOCK_EX) | LOCK_NB) == 0) return FileLock(fd, readOnly);
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return std::nullopt;
    fail("Cannot lock the file", resolved, error);
}

FileLock::FileLock(int fd, bool readOnly) : fd_(fd), readOnly_(readOnly) {
    struct stat st {};
    if (::fstat(fd, &st) == 0) {
        device_ = st.st_dev;
        inode_ = st.st_ino;
    }
}

FileLock::FileLock(FileLock&& other) noexcept
    : fd_(other.fd_), readOnly_(other.readOnly_), device_(other.device_), inode_(other.inode_) {
    other.fd_ = -1;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        readOnly_ = other.readOnly_;
        device_ = other.device_;
        inode_ = other.inode_;
        other.fd_ = -1;
    }
    return *this;
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);
}

bool FileLock::covers(const std::filesystem::path& file) const {
    struct stat st {};
    return fd_ >= 0 && ::stat(file.c_str(), &st) == 0 && st.st_dev == device_ && st.st_ino == inode_;
}

}  // namespace files
