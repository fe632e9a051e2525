#include "imaging/engine/image_creators.h"

#include <gtest/gtest.h>

#include <vector>

#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/pixel_locks.h"
#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt {
namespace {

using testing_support::EngineTest;
using testing_support::PixelsOf;
using testing_support::RegisterBitmap;
using testing_support::RegisteredImageCount;
using testing_support::SetPixels;

using ImageCreatorTest = EngineTest;

TEST_F(ImageCreatorTest, BorrowedBufferStaysTheCallers) {
    std::vector<uint32_t> pixels{0xFF010203, 0xFF040506, 0xFF070809, 0xFF0A0B0C};
    int32_t id = 0;
    ASSERT_EQ(ImageFromBuffer(2, 2, 8, gdiplus::PixelFormat32bppARGB, reinterpret_cast<uint8_t*>(pixels.data()), id),
              OK);
    EXPECT_EQ(ImageKindOf(id), ImageKindBorrowedBuffer);
    EXPECT_FALSE(FindImageEntry(id)->BufferOwned);
    EXPECT_EQ(PixelsOf(id), pixels);
    ASSERT_EQ(ReleaseImage(id), OK);
    EXPECT_EQ(pixels[3], 0xFF0A0B0Cu);  // still ours, untouched
}

TEST_F(ImageCreatorTest, OwnedBufferBelongsToTheImage) {
    gdiplus::OwnedBuffer pixels = gdiplus::AllocBuffer(16);
    ASSERT_TRUE(pixels);
    const uint8_t* address = pixels.get();
    int32_t id = 0;
    ASSERT_EQ(ImageFromBuffer(2, 2, 8, gdiplus::PixelFormat32bppARGB, std::move(pixels), id), OK);
    EXPECT_EQ(ImageKindOf(id), ImageKindOwnedBuffer);
    EXPECT_TRUE(FindImageEntry(id)->BufferOwned);
    const void* scan0 = nullptr;
    ASSERT_EQ(ImageScan0(id, scan0), OK);
    EXPECT_EQ(scan0, address);
    // The release frees the block; the leak checker of the sanitizer build watches.
    EXPECT_EQ(ReleaseImage(id), OK);
}

TEST_F(ImageCreatorTest, RefusedOwnedBufferIsFreedAndNothingRegistered) {
    int32_t id = -1;
    EXPECT_EQ(ImageFromBuffer(2, 2, 6, gdiplus::PixelFormat32bppARGB, gdiplus::AllocBuffer(16), id), InvalidParameter);
    EXPECT_EQ(id, -1);
    EXPECT_EQ(RegisteredImageCount(), 0);
}

TEST_F(ImageCreatorTest, CloneImageAreaCopiesTheRectangle) {
    const int32_t source = RegisterBitmap(3, 2, gdiplus::PixelFormat32bppARGB);
    SetPixels(source, {1, 2, 3, 4, 5, 6});
    int32_t area = 0;
    ASSERT_EQ(CloneImageArea(1, 0, 2, 2, gdiplus::PixelFormat32bppARGB, source, area), OK);
    EXPECT_EQ(PixelsOf(area), (std::vector<uint32_t>{2, 3, 5, 6}));
    EXPECT_EQ(ImageKindOf(area), ImageKindMemory);
}

TEST_F(ImageCreatorTest, CloneImageAreaRefusalsRegisterNothing) {
    const int32_t source = RegisterBitmap(3, 2, gdiplus::PixelFormat24bppRGB);
    struct Case {
        int32_t x, y, width, height, sourceId;
    };
    for (const Case& c : {Case{0, 0, 1, 1, source + 1}, Case{0, 0, 0, 1, source}, Case{2, 0, 2, 1, source},
                          Case{-1, 0, 1, 1, source}}) {
        int32_t area = -1;
        EXPECT_EQ(CloneImageArea(c.x, c.y, c.width, c.height, 0, c.sourceId, area), InvalidParameter);
        EXPECT_EQ(area, -1);
    }
    EXPECT_EQ(RegisteredImageCount(), 1);
}

TEST_F(ImageCreatorTest, CloneImageCopiesPixelsAndItems) {
    const int32_t source = RegisterBitmap(2, 1, gdiplus::PixelFormat24bppRGB);
    SetPixels(source, {0xFF112233, 0xFF445566});
    ASSERT_EQ(SetPropertyItemAscii(source, 305, "Scanner", false), OK);
    int32_t clone = 0;
    ASSERT_EQ(CloneImage(clone, source), OK);
    EXPECT_NE(clone, source);
    EXPECT_EQ(PixelsOf(clone), PixelsOf(source));
    EXPECT_TRUE(PropertyItemById(clone, 305).has_value());
    EXPECT_EQ(FormatNameOf(clone), "Memory BMP");
    int32_t none = -1;
    EXPECT_EQ(CloneImage(none, source + 1), InvalidParameter);
    EXPECT_EQ(none, -1);
}

TEST_F(ImageCreatorTest, ThumbnailHasExactlyTheAskedSize) {
    const int32_t source = RegisterBitmap(40, 20, gdiplus::PixelFormat24bppRGB);
    int32_t thumbnail = 0;
    ASSERT_EQ(CreateImageThumbnail(source, 8, 6, thumbnail), OK);
    EXPECT_EQ(testing_support::SizeOf(thumbnail), std::make_pair(8, 6));
    EXPECT_EQ(ImageKindOf(thumbnail), ImageKindBorrowedBuffer);
    int32_t none = -1;
    EXPECT_EQ(CreateImageThumbnail(source, 0, 6, none), InvalidParameter);
    EXPECT_EQ(CreateImageThumbnail(source, -3, 6, none), InvalidParameter);
    EXPECT_EQ(none, -1);
}

TEST_F(ImageCreatorTest, EightBitImageFromRowsPaddedToFourBytes) {
    // Width 5: each row takes 8 bytes; values past the palette's two entries are black.
    const std::vector<uint8_t> bytes{0, 1, 2, 1, 0, 9, 9, 9,  //
                                     1, 1, 0, 0, 255, 9, 9, 9};
    gdiplus::ColorPalette palette;
    palette.Count = 2;
    palette.Entries[0] = 0x80FF0000;  // alpha is not kept: the colours are opaque
    palette.Entries[1] = 0xFF00FF00;
    int32_t id = 0;
    ASSERT_EQ(Image8bppFromBits(id, 2, 5, bytes, palette), OK);
    EXPECT_EQ(PixelFormatOf(id), gdiplus::PixelFormat8bppIndexed);
    constexpr uint32_t r = 0xFFFF0000, g = 0xFF00FF00, k = 0xFF000000;
    EXPECT_EQ(PixelsOf(id), (std::vector<uint32_t>{r, g, k, g, r, g, g, r, r, k}));
}

TEST_F(ImageCreatorTest, EightBitImageRefusesTooFewBytes) {
    const std::vector<uint8_t> bytes(15);  // two rows of width 5 need 16
    int32_t id = -1;
    EXPECT_EQ(Image8bppFromBits(id, 2, 5, bytes, gdiplus::ColorPalette{}), InvalidParameter);
    EXPECT_EQ(Image8bppFromBits(id, 0, 5, bytes, gdiplus::ColorPalette{}), InvalidParameter);
    EXPECT_EQ(id, -1);
    EXPECT_EQ(RegisteredImageCount(), 0);
}

TEST_F(ImageCreatorTest, AdoptNativeImage) {
    int32_t id = -1;
    EXPECT_EQ(AdoptNativeImage(id, nullptr), InvalidParameter);
    EXPECT_EQ(id, -1);
    std::unique_ptr<gdiplus::Bitmap> bitmap;
    ASSERT_EQ(gdiplus::Bitmap::Create(3, 3, gdiplus::PixelFormat32bppARGB, bitmap), gdiplus::Ok);
    const gdiplus::Image* native = bitmap.get();
    ASSERT_EQ(AdoptNativeImage(id, std::move(bitmap)), OK);
    EXPECT_EQ(NativeImageOf(id), native);
    EXPECT_EQ(ImageKindOf(id), ImageKindMemory);
    EXPECT_EQ(FormatNameOf(id), "Memory BMP");
}

}  // namespace
}  // namespace scanvelt
