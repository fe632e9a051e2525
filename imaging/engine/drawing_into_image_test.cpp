#include "imaging/engine/drawing_into_image.h"

#include <gtest/gtest.h>

#include "imaging/engine/image_queries.h"
#include "imaging/engine/testing/graphics_test_support.h"

namespace scanvelt {
namespace {

using namespace testing_support;

using DrawImageIntoImageTest = EngineTest;

TEST_F(DrawImageIntoImageTest, NearestNeighbourDoublesEveryPixel) {
    const int32_t source = RegisterBitmap(2, 2, gdiplus::PixelFormat24bppRGB);
    SetPixels(source, {kRed, kGreen, kBlue, kWhite});
    const int32_t destination = RegisterBitmap(4, 4, gdiplus::PixelFormat32bppARGB);
    ClearImageModified(destination);
    ASSERT_EQ(DrawImageIntoImage(destination, source, 0, 0, 4, 4, 0, 0, 2, 2, 5), OK);
    EXPECT_EQ(PixelsOf(destination), (std::vector<uint32_t>{kRed, kRed, kGreen, kGreen,    //
                                                            kRed, kRed, kGreen, kGreen,    //
                                                            kBlue, kBlue, kWhite, kWhite,  //
                                                            kBlue, kBlue, kWhite, kWhite}));
    EXPECT_TRUE(FindImageEntry(destination)->IsModified);
}

TEST_F(DrawImageIntoImageTest, BilinearBlendsNeighbouringPixels) {
    const int32_t source = RegisterBitmap(2, 1, gdiplus::PixelFormat24bppRGB);
    SetPixels(source, {kBlack, kWhite});
    const int32_t destination = RegisterBitmap(8, 1, gdiplus::PixelFormat24bppRGB);
    ASSERT_EQ(DrawImageIntoImage(destination, source, 0, 0, 8, 1, 0, 0, 2, 1, 3), OK);
    const auto pixels = PixelsOf(destination);
    EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(), [](uint32_t c) {
        const uint32_t red = (c >> 16) & 0xFF;
        return red > 20 && red < 235;
    }));
}

TEST_F(DrawImageIntoImageTest, DestinationZeroAndUnregisteredImages) {
    const int32_t image = RegisterBitmap(2, 2, gdiplus::PixelFormat24bppRGB);
    EXPECT_EQ(DrawImageIntoImage(0, image, 0, 0, 2, 2, 0, 0, 2, 2, 5), GenericError);
    EXPECT_EQ(DrawImageIntoImage(4711, image, 0, 0, 2, 2, 0, 0, 2, 2, 5), InvalidParameter);
    EXPECT_EQ(DrawImageIntoImage(image, 4711, 0, 0, 2, 2, 0, 0, 2, 2, 5), InvalidParameter);
    // A source rectangle without area fails both attempts.
    EXPECT_EQ(DrawImageIntoImage(image, image, 0, 0, 2, 2, 0, 0, 0, 2, 5), InvalidParameter);
}

struct VersionCase {
    const char* version;
    int32_t formatAfter;
};

class DrawIntoEightBitTest : public testing::TestWithParam<VersionCase> {};

// Below version 6 the 8-bit destination becomes 32-bit ARGB; from version 6
// on it keeps its format and takes the nearest palette colours.
TEST_P(DrawIntoEightBitTest, DrawsIntoAnEightBitDestination) {
    const VersionCase c = GetParam();
    OnEngineWithGdiplusVersion(c.version, [c] {
        const int32_t source = RegisterBitmap(1, 1, gdiplus::PixelFormat24bppRGB);
        SetPixels(source, {kRed});
        const int32_t destination = RegisterBitmap(4, 2, gdiplus::PixelFormat8bppIndexed);
        ASSERT_EQ(DrawImageIntoImage(destination, source, 2, 0, 2, 2, 0, 0, 1, 1, 5), OK);
        EXPECT_EQ(PixelFormatOf(destination), c.formatAfter);
        EXPECT_EQ(PixelsOf(destination), (std::vector<uint32_t>{kBlack, kBlack, kRed, kRed,  //
                                                                kBlack, kBlack, kRed, kRed}));
    });
}

INSTANTIATE_TEST_SUITE_P(Versions, DrawIntoEightBitTest,
                         testing::Values(VersionCase{"5.1.3102.5512", gdiplus::PixelFormat32bppARGB},
                                         VersionCase{"6.1.7601.0", gdiplus::PixelFormat8bppIndexed}));

}  // namespace
}  // namespace scanvelt
