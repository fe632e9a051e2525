#pragma once
// The layer's allocator for pixel blocks that change hands (GdipAlloc and
// GdipFree): a block a bitmap takes over must come from Alloc, because the
// bitmap gives it back with Free.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/gdiplus/status.h"

namespace gdiplus {

// A zero-filled block, or nullptr when memory runs out (or size is 0).
// Blocks of kLargeBlockBytes and more are mapped from the kernel marked for
// huge pages (see MapLargeBlock); smaller ones come from the C heap.
void* Alloc(std::size_t size);
// Alloc without the zeroes: for a caller that writes every byte it will read
// (a decoder filling rows, a lock read into its buffer). A large block may be
// one that held pixels before, so nothing of it may be shown unwritten.
void* AllocUninitialized(std::size_t size);
void Free(void* block);

// Below this a block comes from the C heap: a few rows of a page, a palette.
inline constexpr std::size_t kLargeBlockBytes = std::size_t{1} << 20;
// Whether a block of `size` bytes is mapped by MapLargeBlock (never in the
// sanitizer build, whose heap checks the pixel buffers' bounds).
bool IsLargeBlock(std::size_t size);
// Pages of at least `size` bytes, marked for transparent huge pages; nullptr
// when memory runs out. Given back with UnmapLargeBlock and the same size.
// A block of kPooledBlockBytes and more may come from the pool of blocks
// given back before (see below): its bytes are then whatever they were, and
// `reused` (when given) says so; fresh pages from the kernel are zero.
void* MapLargeBlock(std::size_t size, bool* reused = nullptr);
void UnmapLargeBlock(void* block, std::size_t size);

// The pool: the last few page-sized blocks given back are kept for the next
// request instead of being unmapped (the one nearest in size, resized to the
// request), because on a virtual machine a fresh page-sized block costs a
// hundred milliseconds of page faults and zeroing, a reused one nothing. Pooled blocks are marked
// MADV_FREE, so under memory pressure the kernel takes their pages back
// without asking (they then read as zero). At most kMaxPooledBlocks blocks and
// kMaxPooledBytes bytes; the oldest leaves first.
inline constexpr std::size_t kPooledBlockBytes = std::size_t{4} << 20;
inline constexpr std::size_t kMaxPooledBlocks = 6;
inline constexpr std::size_t kMaxPooledBytes = std::size_t{512} << 20;
// Unmaps every pooled block (for a host that wants its memory back now).
void ReleasePooledBlocks();
// How many blocks and bytes the pool holds now.
std::size_t PooledBlockCount();
std::size_t PooledBytes();
// Marks the whole huge pages inside a block that is not touched yet (the
// capacity of a vector just reserved) for transparent huge pages, so that
// filling it faults 2 MiB at a time. Nothing for a small block.
void AdviseHugePages(void* block, std::size_t size);

struct FreeDeleter {
    void operator()(void* block) const { Free(block); }
};
using OwnedBuffer = std::unique_ptr<std::uint8_t[], FreeDeleter>;

// Alloc as an owning pointer; empty when memory runs out.
OwnedBuffer AllocBuffer(std::size_t size);
// AllocUninitialized as an owning pointer.
OwnedBuffer AllocUninitializedBuffer(std::size_t size);
// Zeroes the bytes of each of `rows` rows, `stride` bytes apart, that come
// after its first `used` bytes: the padding of rows in a block that was not
// cleared as a whole, so no stale memory is part of an image.
void ClearRowPadding(std::uint8_t* scan0, std::size_t stride, std::size_t used, std::size_t rows);

// An allocator that leaves new elements of trivial types uninitialised: a
// page-sized pixel buffer that is filled at once is not zeroed first (a pass
// over tens of megabytes that the fill would overwrite anyway).
template <class T>
struct UninitializedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitializedAllocator<U>;
    };
    UninitializedAllocator() = default;
    template <class U>
    UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}

    template <class U>
    void construct(U* at) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }

    // Page-sized buffers from huge pages, like the bitmaps' own (Alloc).
    T* allocate(std::size_t n) {
        if (n > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
        if (!IsLargeBlock(n * sizeof(T))) return std::allocator<T>::allocate(n);
        void* block = MapLargeBlock(n * sizeof(T));
        if (block == nullptr) throw std::bad_alloc();
        return static_cast<T*>(block);
    }
    void deallocate(T* block, std::size_t n) noexcept {
        if (IsLargeBlock(n * sizeof(T))) {
            UnmapLargeBlock(block, n * sizeof(T));
        } else {
            std::allocator<T>::deallocate(block, n);
        }
    }
};
template <class T, class U>
bool operator==(const UninitializedAllocator<T>&, const UninitializedAllocator<U>&) noexcept {
    return true;
}

// Bytes whose growth leaves the new ones to be written by the caller.
using UninitializedBytes = std::vector<std::uint8_t, UninitializedAllocator<std::uint8_t>>;

// Runs `body` (which gives a Status) and answers OutOfMemory when memory runs
// out on the way, so that no allocation failure leaves the layer as an
// exception; work that sizes its memory by the caller's input goes through it.
template <class Body>
Status AnswerOutOfMemory(Body&& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return OutOfMemory;
    }
}

}  // namespace gdiplus
