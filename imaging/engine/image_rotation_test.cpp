#include "imaging/engine/image_rotation.h"

#include <gtest/gtest.h>

#include <vector>

#include "imaging/engine/image_queries.h"
#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt {
namespace {

using testing_support::EngineTest;
using testing_support::PixelsOf;
using testing_support::RegisterBitmap;
using testing_support::RegisteredImageCount;
using testing_support::SetPixels;

constexpr uint32_t k = 0xFF000000;
constexpr uint32_t w = 0xFFFFFFFF;

using RotateFlipImageTest = EngineTest;

// 7 x 2 one-bit pixels: an odd width, so that the row padding takes part.
const std::vector<uint32_t> kPattern{k, w, w, k, w, k, k,  //
                                     w, w, k, k, k, w, k};

std::vector<uint32_t> HalfTurned(const std::vector<uint32_t>& pixels) { return {pixels.rbegin(), pixels.rend()}; }

TEST_F(RotateFlipImageTest, HalfTurnOfAOneBitImage) {
    const int32_t id = RegisterBitmap(7, 2, gdiplus::PixelFormat1bppIndexed);
    SetPixels(id, kPattern);
    ASSERT_EQ(RotateFlipImage(id, 2, false), OK);
    EXPECT_EQ(PixelsOf(id), HalfTurned(kPattern));
    EXPECT_TRUE(FindImageEntry(id)->IsModified);
    EXPECT_EQ(PixelFormatOf(id), gdiplus::PixelFormat1bppIndexed);

    ASSERT_EQ(RotateFlipImage(id, 1, true), OK);
    ASSERT_EQ(RotateFlipImage(id, 1, true), OK);
    EXPECT_EQ(PixelsOf(id), kPattern);
}

TEST_F(RotateFlipImageTest, TwentyFourBitImageStaysABufferOwningImageUnderItsId) {
    const int32_t id = RegisterBitmap(3, 1, gdiplus::PixelFormat24bppRGB);
    SetPixels(id, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000});
    ASSERT_EQ(RotateFlipImage(id, 1, false), OK);
    EXPECT_EQ(ImageKindOf(id), ImageKindOwnedBuffer);
    EXPECT_EQ(testing_support::SizeOf(id), std::make_pair(1, 3));
    EXPECT_EQ(PixelsOf(id), (std::vector<uint32_t>{0xFF0000FF, 0xFF00FF00, 0xFFFF0000}));
    EXPECT_EQ(RegisteredImageCount(), 1);
    EXPECT_TRUE(FindImageEntry(id)->IsModified) << "the private copy keeps the rotation's mark";

    FindImageEntry(id)->IsModified = false;
    ASSERT_EQ(RotateFlipImage(id, 3, true), OK);
    EXPECT_FALSE(FindImageEntry(id)->IsModified);
}

TEST_F(RotateFlipImageTest, OneBitImageOverForeignMemoryIsTurnedInAPrivateCopy) {
    const int32_t id = RegisterBitmap(7, 2, gdiplus::PixelFormat1bppIndexed);
    SetPixels(id, kPattern);
    FindImageEntry(id)->Kind = ImageKindHBitmap;
    ASSERT_EQ(RotateFlipImage(id, 6, true), OK);  // a flip keeps the shape: no copy needed
    EXPECT_EQ(ImageKindOf(id), ImageKindHBitmap);

    ASSERT_EQ(RotateFlipImage(id, 3, true), OK);
    // The private copy owned its buffer until the turn moved the pixels.
    EXPECT_EQ(ImageKindOf(id), ImageKindBorrowedBuffer);
    EXPECT_FALSE(FindImageEntry(id)->BufferOwned);
    EXPECT_EQ(RegisteredImageCount(), 1);
}

TEST_F(RotateFlipImageTest, Refusals) {
    const int32_t id = RegisterBitmap(2, 2, gdiplus::PixelFormat24bppRGB);
    EXPECT_EQ(RotateFlipImage(id + 1, 1, false), InvalidParameter);
    EXPECT_EQ(RotateFlipImage(id, 8, false), InvalidParameter);
    EXPECT_EQ(RotateFlipImage(id, -1, false), InvalidParameter);
    EXPECT_FALSE(FindImageEntry(id)->IsModified);
}

TEST_F(RotateFlipImageTest, SetImageKindFollowsTheCurrentPage) {
    const int32_t container = testing_support::RegisterEmpty();
    const int32_t page = RegisterBitmap(1, 1, gdiplus::PixelFormat24bppRGB);
    ImageEntry& entry = *FindImageEntry(container);
    entry.MultiPageTiff = true;
    entry.PageCount = 2;
    entry.PageImageIds = {0, page};
    entry.PageFiles = {"", ""};
    entry.CurrentPage = 1;
    SetImageKind(container, ImageKindBorrowedBuffer);
    EXPECT_EQ(FindImageEntry(page)->Kind, ImageKindBorrowedBuffer);
    EXPECT_EQ(FindImageEntry(container)->Kind, ImageKindMemory);
    FindImageEntry(container)->CurrentPage = 0;  // a page that is not loaded
    SetImageKind(container, ImageKindFile);
    EXPECT_EQ(FindImageEntry(page)->Kind, ImageKindBorrowedBuffer);
}

}  // namespace
}  // namespace scanvelt
