#include "imaging/engine/graphics_wrappers.h"

#include <gtest/gtest.h>

#include "imaging/engine/graphics_on_image.h"
#include "imaging/engine/testing/graphics_test_support.h"
#include "platform/win/gdi_bitmap.h"

namespace scanvelt {
namespace {

using namespace testing_support;

class GraphicsWrapperTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        canvas_ = RegisterBitmap(4, 2, gdiplus::PixelFormat32bppARGB);
        ASSERT_EQ(GetImageGraphics(canvas_, graphics_, 0), OK);
    }
    void TearDown() override {
        DeleteGpGraphics(graphics_);
        EngineTest::TearDown();
    }

    int32_t canvas_ = 0;
    gdiplus::GpGraphics graphics_{};
};

TEST_F(GraphicsWrapperTest, BrushesFillRectangles) {
    gdiplus::GpBrush solid{};
    ASSERT_EQ(CreateGpSolidBrush(kRed, solid), OK);
    const gdiplus::RectF left{0, 0, 2, 2};
    ASSERT_EQ(FillGpRectangles(graphics_, solid, &left, 1), OK);

    const int32_t tile = RegisterBitmap(1, 2, gdiplus::PixelFormat24bppRGB);
    SetPixels(tile, {kGreen, kBlue});
    gdiplus::GpBrush texture{};
    ASSERT_EQ(CreateGpTextureBrush(tile, 0, texture), OK);
    // The brush holds a copy: releasing the image does not affect it.
    ASSERT_EQ(ReleaseImage(tile), OK);
    const gdiplus::RectF right{2, 0, 2, 2};
    ASSERT_EQ(FillGpRectangles(graphics_, texture, &right, 1), OK);
    EXPECT_EQ(PixelsOf(canvas_), (std::vector<uint32_t>{kRed, kRed, kGreen, kGreen, kRed, kRed, kBlue, kBlue}));

    EXPECT_EQ(DeleteGpBrush(solid), OK);
    EXPECT_EQ(DeleteGpBrush(texture), OK);
    EXPECT_EQ(FillGpRectangles(graphics_, solid, &left, 1), InvalidParameter);
    EXPECT_EQ(FillGpRectangles(graphics_, solid, &left, 0), InvalidParameter);
    EXPECT_EQ(CreateGpTextureBrush(4711, 0, texture), InvalidParameter);
}

TEST_F(GraphicsWrapperTest, ImagesAreDrawnByTheirIds) {
    const int32_t source = RegisterBitmap(2, 1, gdiplus::PixelFormat24bppRGB);
    SetPixels(source, {kRed, kBlue});
    ASSERT_EQ(SetGpInterpolationMode(graphics_, 5), OK);
    ASSERT_EQ(DrawGpImageRect(graphics_, source, 0, 0, 4, 2), OK);
    EXPECT_EQ(PixelsOf(canvas_), (std::vector<uint32_t>{kRed, kRed, kBlue, kBlue, kRed, kRed, kBlue, kBlue}));
    EXPECT_EQ(DrawGpImageRect(graphics_, 4711, 0, 0, 4, 2), InvalidParameter);
    EXPECT_EQ(DrawGpImageRectRect(graphics_, 4711, 0, 0, 4, 2, 0, 0, 2, 1, 2, gdiplus::GpImageAttributes{}),
              InvalidParameter);
}

TEST_F(GraphicsWrapperTest, MaskColourRemapMakesPixelsTransparent) {
    // The viewer's mask colour: one entry from the colour to transparent black.
    const int32_t source = RegisterBitmap(2, 1, gdiplus::PixelFormat24bppRGB);
    SetPixels(source, {kRed, kBlue});
    gdiplus::GpImageAttributes attributes{};
    ASSERT_EQ(CreateGpImageAttributes(attributes), OK);
    const gdiplus::ColorMap mask{kRed, 0};
    ASSERT_EQ(SetGpAttributesRemapTable(attributes, 1, true, 1, &mask), OK);
    ASSERT_EQ(SetGpAttributesGamma(attributes, 0, true, 1.0f), OK);
    ASSERT_EQ(DrawGpImageRectRect(graphics_, source, 0, 0, 2, 1, 0, 0, 2, 1, 2, attributes), OK);
    const auto pixels = PixelsOf(canvas_);
    EXPECT_EQ(pixels[0], 0u);
    EXPECT_EQ(pixels[1], kBlue);
    EXPECT_EQ(DisposeGpImageAttributes(attributes), OK);
    EXPECT_EQ(DrawGpImageRectRect(graphics_, source, 0, 0, 2, 1, 0, 0, 2, 1, 2, attributes), InvalidParameter);
}

TEST_F(GraphicsWrapperTest, PensAndTransformsCheckTheirValues) {
    gdiplus::GpPen pen{};
    EXPECT_EQ(CreateGpPen(kRed, 1.0f, 2, pen), OK);
    EXPECT_EQ(DeleteGpPen(pen), OK);
    EXPECT_EQ(DeleteGpPen(pen), InvalidParameter);
    EXPECT_EQ(CreateGpPen(kRed, 1.0f, 9, pen), InvalidParameter);

    ASSERT_EQ(RotateGpWorldTransform(graphics_, 90, 1), OK);
    gdiplus::PointF point{0, 2};
    ASSERT_EQ(TransformGpPoints(graphics_, 0, 2, &point, 1), OK);
    EXPECT_NEAR(point.X, 2, 1e-5);
    EXPECT_NEAR(point.Y, 0, 1e-5);
    EXPECT_EQ(SetGpSmoothingMode(graphics_, 7), InvalidParameter);
    EXPECT_EQ(SetGpPixelOffsetMode(graphics_, 4), OK);
    EXPECT_EQ(SetGpCompositingQuality(graphics_, 3), OK);
}

TEST(GraphicsFromHdcTest, ContextsWithoutABitmapAreRefused) {
    OnEngineWithGdiplusVersion("6.1.0.0", [] {
        gdiplus::GpGraphics graphics{};
        const win::HDC window = win::GetDC(7);
        EXPECT_EQ(GpGraphicsFromHdc(window, graphics), Win32Error);
        win::ReleaseDC(7, window);
        const win::HDC memory = win::CreateCompatibleDC(win::HDC{});
        EXPECT_EQ(GpGraphicsFromHdc(memory, graphics), OK);
        EXPECT_EQ(DeleteGpGraphics(graphics), OK);
        win::DeleteDC(memory);
    });
}

}  // namespace
}  // namespace scanvelt
