#include "platform/files/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace files {

std::optional<FolderLock> FolderLock::tryTake(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / kFileName;
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        throw std::filesystem::filesystem_error("Cannot open the lock file", file,
                                                std::error_code(errno, std::generic_category()));
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return FolderLock(fd);
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return std::nullopt;
    throw std::filesystem::filesystem_error("Cannot lock the folder", folder,
                                            std::error_code(error, std::generic_category()));
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace files
