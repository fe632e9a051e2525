#include "platform/gdiplus/encoded_bytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <new>

#include "platform/gdiplus/file_io.h"

namespace gdiplus {

EncodedBytes::Mapping::~Mapping() {
    if (base != nullptr) ::munmap(base, size);
}

namespace {

// Files below this are read: a mapping costs more than copying a few pages.
constexpr off_t kSmallestMappedFile = off_t{1} << 20;

Status ReadIntoMemory(const std::filesystem::path& path, EncodedBytes& bytes) {
    auto read = std::make_shared<std::vector<std::uint8_t>>();
    if (Status s = ReadWholeFile(path, *read); s != Ok) return s;
    bytes = EncodedBytes(std::move(read));
    return Ok;
}

}  // namespace

Status EncodedBytes::MapFile(const std::filesystem::path& path, EncodedBytes& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ReadIntoMemory(path, bytes);  // the read says why it failed, as always
    struct stat info {};
    const bool mappable = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= kSmallestMappedFile &&
                          static_cast<std::uint64_t>(info.st_size) <= SIZE_MAX;
    void* base = MAP_FAILED;
    const auto size = static_cast<std::size_t>(info.st_size);
    if (mappable) {
        // Not populated at once: a decoder maps in what it reads as it goes
        // and drops what it is done with (DropPages), so the file never
        // stands in memory whole beside the page decoded from it.
        base = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    }
    ::close(fd);
    if (base == MAP_FAILED) return ReadIntoMemory(path, bytes);
    auto mapping = std::make_unique<Mapping>();
    mapping->base = base;
    mapping->size = size;
    const std::span<const std::uint8_t> span(static_cast<const std::uint8_t*>(base), size);
    bytes = EncodedBytes(std::make_shared<Holder>(span, std::move(mapping)));
    return Ok;
}

void EncodedBytes::DropPages(std::uint64_t offset, std::uint64_t length) const {
    if (!Mapped() || offset >= holder_->bytes.size()) return;
    length = std::min<std::uint64_t>(length, holder_->bytes.size() - offset);
    const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(holder_->bytes.data()) + offset;
    const std::uintptr_t first = (start + page - 1) / page * page, end = (start + length) / page * page;
    if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
}

Status EncodedBytes::KeepInMemory() const {
    if (!Mapped()) return Ok;
    try {
        auto copy = std::make_shared<const std::vector<std::uint8_t>>(holder_->bytes.begin(), holder_->bytes.end());
        holder_->bytes = std::span<const std::uint8_t>(*copy);
        holder_->memory = std::move(copy);
        holder_->mapping.reset();
    } catch (const std::bad_alloc&) {
        return OutOfMemory;
    }
    return Ok;
}

}  // namespace gdiplus
