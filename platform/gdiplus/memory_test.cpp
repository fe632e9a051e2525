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

}  // namespace
}  // namespace gdiplus
