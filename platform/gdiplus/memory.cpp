#include "platform/gdiplus/memory.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>

namespace gdiplus {
namespace {

// Every block from Alloc starts this far before the pointer the caller gets:
// the header says how the block was had, and keeps the pixels 64-byte aligned.
constexpr std::size_t kHeaderBytes = 64;
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
constexpr std::size_t kPageBytes = 4096;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

struct Header {
    std::size_t mappedBytes;  // 0 for a block from the C heap
};

// Whole small pages: the huge pages cover the 2 MiB stretches inside the
// block, and the tail stays small pages rather than a huge page mostly unused.
std::size_t RoundToPages(std::size_t bytes) { return (bytes + kPageBytes - 1) / kPageBytes * kPageBytes; }

}  // namespace

bool IsLargeBlock(std::size_t size) { return !kSanitized && size >= kLargeBlockBytes; }

void* MapLargeBlock(std::size_t size) {
    const std::size_t bytes = RoundToPages(size);
    void* base = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return nullptr;
    // A page's worth of pixels faults in 2 MiB at a time instead of 4 KiB:
    // on a virtual machine each fault costs microseconds, and a fresh page of
    // an A4 scan is ten thousand small pages. Where huge pages are off this
    // changes nothing.
    madvise(base, bytes, MADV_HUGEPAGE);
    return base;
}

void UnmapLargeBlock(void* block, std::size_t size) {
    if (block != nullptr) munmap(block, RoundToPages(size));
}

void AdviseHugePages(void* block, std::size_t size) {
    if (block == nullptr || !IsLargeBlock(size)) return;
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    const std::uintptr_t end = (start + size) / kHugePageBytes * kHugePageBytes;
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

void* Alloc(std::size_t size) {
    if (size == 0 || size > SIZE_MAX - kHeaderBytes) return nullptr;
    const std::size_t total = size + kHeaderBytes;
    void* base = nullptr;
    std::size_t mapped = 0;
    if (IsLargeBlock(total)) {
        base = MapLargeBlock(total);  // the kernel's pages are zero already
        mapped = total;
    } else {
        base = std::calloc(total, 1);
    }
    if (base == nullptr) return nullptr;
    static_cast<Header*>(base)->mappedBytes = mapped;
    return static_cast<std::uint8_t*>(base) + kHeaderBytes;
}

void Free(void* block) {
    if (block == nullptr) return;
    void* base = static_cast<std::uint8_t*>(block) - kHeaderBytes;
    const std::size_t mapped = static_cast<Header*>(base)->mappedBytes;
    if (mapped != 0) {
        UnmapLargeBlock(base, mapped);
    } else {
        std::free(base);
    }
}

OwnedBuffer AllocBuffer(std::size_t size) { return OwnedBuffer(static_cast<std::uint8_t*>(Alloc(size))); }

}  // namespace gdiplus
