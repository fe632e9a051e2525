#include "platform/gdiplus/memory.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>

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

// The blocks given back and kept for reuse (see kPooledBlockBytes).
class BlockPool {
public:
    struct Block {
        void* base;
        std::size_t bytes;  // whole small pages, as mapped
    };

    // The pooled block nearest in size, moved to exactly `bytes` (growing
    // keeps its pages and adds fresh ones, shrinking gives the tail back):
    // a page's blocks change size from step to step (the page in 24 bits, its
    // working copy in 32), and any block reused saves the faults of its pages.
    void* Take(std::size_t bytes) {
        Block block{};
        {
            std::lock_guard<std::mutex> hold(mutex_);
            if (blocks_.empty()) return nullptr;
            auto best = blocks_.begin();
            auto distance = [bytes](const Block& b) { return b.bytes > bytes ? b.bytes - bytes : bytes - b.bytes; };
            for (auto it = blocks_.begin(); it != blocks_.end(); ++it)
                if (distance(*it) < distance(*best)) best = it;
            block = *best;
            held_ -= best->bytes;
            blocks_.erase(best);
        }
        if (block.bytes == bytes) return block.base;
        void* moved = mremap(block.base, block.bytes, bytes, MREMAP_MAYMOVE);
        if (moved == MAP_FAILED) {
            munmap(block.base, block.bytes);
            return nullptr;
        }
        if (bytes > block.bytes) madvise(moved, bytes, MADV_HUGEPAGE);
        return moved;
    }

    // Keeps the block; false when it is too large to keep at all.
    bool Keep(void* base, std::size_t bytes) {
        if (bytes > kMaxPooledBytes) return false;
        // The kernel may take the pages back under pressure; until then the
        // block stays mapped and its next user faults nothing.
        madvise(base, bytes, MADV_FREE);
        std::deque<Block> leaving;
        {
            std::lock_guard<std::mutex> hold(mutex_);
            blocks_.push_back(Block{base, bytes});
            held_ += bytes;
            while (blocks_.size() > kMaxPooledBlocks || held_ > kMaxPooledBytes) {
                leaving.push_back(blocks_.front());
                held_ -= blocks_.front().bytes;
                blocks_.pop_front();
            }
        }
        for (const Block& block : leaving) munmap(block.base, block.bytes);
        return true;
    }

    void Release() {
        std::deque<Block> leaving;
        {
            std::lock_guard<std::mutex> hold(mutex_);
            leaving.swap(blocks_);
            held_ = 0;
        }
        for (const Block& block : leaving) munmap(block.base, block.bytes);
    }

    std::size_t Count() {
        std::lock_guard<std::mutex> hold(mutex_);
        return blocks_.size();
    }
    std::size_t Bytes() {
        std::lock_guard<std::mutex> hold(mutex_);
        return held_;
    }

private:
    std::mutex mutex_;
    std::deque<Block> blocks_;
    std::size_t held_ = 0;
};

// Never destroyed: blocks may be given back while the process ends.
BlockPool& Pool() {
    static BlockPool* pool = new BlockPool;
    return *pool;
}

}  // namespace

void ReleasePooledBlocks() { Pool().Release(); }
std::size_t PooledBlockCount() { return Pool().Count(); }
std::size_t PooledBytes() { return Pool().Bytes(); }

bool IsLargeBlock(std::size_t size) { return !kSanitized && size >= kLargeBlockBytes; }

void* MapLargeBlock(std::size_t size, bool* reused) {
    const std::size_t bytes = RoundToPages(size);
    if (reused != nullptr) *reused = false;
    if (bytes >= kPooledBlockBytes) {
        if (void* pooled = Pool().Take(bytes)) {
            if (reused != nullptr) *reused = true;
            return pooled;
        }
    }
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
    if (block == nullptr) return;
    const std::size_t bytes = RoundToPages(size);
    if (bytes >= kPooledBlockBytes && Pool().Keep(block, bytes)) return;
    munmap(block, bytes);
}

void AdviseHugePages(void* block, std::size_t size) {
    if (block == nullptr || !IsLargeBlock(size)) return;
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    const std::uintptr_t end = (start + size) / kHugePageBytes * kHugePageBytes;
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

namespace {

void* AllocBlock(std::size_t size, bool zeroed) {
    if (size == 0 || size > SIZE_MAX - kHeaderBytes) return nullptr;
    const std::size_t total = size + kHeaderBytes;
    void* base = nullptr;
    std::size_t mapped = 0;
    if (IsLargeBlock(total)) {
        bool reused = false;
        base = MapLargeBlock(total, &reused);
        // The kernel's fresh pages are zero already; a pooled block is not.
        if (base != nullptr && reused && zeroed) std::memset(base, 0, total);
        mapped = total;
    } else {
        base = zeroed ? std::calloc(total, 1) : std::malloc(total);
    }
    if (base == nullptr) return nullptr;
    static_cast<Header*>(base)->mappedBytes = mapped;
    return static_cast<std::uint8_t*>(base) + kHeaderBytes;
}

}  // namespace

void* Alloc(std::size_t size) { return AllocBlock(size, true); }
void* AllocUninitialized(std::size_t size) { return AllocBlock(size, false); }

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
void ClearRowPadding(std::uint8_t* scan0, std::size_t stride, std::size_t used, std::size_t rows) {
    if (scan0 == nullptr || used >= stride) return;
    for (std::size_t y = 0; y < rows; ++y) std::memset(scan0 + y * stride + used, 0, stride - used);
}

OwnedBuffer AllocUninitializedBuffer(std::size_t size) {
    return OwnedBuffer(static_cast<std::uint8_t*>(AllocUninitialized(size)));
}

}  // namespace gdiplus
