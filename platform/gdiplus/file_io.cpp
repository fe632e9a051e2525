#include "platform/gdiplus/file_io.h"
#include "platform/gdiplus/memory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>
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
    // Room for the whole file at once: a page's file is megabytes, and
    // growing by doubling copies it over and over. The size is only a hint
    // (the file may change while it is read), capped so that a stated size
    // cannot reserve more than a file of the layer's ever holds.
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        try {
            bytes.reserve(static_cast<std::size_t>(std::min<off_t>(info.st_size, off_t{1} << 31)));
            // A page's file faults in 2 MiB at a time as it is read.
            AdviseHugePages(bytes.data(), bytes.capacity());
        } catch (const std::bad_alloc&) {
            // The reads below find out whether the file fits after all.
        }
    }
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
