#include "imaging/engine/graphics_on_image.h"

#include <gtest/gtest.h>

#include "imaging/engine/graphics_wrappers.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/testing/graphics_test_support.h"
#include "platform/gdiplus/graphics/flat_api.h"
#include "platform/win/gdi_bitmap.h"

namespace scanvelt {
namespace {

using namespace testing_support;

using GraphicsOnImageTest = EngineTest;

TEST_F(GraphicsOnImageTest, AGraphicsDrawsIntoTheImageAndMarksIt) {
    const int32_t id = RegisterBitmap(3, 2, gdiplus::PixelFormat24bppRGB);
    ClearImageModified(id);
    gdiplus::GpGraphics graphics{};
    ASSERT_EQ(GetImageGraphics(id, graphics, 0), OK);
    EXPECT_TRUE(FindImageEntry(id)->IsModified);
    ASSERT_EQ(ClearGpGraphics(graphics, kRed), OK);
    EXPECT_EQ(PixelsOf(id), std::vector<uint32_t>(6, kRed));
    EXPECT_EQ(DeleteGpGraphics(graphics), OK);
    EXPECT_EQ(DeleteGpGraphics(graphics), InvalidParameter);
    EXPECT_EQ(ClearGpGraphics(graphics, kWhite), InvalidParameter);
}

TEST_F(GraphicsOnImageTest, UnregisteredImagesGetNoGraphics) {
    gdiplus::GpGraphics graphics{};
    EXPECT_EQ(GetImageGraphics(4711, graphics, 0), InvalidParameter);
    EXPECT_EQ(graphics, gdiplus::GpGraphics{});
    EXPECT_EQ(DeleteGpGraphics(gdiplus::GpGraphics{}), InvalidParameter);
}

TEST_F(GraphicsOnImageTest, AGraphicsRefusesToDrawOnceItsImageIsReleased) {
    const int32_t id = RegisterBitmap(2, 2, gdiplus::PixelFormat32bppARGB);
    gdiplus::GpGraphics graphics{};
    ASSERT_EQ(GetImageGraphics(id, graphics, 0), OK);
    ASSERT_EQ(ReleaseImage(id), OK);
    // A new image may take the slot; the graphics still does not reach it.
    const int32_t other = RegisterBitmap(2, 2, gdiplus::PixelFormat32bppARGB);
    EXPECT_EQ(ClearGpGraphics(graphics, kRed), InvalidParameter);
    EXPECT_EQ(PixelsOf(other), std::vector<uint32_t>(4, 0));
    EXPECT_EQ(DeleteGpGraphics(graphics), OK);
}

TEST_F(GraphicsOnImageTest, AGraphicsRefusesToDrawOnceItsBitmapIsReplaced) {
    const int32_t id = RegisterBitmap(2, 1, gdiplus::PixelFormat32bppARGB);
    gdiplus::GpGraphics graphics{};
    ASSERT_EQ(GetImageGraphics(id, graphics, 0), OK);
    const int32_t replacement = RegisterBitmap(2, 1, gdiplus::PixelFormat32bppARGB);
    ASSERT_EQ(ReplaceImageBitmap(id, replacement), id);
    EXPECT_EQ(ClearGpGraphics(graphics, kRed), InvalidParameter);
    EXPECT_EQ(PixelsOf(id), std::vector<uint32_t>(2, 0));
    EXPECT_EQ(DeleteGpGraphics(graphics), OK);
}

struct VersionCase {
    const char* version;
    int32_t formatPassed;
    int32_t formatAfter;
};

class GraphicsVersionSwitchTest : public testing::TestWithParam<VersionCase> {};

// An old GDI+ cannot draw on an indexed image: the image becomes 32-bit
// first, unless the caller claims a format that is not indexed.
TEST_P(GraphicsVersionSwitchTest, GraphicsOnAnEightBitImage) {
    const VersionCase c = GetParam();
    OnEngineWithGdiplusVersion(c.version, [c] {
        const int32_t id = RegisterBitmap(2, 1, gdiplus::PixelFormat8bppIndexed);
        gdiplus::GpGraphics graphics{};
        ASSERT_EQ(GetImageGraphics(id, graphics, c.formatPassed), OK);
        EXPECT_EQ(PixelFormatOf(id), c.formatAfter);
        ASSERT_EQ(ClearGpGraphics(graphics, kRed), OK);
        EXPECT_EQ(PixelsOf(id), std::vector<uint32_t>(2, kRed));
        EXPECT_EQ(DeleteGpGraphics(graphics), OK);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Versions, GraphicsVersionSwitchTest,
    testing::Values(VersionCase{"5.1.3102.5512", 0, gdiplus::PixelFormat32bppARGB},
                    VersionCase{"5.1.3102.5512", gdiplus::PixelFormat8bppIndexed, gdiplus::PixelFormat32bppARGB},
                    VersionCase{"5.1.3102.5512", gdiplus::PixelFormat32bppARGB, gdiplus::PixelFormat8bppIndexed},
                    VersionCase{"6.1.7601.0", 0, gdiplus::PixelFormat8bppIndexed}));

TEST_F(GraphicsOnImageTest, OneDeviceContextPerImageWritesBackWhenGivenBack) {
    const int32_t id = RegisterBitmap(2, 1, gdiplus::PixelFormat24bppRGB);
    SetPixels(id, {kRed, kWhite});
    win::HDC dc{};
    ASSERT_EQ(GetImageDC(id, dc), OK);
    win::HDC again{};
    ASSERT_EQ(GetImageDC(id, again), OK);
    EXPECT_EQ(again, dc);
    EXPECT_EQ(FindImageIndexByDC(dc), FindImageIndex(id));

    // A host draws through the context's bitmap.
    const auto bitmap = win::FindBitmap(win::SelectedBitmap(dc));
    ASSERT_TRUE(bitmap);
    auto* pixels = reinterpret_cast<uint32_t*>(bitmap->bits.data());
    EXPECT_EQ(pixels[0], kRed);
    pixels[1] = 0xFF0000FF;

    EXPECT_EQ(ReleaseImageDC(dc), OK);
    EXPECT_EQ(PixelsOf(id), (std::vector<uint32_t>{kRed, 0xFF0000FF}));
    EXPECT_EQ(FindImageEntry(id)->ImageDC, win::HDC{});
    EXPECT_EQ(ReleaseImageDC(dc), GenericError);
    EXPECT_EQ(ReleaseImageDC(win::HDC{}), GenericError);
}

TEST_F(GraphicsOnImageTest, DeviceContextsOfUnregisteredImagesAndReleasedImages) {
    win::HDC dc{};
    EXPECT_EQ(GetImageDC(4711, dc), GenericError);
    const int32_t id = RegisterBitmap(2, 1, gdiplus::PixelFormat24bppRGB);
    ASSERT_EQ(GetImageDC(id, dc), OK);
    // Releasing the image frees its context.
    ASSERT_EQ(ReleaseImage(id), OK);
    EXPECT_FALSE(win::FindBitmap(win::SelectedBitmap(dc)));
    EXPECT_EQ(ReleaseImageDC(dc), GenericError);
}

}  // namespace
}  // namespace scanvelt
