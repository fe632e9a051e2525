#include "platform/gdiplus/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

namespace gdiplus {
namespace {

Status StatusFromErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR: return FileNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return AccessDenied;
    case ENOMEM: return OutOfMemory;
    default: return Win32Error;
    }
}

std::string RandomSuffix() {
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generator()));
    return text;
}

}  // namespace

Status ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return StatusFromErrno(errno);
    bytes.clear();
    std::uint8_t chunk[65536];
    Status status = Ok;
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            status = StatusFromErrno(errno);
            break;
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    return status;
}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

Status AtomicFileWriter::Open(const std::filesystem::path& path) {
    Discard();
    target_ = path;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::filesystem::path candidate = path;
        candidate += ".~" + RandomSuffix();
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            temporary_ = std::move(candidate);
            return Ok;
        }
        if (errno != EEXIST) return StatusFromErrno(errno);
    }
    return Win32Error;
}

Status AtomicFileWriter::Write(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0) return WrongState;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return StatusFromErrno(errno);
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return Ok;
}

Status AtomicFileWriter::Commit() {
    if (fd_ < 0) return WrongState;
    if (::fsync(fd_) != 0) return StatusFromErrno(errno);
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) return StatusFromErrno(errno);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return StatusFromErrno(errno);
    temporary_.clear();
    return Ok;
}

void AtomicFileWriter::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

}  // namespace gdiplus
