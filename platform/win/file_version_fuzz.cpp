// libFuzzer target: the bytes as a shared object whose version note is read.
// The reader takes a path, so the bytes go into an in-memory file named by
// its /proc/self/fd path.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/win/file_version.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int fd = ::memfd_create("file_version_fuzz", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ::ftruncate(fd, 0) != 0) std::abort();
    if (size > 0 && ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    win::ReadFileVersion(path);
    return 0;
}
