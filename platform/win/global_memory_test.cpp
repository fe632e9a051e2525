#include "platform/win/global_memory.h"

#include "platform/win/gdi_bitmap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace win {
namespace {

TEST(GlobalMemory, AllocLockWriteSizeFree) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, 16);
    ASSERT_NE(block, HGLOBAL{});
    EXPECT_EQ(GlobalSize(block), 16u);
    auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], 0) << "blocks start zero-filled";
    std::memcpy(bytes, "packed dib bytes", 16);
    EXPECT_FALSE(GlobalUnlock(block)) << "a fixed block counts no locks";
    EXPECT_EQ(std::memcmp(GlobalLock(block), "packed dib bytes", 16), 0);
    EXPECT_EQ(GlobalFree(block), HGLOBAL{});
}

TEST(GlobalMemory, MoveableBlocksCountTheirLocks) {
    HGLOBAL block = GlobalAlloc(GHND, 4);
    void* first = GlobalLock(block);
    void* second = GlobalLock(block);
    EXPECT_EQ(first, second);
    EXPECT_EQ(GlobalLockCount(block), 2u);
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block)) << "unlocking an unlocked block stays at zero";
    EXPECT_EQ(GlobalLockCount(block), 0u);
    GlobalFree(block);
}

TEST(GlobalMemory, FreedForeignAndNullHandlesAreRefused) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 8);
    ASSERT_EQ(GlobalFree(block), HGLOBAL{});
    HBITMAP bitmap = CreateCompatibleBitmap(HDC{}, 1, 1);
    HGLOBAL posingBitmap{handleValue(bitmap)};
    for (HGLOBAL bad : {block, posingBitmap, HGLOBAL{}, HGLOBAL{0x12345678u}}) {
        EXPECT_EQ(GlobalLock(bad), nullptr);
        EXPECT_EQ(GlobalSize(bad), 0u);
        EXPECT_EQ(GlobalReAlloc(bad, 4, 0), HGLOBAL{});
        EXPECT_EQ(GlobalFree(bad), bad) << "GlobalFree gives the handle back on failure";
    }
    EXPECT_TRUE(DeleteObject(bitmap)) << "the bitmap survived being passed as memory";
}

TEST(GlobalMemory, BytesAreCopiedOnlyFromALiveBlockAndWithinItsSize) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 6);
    std::memcpy(GlobalLock(block), "abcdef", 6);
    GlobalUnlock(block);
    HBITMAP bitmap = CreateCompatibleBitmap(HDC{}, 1, 1);
    const struct {
        HGLOBAL handle;
        size_t count;
        bool copied;
        const char* bytes;
    } cases[] = {
        {block, 6, true, "abcdef"},
        {block, 2, true, "ab"},
        {block, 0, true, ""},
        {block, 7, false, "kept"},
        {HGLOBAL{handleValue(bitmap)}, 1, false, "kept"},
        {HGLOBAL{}, 1, false, "kept"},
        {HGLOBAL{0x12345678u}, 1, false, "kept"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        std::vector<uint8_t> out{'k', 'e', 'p', 't'};
        EXPECT_EQ(CopyGlobalBytes(c.handle, c.count, out), c.copied);
        EXPECT_EQ(std::string(out.begin(), out.end()), c.bytes);
    }
    EXPECT_EQ(GlobalLockCount(block), 0u) << "a copy holds no lock";
    GlobalFree(block);
    std::vector<uint8_t> out;
    EXPECT_FALSE(CopyGlobalBytes(block, 1, out)) << "a freed block";
    DeleteObject(bitmap);
}

TEST(GlobalMemory, ReAllocKeepsBytesZeroesGrowthAndNeverMovesPinnedBlocks) {
    HGLOBAL moveable = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(GlobalLock(moveable), "abcd", 4);
    GlobalUnlock(moveable);
    ASSERT_EQ(GlobalReAlloc(moveable, 4096, GMEM_MOVEABLE), moveable);
    auto* bytes = static_cast<uint8_t*>(GlobalLock(moveable));
    EXPECT_EQ(std::memcmp(bytes, "abcd", 4), 0);
    EXPECT_EQ(bytes[4095], 0);
    // While locked it may not move: growing past its room fails and the address stays good.
    EXPECT_EQ(GlobalReAlloc(moveable, 1 << 20, GMEM_MOVEABLE), HGLOBAL{});
    EXPECT_EQ(GlobalSize(moveable), 4096u);
    EXPECT_EQ(GlobalReAlloc(moveable, 2, 0), moveable) << "shrinking stays in place";
    EXPECT_EQ(GlobalReAlloc(moveable, 3, 0), moveable);
    EXPECT_EQ(bytes[2], 0) << "bytes given up by a shrink come back zeroed";
    GlobalUnlock(moveable);
    GlobalFree(moveable);

    HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 8);
    EXPECT_EQ(GlobalReAlloc(fixed, 64, GMEM_MOVEABLE), HGLOBAL{}) << "fixed blocks never move";
    EXPECT_EQ(GlobalReAlloc(fixed, 8, 0), fixed);
    GlobalFree(fixed);
}

TEST(GlobalMemory, EmptyBlocksHaveAnAddressAndOversizedOnesAreRefused) {
    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
    EXPECT_NE(GlobalLock(empty), nullptr);
    EXPECT_EQ(GlobalSize(empty), 0u);
    GlobalUnlock(empty);
    GlobalFree(empty);
    EXPECT_EQ(GlobalAlloc(GMEM_FIXED, kMaxGlobalBlockSize + 1), HGLOBAL{});
}

}  // namespace
}  // namespace win
