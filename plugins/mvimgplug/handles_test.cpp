// Handles are numbers the plug-in checks: zero, given-back, made-up and
// other-kind handles are refused by every function, and giving a handle back
// gives back what depends on it.
#include <gtest/gtest.h>

#include <set>

#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/testing/plugin_test_support.h"

namespace mvimgplug::testing {
namespace {

// What a bitmap handle answers, all zero or null for a refused handle.
void ExpectRefusedAsBitmap(MvimgplugHandle handle) {
    EXPECT_EQ(MVIMGPLUG_GetWidth(handle), 0u);
    EXPECT_EQ(MVIMGPLUG_GetHeight(handle), 0u);
    EXPECT_EQ(MVIMGPLUG_GetPitch(handle), 0u);
    EXPECT_EQ(MVIMGPLUG_GetBPP(handle), 0u);
    EXPECT_EQ(MVIMGPLUG_GetBits(handle), nullptr);
    EXPECT_EQ(MVIMGPLUG_GetInfo(handle), nullptr);
    EXPECT_EQ(MVIMGPLUG_GetPalette(handle), nullptr);
    EXPECT_EQ(MVIMGPLUG_GetDotsPerMeterX(handle), 0u);
    EXPECT_EQ(MVIMGPLUG_ConvertTo24Bits(handle), 0u);
    EXPECT_EQ(MVIMGPLUG_ConvertTo32Bits(handle), 0u);
    EXPECT_EQ(MVIMGPLUG_FlipVertical(handle), 0);
    EXPECT_EQ(MVIMGPLUG_Invert(handle), 0);
    EXPECT_EQ(MVIMGPLUG_GetMetadataCount(1, handle), 0u);
    MvimgplugHandle tag = 99;
    EXPECT_EQ(MVIMGPLUG_FindFirstMetadata(1, handle, &tag), 0u);
    EXPECT_EQ(tag, 0u);
    ScratchFolder scratch;
    EXPECT_EQ(MVIMGPLUG_SaveU(kTarga, handle, U16(scratch.file("never.tga")).c_str(), 0), 0);
    // Setters and releases of a refused handle do nothing (and do not crash).
    MVIMGPLUG_SetDotsPerMeterX(handle, 100);
    MVIMGPLUG_SetTransparentIndex(handle, 0);
    MVIMGPLUG_Unload(handle);
}

TEST(Handles, ZeroAndMadeUpHandlesAreRefused) {
    for (MvimgplugHandle handle : {0u, 1u, 0x12345678u, 0x20000001u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(handle);
        ExpectRefusedAsBitmap(handle);
    }
    EXPECT_EQ(MVIMGPLUG_GetPageCount(0), 0);
    EXPECT_EQ(MVIMGPLUG_LockPage(0, 0), 0u);
    EXPECT_EQ(MVIMGPLUG_OpenMultiBitmapU(kTiff, 0, 0), 0u);
    EXPECT_EQ(MVIMGPLUG_GetTagKey(0), nullptr);
    MvimgplugTagRecord record;
    EXPECT_EQ(MVIMGPLUG_GetTagRecord(0, &record), 0);
    EXPECT_EQ(record.key, nullptr);
    MVIMGPLUG_CloseFileHandle(0);
    MVIMGPLUG_CloseMultiBitmap(0, 0);
    MVIMGPLUG_FindCloseMetadata(0);
    MVIMGPLUG_DeleteTag(0);
}

TEST(Handles, AnUnloadedBitmapStaysRefused) {
    MvimgplugHandle bitmap = NewTestBitmap24(8, 8);
    ASSERT_NE(bitmap, 0u);
    EXPECT_EQ(MVIMGPLUG_GetWidth(bitmap), 8u);
    MVIMGPLUG_Unload(bitmap);
    ExpectRefusedAsBitmap(bitmap);
    // New bitmaps get new handles.
    std::set<MvimgplugHandle> seen = {bitmap};
    for (int i = 0; i < 20; ++i) {
        Bitmap fresh(NewTestBitmap24(4, 4));
        EXPECT_TRUE(seen.insert(fresh.get()).second);
    }
}

TEST(Handles, HandlesOfAnotherKindAreRefused) {
    ScratchFolder scratch;
    Bitmap picture(NewTestBitmap24(8, 8));
    const std::string path = scratch.file("picture.tif");
    ASSERT_EQ(MVIMGPLUG_SaveU(kTiff, picture.get(), U16(path).c_str(), 0), 1);

    const MvimgplugHandle file = MVIMGPLUG_OpenFileU(U16(path).c_str());
    ASSERT_NE(file, 0u);
    ExpectRefusedAsBitmap(file);
    const MvimgplugHandle tag = MVIMGPLUG_CreateTag();
    ASSERT_NE(tag, 0u);
    ExpectRefusedAsBitmap(tag);
    // A bitmap is no file, and no multi-bitmap.
    EXPECT_EQ(MVIMGPLUG_OpenMultiBitmapU(kTiff, 0, picture.get()), 0u);
    EXPECT_EQ(MVIMGPLUG_GetPageCount(picture.get()), 0);
    EXPECT_EQ(MVIMGPLUG_SetTagID(picture.get(), 1), 0);
    // Closing and deleting take only their own kinds: the bitmap lives on.
    MVIMGPLUG_CloseFileHandle(picture.get());
    MVIMGPLUG_DeleteTag(picture.get());
    MVIMGPLUG_CloseMultiBitmap(picture.get(), 0);
    MVIMGPLUG_FindCloseMetadata(picture.get());
    EXPECT_EQ(MVIMGPLUG_GetWidth(picture.get()), 8u);

    MVIMGPLUG_DeleteTag(tag);
    EXPECT_EQ(MVIMGPLUG_SetTagID(tag, 1), 0);
    MVIMGPLUG_CloseFileHandle(file);
    EXPECT_EQ(MVIMGPLUG_OpenMultiBitmapU(kTiff, 0, file), 0u);
}

TEST(Handles, ConversionsLeaveTheSourceWithItsCaller) {
    Bitmap picture(NewTestBitmap24(8, 6));
    Bitmap wide(MVIMGPLUG_ConvertTo32Bits(picture.get()));
    ASSERT_TRUE(wide);
    EXPECT_NE(wide.get(), picture.get());
    EXPECT_EQ(MVIMGPLUG_GetBPP(wide.get()), 32u);
    ExpectTestPicture24(picture.get(), 8, 6);
    Bitmap back(MVIMGPLUG_ConvertTo24Bits(wide.get()));
    ExpectTestPicture24(back.get(), 8, 6);
}

TEST(Handles, RawBitsThatDoNotDescribeAnImageAreRefused) {
    const std::vector<uint8_t> bits(64, 0);
    EXPECT_EQ(MVIMGPLUG_ConvertFromRawBits(nullptr, 4, 4, 16, 24, 0, 0, 0, 1), 0u);
    EXPECT_EQ(MVIMGPLUG_ConvertFromRawBits(bits.data(), 0, 4, 16, 24, 0, 0, 0, 1), 0u);
    EXPECT_EQ(MVIMGPLUG_ConvertFromRawBits(bits.data(), 4, -1, 16, 24, 0, 0, 0, 1), 0u);
    // A pitch shorter than a row.
    EXPECT_EQ(MVIMGPLUG_ConvertFromRawBits(bits.data(), 4, 4, 11, 24, 0, 0, 0, 1), 0u);
    EXPECT_EQ(MVIMGPLUG_ConvertFromRawBits(bits.data(), 4, 4, 16, 7, 0, 0, 0, 1), 0u);
    Bitmap fine(MVIMGPLUG_ConvertFromRawBits(bits.data(), 4, 4, 16, 24, 0, 0, 0, 1));
    EXPECT_TRUE(fine);
}

TEST(Handles, TransparentEntriesAddUp) {
    Bitmap grey(NewTestBitmap8(4, 4));
    EXPECT_EQ(MVIMGPLUG_GetTransparencyCount(grey.get()), 0u);
    EXPECT_EQ(MVIMGPLUG_IsTransparent(grey.get()), 0);
    MVIMGPLUG_SetTransparentIndex(grey.get(), 3);
    MVIMGPLUG_SetTransparentIndex(grey.get(), 7);
    MVIMGPLUG_SetTransparentIndex(grey.get(), 300);  // outside the palette: nothing
    EXPECT_EQ(MVIMGPLUG_IsTransparent(grey.get()), 1);
    // Both entries stay transparent: converted to 32 bits, indexes 3 and 7 have alpha 0.
    Bitmap wide(MVIMGPLUG_ConvertTo32Bits(grey.get()));
    const std::vector<uint8_t> top = RowOf(wide.get(), 0);  // indexes 0, 1, 2, 3
    const std::vector<uint8_t> second = RowOf(wide.get(), 1);  // indexes 3, 4, 5, 6
    const std::vector<uint8_t> third = RowOf(wide.get(), 2);  // indexes 6, 7, 8, 9
    EXPECT_EQ(top[3], 255);
    EXPECT_EQ(top[4 * 3 + 3], 0);
    EXPECT_EQ(second[3], 0);
    EXPECT_EQ(third[4 * 1 + 3], 0);
    EXPECT_EQ(third[4 * 2 + 3], 255);
}

}  // namespace
}  // namespace mvimgplug::testing
