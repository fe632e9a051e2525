#include <gtest/gtest.h>

#include <functional>

#include "platform/gdiplus/graphics/flat_api.h"
#include "platform/gdiplus/graphics/graphics_test_support.h"

namespace gdiplus {
namespace {

using namespace testing_support;

class FlatApiTest : public StartedTest {};

TEST_F(FlatApiTest, DeletedAndNullGraphicsAreRefusedEverywhere) {
    auto canvas = MakeBitmap(4, 4, PixelFormat32bppARGB);
    auto source = MakeBitmap(2, 2, PixelFormat32bppARGB);
    GpGraphics deleted{};
    ASSERT_EQ(GdipGetImageGraphicsContext(canvas.get(), deleted), Ok);
    ASSERT_EQ(GdipDeleteGraphics(deleted), Ok);
    GpBrush brush{};
    ASSERT_EQ(GdipCreateSolidFill(kRed, brush), Ok);
    GpPen pen{};
    ASSERT_EQ(GdipCreatePen1(kRed, 1, UnitPixel, pen), Ok);

    const RectF rect{0, 0, 1, 1};
    PointF point{};
    win::HDC dc{};
    const std::vector<std::pair<const char*, std::function<Status(GpGraphics)>>> calls = {
        {"delete", [](GpGraphics g) { return GdipDeleteGraphics(g); }},
        {"smoothing", [](GpGraphics g) { return GdipSetSmoothingMode(g, SmoothingModeNone); }},
        {"interpolation", [](GpGraphics g) { return GdipSetInterpolationMode(g, InterpolationModeBilinear); }},
        {"compositing", [](GpGraphics g) { return GdipSetCompositingQuality(g, CompositingQualityDefault); }},
        {"pixel offset", [](GpGraphics g) { return GdipSetPixelOffsetMode(g, PixelOffsetModeHalf); }},
        {"page unit", [](GpGraphics g) { return GdipSetPageUnit(g, UnitPixel); }},
        {"text hint", [](GpGraphics g) { return GdipSetTextRenderingHint(g, TextRenderingHintAntiAlias); }},
        {"rotate", [](GpGraphics g) { return GdipRotateWorldTransform(g, 10, MatrixOrderAppend); }},
        {"transform", [&](GpGraphics g) { return GdipTransformPoints(g, CoordinateSpaceWorld, CoordinateSpaceDevice, &point, 1); }},
        {"clear", [](GpGraphics g) { return GdipGraphicsClear(g, kRed); }},
        {"fill", [&](GpGraphics g) { return GdipFillRectangles(g, brush, &rect, 1); }},
        {"rectangle", [&](GpGraphics g) { return GdipDrawRectangle(g, pen, 0, 0, 1, 1); }},
        {"image", [&](GpGraphics g) { return GdipDrawImageRectI(g, source.get(), 0, 0, 2, 2); }},
        {"image rect", [&](GpGraphics g) {
             return GdipDrawImageRectRectI(g, source.get(), 0, 0, 2, 2, 0, 0, 2, 2, UnitPixel, GpImageAttributes{});
         }},
        {"get dc", [&](GpGraphics g) { return GdipGetDC(g, dc); }},
    };
    for (const auto& [name, call] : calls) {
        EXPECT_EQ(call(deleted), InvalidParameter) << name;
        EXPECT_EQ(call(GpGraphics{}), InvalidParameter) << name;
        // A live handle of another kind with the same serial is refused too.
        EXPECT_EQ(call(static_cast<GpGraphics>(static_cast<std::uint32_t>(brush))), InvalidParameter) << name;
    }
    EXPECT_EQ(GdipDeleteBrush(brush), Ok);
    EXPECT_EQ(GdipDeleteBrush(brush), InvalidParameter);
    EXPECT_EQ(GdipDeletePen(pen), Ok);
}

TEST(FlatApiStartupTest, ObjectsAreMadeOnlyWhileTheLayerIsStarted) {
    ASSERT_FALSE(IsStarted());
    GpBrush brush{};
    EXPECT_EQ(GdipCreateSolidFill(kRed, brush), GdiplusNotInitialized);
    GpStringFormat format{};
    EXPECT_EQ(GdipCreateStringFormat(0, 0, format), GdiplusNotInitialized);
    ScopedStartup startup;
    ASSERT_EQ(startup.status(), Ok);
    EXPECT_EQ(GdipCreateSolidFill(kRed, brush), Ok);
    EXPECT_EQ(GdipDeleteBrush(brush), Ok);
}

TEST_F(FlatApiTest, ImagesAreDrawnIntoTheDibSectionOfADeviceContext) {
    // A bottom-up 24-bit DIB section, as hosts make them.
    win::BitmapInfoHeader header;
    header.width = 4;
    header.height = 2;
    header.bitCount = 24;
    void* bits = nullptr;
    const win::HBITMAP section = win::CreateDIBSection(win::HDC{}, header, {}, &bits);
    ASSERT_NE(section, win::HBITMAP{});
    const win::HDC dc = win::CreateCompatibleDC(win::HDC{});
    const win::HBITMAP previous = win::SelectObject(dc, section);
    ASSERT_NE(previous, win::HBITMAP{});

    auto source = BitmapOf(2, 1, PixelFormat32bppARGB, {kRed, kBlue});
    GpGraphics graphics{};
    ASSERT_EQ(GdipCreateFromHDC(dc, graphics), Ok);
    ASSERT_EQ(GdipSetInterpolationMode(graphics, InterpolationModeNearestNeighbor), Ok);
    ASSERT_EQ(GdipDrawImageRectI(graphics, source.get(), 0, 0, 4, 2), Ok);
    ASSERT_EQ(GdipDeleteGraphics(graphics), Ok);

    // Memory rows are bottom-up, pixels blue, green, red.
    const auto* bytes = static_cast<const std::uint8_t*>(bits);
    const std::uint32_t stride = win::DibStride(4, 24);
    for (std::uint32_t row = 0; row < 2; ++row) {
        const std::uint8_t* p = bytes + row * stride;
        const std::vector<std::uint8_t> pixels(p, p + 12);
        EXPECT_EQ(pixels, (std::vector<std::uint8_t>{0, 0, 255, 0, 0, 255, 255, 0, 0, 255, 0, 0})) << row;
    }
    win::SelectObject(dc, previous);
    win::DeleteDC(dc);
    win::DeleteObject(section);
}

TEST_F(FlatApiTest, AnIndexedDibSectionIsDrawnThroughItsColourTable) {
    win::BitmapInfoHeader header;
    header.width = 2;
    header.height = -1;
    header.bitCount = 8;
    header.clrUsed = 2;
    const std::vector<std::uint32_t> colours = {0x000000, 0x00FF00};
    void* bits = nullptr;
    const win::HBITMAP section = win::CreateDIBSection(win::HDC{}, header, colours, &bits);
    const win::HDC dc = win::CreateCompatibleDC(win::HDC{});
    const win::HBITMAP previous = win::SelectObject(dc, section);
    GpGraphics graphics{};
    ASSERT_EQ(GdipCreateFromHDC(dc, graphics), Ok);
    ASSERT_EQ(GdipGraphicsClear(graphics, kGreen), Ok);
    ASSERT_EQ(GdipDeleteGraphics(graphics), Ok);
    const auto* bytes = static_cast<const std::uint8_t*>(bits);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 1);
    win::SelectObject(dc, previous);
    win::DeleteDC(dc);
    win::DeleteObject(section);
}

TEST_F(FlatApiTest, WindowsTheHostDidNotRegisterHaveNoSurfaceToDrawOn) {
    GpGraphics graphics{};
    EXPECT_EQ(GdipCreateFromHWND(0x1234, graphics), Win32Error);
    const win::HDC windowDc = win::GetDC(0x1234);
    EXPECT_EQ(GdipCreateFromHDC(windowDc, graphics), Win32Error);
    EXPECT_EQ(win::ReleaseDC(0x1234, windowDc), 1);
    EXPECT_EQ(GdipCreateFromHDC(win::HDC{}, graphics), InvalidParameter);
    EXPECT_EQ(GdipCreateFromHDC(windowDc, graphics), Win32Error);
    EXPECT_EQ(GdipCreateFromHDC(static_cast<win::HDC>(0x20000001), graphics), InvalidParameter);
}

TEST_F(FlatApiTest, AContextOutOfAnImageGraphicsHoldsTheImageAndWritesItBack) {
    auto image = BitmapOf(2, 1, PixelFormat24bppRGB, {kRed, kBlue});
    GpGraphics graphics{};
    ASSERT_EQ(GdipGetImageGraphicsContext(image.get(), graphics), Ok);
    win::HDC dc{};
    ASSERT_EQ(GdipGetDC(graphics, dc), Ok);
    ASSERT_NE(dc, win::HDC{});
    const auto section = win::FindBitmap(win::SelectedBitmap(dc));
    ASSERT_TRUE(section);
    EXPECT_EQ(section->width, 2);
    EXPECT_TRUE(section->topDown);
    auto* pixels = reinterpret_cast<std::uint32_t*>(section->bits.data());
    EXPECT_EQ(pixels[0], kRed);
    EXPECT_EQ(pixels[1], kBlue);

    // While the context is out the graphics is busy.
    win::HDC second{};
    EXPECT_EQ(GdipGetDC(graphics, second), ObjectBusy);
    EXPECT_EQ(GdipGraphicsClear(graphics, kWhite), ObjectBusy);
    EXPECT_EQ(GdipReleaseDC(graphics, win::HDC{}), InvalidParameter);

    pixels[1] = kGreen;
    ASSERT_EQ(GdipReleaseDC(graphics, dc), Ok);
    EXPECT_EQ(PixelsOf(*image), (std::vector<ARGB>{kRed, kGreen}));
    EXPECT_FALSE(win::FindBitmap(win::SelectedBitmap(dc)));
    EXPECT_EQ(GdipReleaseDC(graphics, dc), InvalidParameter);

    // Deleting the graphics frees a context still out, leaving the image as it was.
    ASSERT_EQ(GdipGetDC(graphics, dc), Ok);
    reinterpret_cast<std::uint32_t*>(win::FindBitmap(win::SelectedBitmap(dc))->bits.data())[0] = kGreen;
    EXPECT_EQ(GdipDeleteGraphics(graphics), Ok);
    EXPECT_FALSE(win::FindBitmap(win::SelectedBitmap(dc)));
    EXPECT_EQ(PixelsOf(*image), (std::vector<ARGB>{kRed, kGreen}));
}

TEST_F(FlatApiTest, TextLengthsCutTheText) {
    auto canvas = MakeBitmap(200, 50, PixelFormat32bppARGB);
    GpGraphics graphics{};
    ASSERT_EQ(GdipGetImageGraphicsContext(canvas.get(), graphics), Ok);
    GpFontFamily family{};
    ASSERT_EQ(GdipCreateFontFamilyFromName(u"Arial", 0, family), Ok);
    std::u16string name;
    ASSERT_EQ(GdipGetFamilyName(family, name), Ok);
    EXPECT_TRUE(name == u"Liberation Sans" || name == u"Arial");
    GpFont font{};
    ASSERT_EQ(GdipCreateFont(family, 12, FontStyleRegular, UnitPixel, font), Ok);
    const std::u16string text(u"abc\0def", 7);
    RectF whole, cut, upToNul;
    std::int32_t fitted = 0;
    ASSERT_EQ(GdipMeasureString(graphics, text, 7, font, RectF{}, GpStringFormat{}, whole, &fitted, nullptr), Ok);
    EXPECT_EQ(fitted, 7);
    ASSERT_EQ(GdipMeasureString(graphics, text, 2, font, RectF{}, GpStringFormat{}, cut, &fitted, nullptr), Ok);
    EXPECT_EQ(fitted, 2);
    ASSERT_EQ(GdipMeasureString(graphics, text, -1, font, RectF{}, GpStringFormat{}, upToNul, &fitted, nullptr), Ok);
    EXPECT_EQ(fitted, 3);
    EXPECT_LT(cut.Width, upToNul.Width);
    EXPECT_EQ(GdipMeasureString(graphics, text, 8, font, RectF{}, GpStringFormat{}, cut, &fitted, nullptr),
              InvalidParameter);
    EXPECT_EQ(GdipMeasureString(graphics, text, -2, font, RectF{}, GpStringFormat{}, cut, &fitted, nullptr),
              InvalidParameter);
    GpFontFamily missing{};
    EXPECT_EQ(GdipCreateFontFamilyFromName(u"No Such Family 4711", 0, missing), FontFamilyNotFound);
    EXPECT_EQ(GdipCreateFontFamilyFromName(u"Arial", 1, missing), InvalidParameter);
    EXPECT_EQ(GdipDeleteFont(font), Ok);
    EXPECT_EQ(GdipDeleteFontFamily(family), Ok);
    EXPECT_EQ(GdipDeleteGraphics(graphics), Ok);
}

TEST_F(FlatApiTest, StringFormatsAndAttributesCheckTheirValues) {
    GpStringFormat format{};
    ASSERT_EQ(GdipCreateStringFormat(0, 0, format), Ok);
    EXPECT_EQ(GdipSetStringFormatAlign(format, StringAlignmentFar), Ok);
    EXPECT_EQ(GdipSetStringFormatLineAlign(format, static_cast<StringAlignment>(3)), InvalidParameter);
    EXPECT_EQ(GdipSetStringFormatFlags(format, StringFormatFlagsNoWrap), Ok);
    EXPECT_EQ(GdipDeleteStringFormat(format), Ok);
    EXPECT_EQ(GdipSetStringFormatAlign(format, StringAlignmentNear), InvalidParameter);

    GpImageAttributes attributes{};
    ASSERT_EQ(GdipCreateImageAttributes(attributes), Ok);
    const ColorMap map{kRed, kBlue};
    EXPECT_EQ(GdipSetImageAttributesRemapTable(attributes, ColorAdjustTypeBitmap, true, 1, &map), Ok);
    EXPECT_EQ(GdipSetImageAttributesRemapTable(attributes, ColorAdjustTypeBitmap, true, 0, &map), InvalidParameter);
    EXPECT_EQ(GdipSetImageAttributesRemapTable(attributes, ColorAdjustTypeBitmap, false, 0, nullptr), Ok);
    EXPECT_EQ(GdipSetImageAttributesGamma(attributes, ColorAdjustTypeDefault, true, 0), InvalidParameter);
    EXPECT_EQ(GdipSetImageAttributesGamma(attributes, static_cast<ColorAdjustType>(5), true, 1), InvalidParameter);
    EXPECT_EQ(GdipDisposeImageAttributes(attributes), Ok);
    EXPECT_EQ(GdipDisposeImageAttributes(attributes), InvalidParameter);

    GpPen pen{};
    EXPECT_EQ(GdipCreatePen1(kRed, -1, UnitPixel, pen), InvalidParameter);
    GpBrush brush{};
    EXPECT_EQ(GdipCreateTexture(nullptr, WrapModeTile, brush), InvalidParameter);
}

TEST_F(FlatApiTest, ALineGradientRunsFromItsStartToItsEndColourAcrossTheRectangle) {
    struct Case {
        LinearGradientMode mode;
        // Pixels (x, y) expected nearest the start and the end colour.
        int startX, startY, endX, endY;
    };
    const Case cases[] = {{LinearGradientModeHorizontal, 0, 5, 99, 5},
                          {LinearGradientModeVertical, 50, 0, 50, 99},
                          {LinearGradientModeForwardDiagonal, 0, 0, 99, 99},
                          {LinearGradientModeBackwardDiagonal, 99, 0, 0, 99}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        auto canvas = MakeBitmap(100, 100, PixelFormat32bppARGB);
        GpGraphics graphics{};
        ASSERT_EQ(GdipGetImageGraphicsContext(canvas.get(), graphics), Ok);
        const RectF rect{0, 0, 100, 100};
        GpBrush brush{};
        ASSERT_EQ(GdipCreateLineBrushFromRect(&rect, kRed, kBlue, c.mode, WrapModeTile, brush), Ok);
        ASSERT_EQ(GdipFillRectangles(graphics, brush, &rect, 1), Ok);
        ARGB start = 0, end = 0;
        ASSERT_EQ(canvas->GetPixel(c.startX, c.startY, start), Ok);
        ASSERT_EQ(canvas->GetPixel(c.endX, c.endY, end), Ok);
        EXPECT_GT(RedOf(start), 240);
        EXPECT_LT(BlueOf(start), 15);
        EXPECT_GT(BlueOf(end), 240);
        EXPECT_LT(RedOf(end), 15);
        EXPECT_EQ(GdipDeleteBrush(brush), Ok);
        EXPECT_EQ(GdipDeleteGraphics(graphics), Ok);
    }
    GpBrush brush{};
    const RectF empty{0, 0, 0, 10}, rect{0, 0, 10, 10};
    EXPECT_EQ(GdipCreateLineBrushFromRect(&empty, kRed, kBlue, LinearGradientModeHorizontal, WrapModeTile, brush),
              InvalidParameter);
    EXPECT_EQ(GdipCreateLineBrushFromRect(&rect, kRed, kBlue, static_cast<LinearGradientMode>(4), WrapModeTile, brush),
              InvalidParameter);
    EXPECT_EQ(GdipCreateLineBrushFromRect(nullptr, kRed, kBlue, LinearGradientModeHorizontal, WrapModeTile, brush),
              InvalidParameter);
    EXPECT_EQ(brush, GpBrush{});
}

}  // namespace
}  // namespace gdiplus
