#include "imaging/engine/filter_dispatch.h"

#include <gtest/gtest.h>

#include "imaging/engine/filter_negative.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt {
namespace {

using namespace testing_support;

constexpr int32_t kNoFilterCode = 71;

class FilterDispatchTest : public EngineTest {
protected:
    MorvalenStatus Apply(int32_t code, int32_t id, RoiRect roi) {
        return ApplyFilter(code, id, 0, roi, 0.0f, 0.5f, 1.0f, 0, 0, 0, testResult_);
    }
    double testResult_ = -1.0;
};

// A grey value as an opaque ARGB pixel.
uint32_t Grey(uint32_t v) { return 0xFF000000u | v << 16 | v << 8 | v; }

bool Inside(int32_t x, int32_t y, const RoiRect& r) {
    return x >= r.Left && x < r.Left + r.Width && y >= r.Top && y < r.Top + r.Height;
}

TEST_F(FilterDispatchTest, NegativeOfA32BitSubRectangleKeepsAlphaAndTheRest) {
    const int32_t id = RegisterBitmap(6, 5, gdiplus::PixelFormat32bppARGB);
    std::vector<uint32_t> before(30);
    for (uint32_t i = 0; i < 30; ++i) before[i] = (0x40u + i) << 24 | i * 0x010203u;
    SetPixels(id, before);
    const RoiRect roi{1, 2, 4, 2};
    ASSERT_EQ(Apply(kNegativeCode, id, roi), OK);
    const std::vector<uint32_t> after = PixelsOf(id);
    for (int32_t i = 0; i < 30; ++i) {
        const uint32_t want = Inside(i % 6, i / 6, roi) ? before[i] ^ 0x00FFFFFFu : before[i];
        EXPECT_EQ(after[i], want) << i;
    }
}

TEST_F(FilterDispatchTest, NegativeOfA1BitImageInvertsTheBitsOfTheRectangleOnly) {
    const int32_t id = RegisterBitmap(12, 3, gdiplus::PixelFormat1bppIndexed);
    const RoiRect roi{0, 1, 10, 1};
    ASSERT_EQ(Apply(kNegativeCode, id, roi), OK);
    const std::vector<uint32_t> after = PixelsOf(id);
    for (int32_t i = 0; i < 36; ++i) {
        EXPECT_EQ(after[i], Inside(i % 12, i / 12, roi) ? 0xFFFFFFFFu : 0xFF000000u) << i;
    }
    EXPECT_TRUE(FindImageEntry(id)->IsModified);
}

TEST_F(FilterDispatchTest, A1BitImageGoesThroughTheCopyAndThePackingForOtherCodes) {
    const int32_t id = RegisterBitmap(10, 2, gdiplus::PixelFormat1bppIndexed);
    std::vector<uint32_t> pattern(20);
    for (size_t i = 0; i < 20; ++i) pattern[i] = i % 3 == 0 ? 0xFFFFFFFFu : 0xFF000000u;
    SetPixels(id, pattern);
    ASSERT_EQ(Apply(kNoFilterCode, id, RoiRect{1, 0, 9, 2}), OK);
    EXPECT_EQ(PixelsOf(id), pattern);
}

TEST_F(FilterDispatchTest, A1BitImageWithWhiteFirstKeepsItsLookThroughThePacking) {
    const int32_t id = RegisterBitmap(9, 1, gdiplus::PixelFormat1bppIndexed);
    gdiplus::ColorPalette whiteFirst;
    whiteFirst.Count = 2;
    whiteFirst.Entries[0] = 0xFFFFFFFFu;
    whiteFirst.Entries[1] = 0xFF000000u;
    ASSERT_EQ(SetImagePalette(id, whiteFirst), OK);
    std::vector<uint32_t> pattern(9);
    for (size_t i = 0; i < 9; ++i) pattern[i] = i % 2 == 0 ? 0xFFFFFFFFu : 0xFF000000u;
    SetPixels(id, pattern);
    ASSERT_EQ(Apply(kNoFilterCode, id, RoiRect{0, 0, 9, 1}), OK);
    EXPECT_EQ(PixelsOf(id), pattern);
}

gdiplus::ColorPalette GreyRamp() {
    gdiplus::ColorPalette palette;
    palette.Count = 256;
    for (uint32_t i = 0; i < 256; ++i) palette.Entries[i] = Grey(i);
    return palette;
}

TEST_F(FilterDispatchTest, NegativeOfAGreyImageInvertsTheIndicesInsideTheRectangle) {
    const int32_t id = RegisterBitmap(5, 4, gdiplus::PixelFormat8bppIndexed);
    ASSERT_EQ(SetImagePalette(id, GreyRamp()), OK);
    std::vector<uint32_t> before(20);
    for (uint32_t i = 0; i < 20; ++i) before[i] = Grey(i * 10);
    SetPixels(id, before);
    const RoiRect roi{2, 1, 3, 2};
    ASSERT_EQ(Apply(kNegativeCode, id, roi), OK);
    const std::vector<uint32_t> after = PixelsOf(id);
    for (int32_t i = 0; i < 20; ++i) {
        EXPECT_EQ(after[i], Inside(i % 5, i / 5, roi) ? Grey(255 - i * 10) : before[i]) << i;
    }
    gdiplus::ColorPalette palette;
    ASSERT_EQ(GetImagePalette(id, palette), OK);
    EXPECT_EQ(palette, GreyRamp());
}

TEST_F(FilterDispatchTest, NegativeOfAColourPaletteImageChangesThePaletteOnly) {
    const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat8bppIndexed);
    gdiplus::ColorPalette before;
    ASSERT_EQ(GetImagePalette(id, before), OK);  // the halftone palette: colours
    const std::vector<uint32_t> pixelsBefore = PixelsOf(id);
    ASSERT_EQ(Apply(kNegativeCode, id, RoiRect{0, 0, 1, 1}), OK);
    gdiplus::ColorPalette after;
    ASSERT_EQ(GetImagePalette(id, after), OK);
    ASSERT_EQ(after.Count, before.Count);
    for (uint32_t i = 0; i < after.Count; ++i) EXPECT_EQ(after.Entries[i], before.Entries[i] ^ 0x00FFFFFFu) << i;
    // Every pixel, inside the rectangle or not, shows its entry's new colour.
    for (uint32_t pixel : PixelsOf(id)) EXPECT_EQ(pixel, pixelsBefore[0] ^ 0x00FFFFFFu);
}

TEST(FilterDispatchVersionTest, AnOlderGdiplusWritesTheNearestPaletteEntryLowestIndexFirst) {
    OnFreshThread([] {
        SetModuleVersionReader([](std::string_view) { return std::string("5.1.0.0"); });
        ASSERT_TRUE(StartImaging());
        const int32_t id = RegisterBitmap(3, 1, gdiplus::PixelFormat8bppIndexed);
        gdiplus::ColorPalette palette;
        palette.Count = 10;
        for (uint32_t i = 0; i < 10; ++i) palette.Entries[i] = 0xFF000000u | i * 0x111111u;
        palette.Entries[7] = palette.Entries[9] = 0xFF123456u;
        ASSERT_EQ(SetImagePalette(id, palette), OK);
        SetPixels(id, {0xFF123456u, 0xFF000000u, 0xFF101010u});
        double result = 0;
        ASSERT_EQ(ApplyFilter(kNoFilterCode, id, 0, RoiRect{0, 0, 3, 1}, 0, 0.5f, 1, 0, 0, 0, result), OK);
        gdiplus::BitmapData data;
        gdiplus::Bitmap* bitmap = NativeBitmapOf(id);
        ASSERT_EQ(bitmap->LockBits(gdiplus::Rect{0, 0, 3, 1}, gdiplus::ImageLockModeRead,
                                   gdiplus::PixelFormat8bppIndexed, data),
                  gdiplus::Ok);
        const auto* indices = static_cast<const uint8_t*>(data.Scan0);
        const uint8_t got[3] = {indices[0], indices[1], indices[2]};
        bitmap->UnlockBits(data);
        EXPECT_EQ(got[0], 7) << "equal to entries 7 and 9";
        EXPECT_EQ(got[1], 0);
        EXPECT_EQ(got[2], 1);
        StopImaging();
    });
}

TEST_F(FilterDispatchTest, AnEmptyRectangleDoesNothingAndTheBlankTestAnswersNo) {
    const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
    for (const RoiRect roi : {RoiRect{0, 0, 0, 4}, RoiRect{0, 0, 4, -1}}) {
        testResult_ = 5.0;
        EXPECT_EQ(Apply(kBlankTestCode, id, roi), OK);
        EXPECT_EQ(testResult_, 0.0);
        EXPECT_EQ(Apply(kNegativeCode, id, roi), OK);
    }
    EXPECT_FALSE(FindImageEntry(id)->IsModified);
}

TEST_F(FilterDispatchTest, TheBlankTestWritesNothingBack) {
    const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
    testResult_ = 5.0;
    EXPECT_EQ(Apply(kBlankTestCode, id, RoiRect{0, 0, 4, 4}), OK);
    EXPECT_EQ(testResult_, 0.0);
    EXPECT_FALSE(FindImageEntry(id)->IsModified);
}

TEST_F(FilterDispatchTest, ARectangleOutsideTheImageOrAnUnknownIdFailsTheLock) {
    const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
    const std::vector<uint32_t> before = PixelsOf(id);
    for (const auto& [image, roi] : {std::pair{id, RoiRect{2, 2, 3, 1}}, std::pair{id, RoiRect{-1, 0, 2, 2}},
                                     std::pair{424242, RoiRect{0, 0, 1, 1}}}) {
        testResult_ = 5.0;
        EXPECT_EQ(Apply(kBlankTestCode, image, roi), InvalidParameter);
        EXPECT_EQ(testResult_, 0.0);
        EXPECT_EQ(Apply(kNegativeCode, image, roi), InvalidParameter);
    }
    EXPECT_EQ(PixelsOf(id), before);
    EXPECT_FALSE(FindImageEntry(id)->IsModified);
}

TEST_F(FilterDispatchTest, ACodeWithoutAFilterWritesTheRectangleBackUnchanged) {
    const int32_t id = RegisterBitmap(3, 3, gdiplus::PixelFormat24bppRGB);
    std::vector<uint32_t> pixels(9);
    for (uint32_t i = 0; i < 9; ++i) pixels[i] = 0xFF000000u | i * 0x0F0E0Du;
    SetPixels(id, pixels);
    for (int32_t code : {0, kNoFilterCode}) {
        EXPECT_EQ(Apply(code, id, RoiRect{0, 0, 3, 3}), OK);
        EXPECT_EQ(PixelsOf(id), pixels);
    }
}

}  // namespace
}  // namespace scanvelt
