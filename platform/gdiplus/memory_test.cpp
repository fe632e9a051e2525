#include "platform/gdiplus/memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace gdiplus {
namespace {

// Sizes on both sides of the large-block threshold and of a huge page.
constexpr std::size_t kSizes[] = {1, 63, 4096, kLargeBlockBytes - 65, kLargeBlockBytes, (std::size_t{2} << 20) + 1,
                                  std::size_t{35} << 20};

TEST(MemoryTest, BlocksAreZeroedAlignedAndWholeWritable) {
    for (std::size_t size : kSizes) {
        SCOPED_TRACE(size);
        OwnedBuffer block = AllocBuffer(size);
        ASSERT_TRUE(block);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.get()) % 16, 0u);
        EXPECT_TRUE(std::all_of(block.get(), block.get() + size, [](std::uint8_t b) { return b == 0; }));
        std::memset(block.get(), 0xA5, size);  // the sanitizer build checks the bounds
        EXPECT_EQ(block[size - 1], 0xA5);
    }
}

TEST(MemoryTest, NothingForNoBytesOrMoreThanCanBeAddressed) {
    EXPECT_EQ(Alloc(0), nullptr);
    EXPECT_EQ(Alloc(SIZE_MAX), nullptr);
    EXPECT_EQ(Alloc(SIZE_MAX - 8), nullptr);
    Free(nullptr);
}

TEST(MemoryTest, UninitializedBytesGrowAndShrinkAcrossTheThreshold) {
    UninitializedBytes bytes;
    for (std::size_t size : kSizes) {
        SCOPED_TRACE(size);
        const std::size_t kept = std::min(bytes.size(), size);
        std::vector<std::uint8_t> before(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kept));
        bytes.resize(size);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), bytes.begin()));  // growth keeps what was there
        std::memset(bytes.data(), static_cast<int>(size & 0xFF), size);
        bytes.shrink_to_fit();
    }
    UninitializedBytes copy(bytes);
    EXPECT_EQ(copy, bytes);
}

// A page-sized block given back waits in the pool for the next request:
// the same pages, not zeroed (Alloc zeroes it again), resized to a request of
// another size, until the pool is full or released.
TEST(MemoryTest, PageBlocksGivenBackAreReused) {
    ReleasePooledBlocks();
    const std::size_t page = std::size_t{26} << 20, copy = std::size_t{35} << 20;
    bool reused = true;
    void* first = MapLargeBlock(page, &reused);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(reused);
    std::memset(first, 0x5A, page);
    UnmapLargeBlock(first, page);
    EXPECT_EQ(PooledBlockCount(), 1u);
    EXPECT_EQ(PooledBytes(), page);

    void* again = MapLargeBlock(page, &reused);
    EXPECT_TRUE(reused);
    EXPECT_EQ(again, first);
    EXPECT_EQ(PooledBlockCount(), 0u);

    // Another size: the pooled block grown, its pages kept, the rest writable.
    UnmapLargeBlock(again, page);
    void* grown = MapLargeBlock(copy, &reused);
    ASSERT_NE(grown, nullptr);
    EXPECT_TRUE(reused);
    std::memset(grown, 0x3C, copy);
    UnmapLargeBlock(grown, copy);
    EXPECT_EQ(PooledBytes(), copy);
    void* shrunk = MapLargeBlock(page, &reused);
    EXPECT_TRUE(reused);
    std::memset(shrunk, 0x3C, page);
    UnmapLargeBlock(shrunk, page);
    EXPECT_EQ(PooledBytes(), page);

    ReleasePooledBlocks();
    EXPECT_EQ(PooledBlockCount(), 0u);
    EXPECT_EQ(PooledBytes(), 0u);
    void* fresh = MapLargeBlock(page, &reused);
    EXPECT_FALSE(reused);
    UnmapLargeBlock(fresh, page);
    ReleasePooledBlocks();
}

TEST(MemoryTest, ThePoolKeepsOnlyTheLastFewBlocks) {
    ReleasePooledBlocks();
    const std::size_t block = kPooledBlockBytes;
    std::vector<void*> blocks;
    for (std::size_t i = 0; i < kMaxPooledBlocks + 3; ++i) blocks.push_back(MapLargeBlock(block));
    for (void* b : blocks) UnmapLargeBlock(b, block);
    EXPECT_EQ(PooledBlockCount(), kMaxPooledBlocks);
    EXPECT_EQ(PooledBytes(), kMaxPooledBlocks * block);
    // Smaller blocks are never kept.
    void* small = MapLargeBlock(kPooledBlockBytes / 2);
    UnmapLargeBlock(small, kPooledBlockBytes / 2);
    EXPECT_EQ(PooledBlockCount(), kMaxPooledBlocks);
    ReleasePooledBlocks();
}

// A block from the pool is zeroed again for Alloc, and left as it was for
// AllocUninitialized, whose callers write every byte.
TEST(MemoryTest, AllocZeroesAReusedBlock) {
    if (!IsLargeBlock(std::size_t{26} << 20)) GTEST_SKIP() << "large blocks come from the sanitizer's heap";
    ReleasePooledBlocks();
    const std::size_t size = std::size_t{26} << 20;
    for (int round = 0; round < 2; ++round) {
        OwnedBuffer dirty = AllocUninitializedBuffer(size);
        ASSERT_TRUE(dirty);
        std::memset(dirty.get(), 0xC3, size);
    }
    EXPECT_EQ(PooledBlockCount(), 1u);
    OwnedBuffer clean = AllocBuffer(size);
    ASSERT_TRUE(clean);
    EXPECT_EQ(PooledBlockCount(), 0u);
    EXPECT_TRUE(std::all_of(clean.get(), clean.get() + size, [](std::uint8_t b) { return b == 0; }));
    clean.reset();
    ReleasePooledBlocks();
}

TEST(MemoryTest, RowPaddingIsClearedAndPixelsKept) {
    std::vector<std::uint8_t> rows(3 * 8, 0xEE);
    ClearRowPadding(rows.data(), 8, 5, 3);
    for (std::size_t y = 0; y < 3; ++y)
        for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(rows[y * 8 + i], i < 5 ? 0xEE : 0) << y << "," << i;
}

}  // namespace
}  // namespace gdiplus
