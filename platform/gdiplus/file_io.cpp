#include "platform/gdiplus/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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

Status AtomicFileWriter::Open(const std::filesystem::path& path) {
    const std::error_code error = writer_.open(path);
    open_ = !error;
    return error ? StatusFromErrno(error.value()) : Ok;
}

Status AtomicFileWriter::Write(std::span<const std::uint8_t> bytes) {
    if (!open_) return WrongState;
    const std::error_code error = writer_.write(bytes.data(), bytes.size());
    return error ? StatusFromErrno(error.value()) : Ok;
}

Status AtomicFileWriter::Commit() {
    if (!open_) return WrongState;
    open_ = false;
    const std::error_code error = writer_.commit();
    return error ? StatusFromErrno(error.value()) : Ok;
}

}  // namespace gdiplus
