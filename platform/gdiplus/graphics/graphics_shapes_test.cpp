#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "platform/gdiplus/graphics/graphics_test_support.h"

namespace gdiplus {
namespace {

using namespace testing_support;

class ShapesTest : public StartedTest {};

Rect InkBounds(const Bitmap& bitmap) { return InkOf(bitmap).bounds; }

TEST_F(ShapesTest, ClearFillsEveryPixelInTheTargetsFormat) {
    for (PixelFormat format : {PixelFormat32bppARGB, PixelFormat24bppRGB, PixelFormat8bppIndexed,
                               PixelFormat1bppIndexed, PixelFormat16bppRGB565}) {
        SCOPED_TRACE(::testing::Message() << std::hex << format);
        auto canvas = MakeBitmap(5, 3, format);
        ASSERT_EQ(GraphicsOn(*canvas)->Clear(kWhite), Ok);
        EXPECT_EQ(PixelsOf(*canvas), std::vector<ARGB>(15, kWhite));
        EXPECT_EQ(canvas->GetPixelFormat(), format);
    }
}

// Opaque colours in any 32-bit format and clear black where there is alpha
// are filled in without cairo: every pixel must read the colour whatever it held.
TEST_F(ShapesTest, ClearReplacesEveryPixelOfA32BitTarget) {
    struct Case {
        PixelFormat format;
        ARGB colour;
    };
    const Case cases[] = {{PixelFormat32bppRGB, 0xFF123456}, {PixelFormat32bppARGB, 0xFF123456},
                          {PixelFormat32bppPARGB, 0xFF123456}, {PixelFormat32bppARGB, 0},
                          {PixelFormat32bppPARGB, 0},          {PixelFormat32bppPARGB, 0x80402010}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.format << " " << c.colour);
        auto canvas = BitmapOf(5, 3, c.format, {kRed, 0x80FFFFFF, 0, kBlue, kGreen, kWhite, 0x01020304, kBlack, kRed,
                                                kRed, kRed, kRed, kRed, kRed, 0x7F000000});
        ASSERT_EQ(GraphicsOn(*canvas)->Clear(c.colour), Ok);
        EXPECT_EQ(PixelsOf(*canvas), std::vector<ARGB>(15, c.colour));
    }
}

TEST_F(ShapesTest, AliasedRectanglesAtWholeCoordinatesCoverExactlyTheirPixels) {
    for (PixelOffsetMode offset : {PixelOffsetModeDefault, PixelOffsetModeNone, PixelOffsetModeHalf}) {
        SCOPED_TRACE(offset);
        auto canvas = WhiteCanvas(8, 6);
        auto graphics = GraphicsOn(*canvas);
        ASSERT_EQ(graphics->SetPixelOffsetMode(offset), Ok);
        const RectF rects[] = {{1, 1, 2, 3}, {5, 0, 3, 1}};
        ASSERT_EQ(graphics->FillRectangles(SolidBrush(kRed), rects), Ok);
        for (std::int32_t y = 0; y < 6; ++y)
            for (std::int32_t x = 0; x < 8; ++x) {
                const bool inside = (x >= 1 && x < 3 && y >= 1 && y < 4) || (x >= 5 && y == 0);
                ARGB c = 0;
                canvas->GetPixel(x, y, c);
                EXPECT_EQ(c, inside ? kRed : kWhite) << x << "," << y;
            }
    }
}

TEST_F(ShapesTest, OnePixelRectangleOutlineCoversBothEdgesWhenCentresLieOnWholeCoordinates) {
    auto canvas = WhiteCanvas(8, 8);
    auto graphics = GraphicsOn(*canvas);
    std::unique_ptr<Pen> pen;
    ASSERT_EQ(Pen::Create(kBlack, 1, UnitPixel, pen), Ok);
    ASSERT_EQ(graphics->DrawRectangle(*pen, RectF{1, 2, 4, 3}), Ok);
    EXPECT_EQ(InkBounds(*canvas), (Rect{1, 2, 5, 4}));
    ARGB inside = 0;
    canvas->GetPixel(3, 3, inside);
    EXPECT_EQ(inside, kWhite);
}

TEST_F(ShapesTest, LinesOfPenWidthZeroAreOnePixelWide) {
    auto canvas = WhiteCanvas(8, 8);
    auto graphics = GraphicsOn(*canvas);
    ASSERT_EQ(graphics->SetPageUnit(UnitInch), Ok);
    std::unique_ptr<Pen> pen;
    ASSERT_EQ(Pen::Create(kBlack, 0, UnitWorld, pen), Ok);
    // 3/96 inch: pixel row 3 at 96 dpi.
    ASSERT_EQ(graphics->DrawLine(*pen, PointF{0, 3 / 96.0f}, PointF{8 / 96.0f, 3 / 96.0f}), Ok);
    EXPECT_EQ(InkBounds(*canvas), (Rect{0, 3, 8, 1}));
}

TEST_F(ShapesTest, AntialiasingShadesPartlyCoveredPixels) {
    for (SmoothingMode mode : {SmoothingModeNone, SmoothingModeAntiAlias}) {
        SCOPED_TRACE(mode);
        auto canvas = WhiteCanvas(4, 1);
        auto graphics = GraphicsOn(*canvas);
        ASSERT_EQ(graphics->SetSmoothingMode(mode), Ok);
        ASSERT_EQ(graphics->SetPixelOffsetMode(PixelOffsetModeHalf), Ok);
        const RectF half{0, 0, 1.5f, 1};
        ASSERT_EQ(graphics->FillRectangles(SolidBrush(kBlack), std::span(&half, 1)), Ok);
        ARGB partial = 0;
        canvas->GetPixel(1, 0, partial);
        if (mode == SmoothingModeAntiAlias) {
            EXPECT_NEAR(RedOf(partial), 128, 2);
        } else {
            EXPECT_TRUE(partial == kWhite || partial == kBlack);
        }
    }
}

TEST_F(ShapesTest, SourceCopyReplacesWhereSourceOverBlends) {
    const ARGB halfRed = 0x80FF0000;
    for (CompositingMode mode : {CompositingModeSourceOver, CompositingModeSourceCopy}) {
        SCOPED_TRACE(mode);
        auto canvas = WhiteCanvas(1, 1);
        auto graphics = GraphicsOn(*canvas);
        ASSERT_EQ(graphics->SetCompositingMode(mode), Ok);
        const RectF all{0, 0, 1, 1};
        ASSERT_EQ(graphics->FillRectangles(SolidBrush(halfRed), std::span(&all, 1)), Ok);
        ARGB c = 0;
        canvas->GetPixel(0, 0, c);
        if (mode == CompositingModeSourceCopy) {
            EXPECT_EQ(AlphaOf(c), 0x80);
            EXPECT_EQ(RedOf(c), 0xFF);
            EXPECT_EQ(GreenOf(c), 0);
        } else {
            EXPECT_EQ(AlphaOf(c), 0xFF);
            EXPECT_NEAR(GreenOf(c), 0x7F, 1);
        }
    }
}

TEST_F(ShapesTest, PageUnitsAndScaleTurnIntoDevicePixels) {
    struct Case {
        Unit unit;
        float scale;
        RectF rect;
    };
    // Each rectangle is 48 x 24 pixels at 96 dpi.
    const std::vector<Case> cases = {
        {UnitPixel, 1, {0, 0, 48, 24}},      {UnitDisplay, 1, {0, 0, 48, 24}},
        {UnitPixel, 2, {0, 0, 24, 12}},      {UnitInch, 1, {0, 0, 0.5f, 0.25f}},
        {UnitPoint, 1, {0, 0, 36, 18}},      {UnitDocument, 1, {0, 0, 150, 75}},
        {UnitMillimeter, 1, {0, 0, 12.7f, 6.35f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.unit << " scale " << c.scale);
        auto canvas = WhiteCanvas(64, 32);
        auto graphics = GraphicsOn(*canvas);
        ASSERT_EQ(graphics->SetPageUnit(c.unit), Ok);
        ASSERT_EQ(graphics->SetPageScale(c.scale), Ok);
        ASSERT_EQ(graphics->FillRectangles(SolidBrush(kBlack), std::span(&c.rect, 1)), Ok);
        EXPECT_EQ(InkBounds(*canvas), (Rect{0, 0, 48, 24}));
    }
}

TEST_F(ShapesTest, RotationTurnsClockwiseAndPointsConvertBothWays) {
    auto canvas = WhiteCanvas(4, 4);
    auto graphics = GraphicsOn(*canvas);
    ASSERT_EQ(graphics->SetPageUnit(UnitPixel), Ok);
    ASSERT_EQ(graphics->SetPageScale(2), Ok);
    ASSERT_EQ(graphics->RotateTransform(90, MatrixOrderAppend), Ok);
    PointF points[] = {{10, 0}};
    ASSERT_EQ(graphics->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, points), Ok);
    EXPECT_NEAR(points[0].X, 0, 1e-4);
    EXPECT_NEAR(points[0].Y, 20, 1e-4);
    ASSERT_EQ(graphics->TransformPoints(CoordinateSpaceWorld, CoordinateSpaceDevice, points), Ok);
    EXPECT_NEAR(points[0].X, 10, 1e-4);
    EXPECT_NEAR(points[0].Y, 0, 1e-4);
    PointF page[] = {{10, 0}};
    ASSERT_EQ(graphics->TransformPoints(CoordinateSpacePage, CoordinateSpaceWorld, page), Ok);
    EXPECT_NEAR(page[0].X, 0, 1e-4);
    EXPECT_NEAR(page[0].Y, 10, 1e-4);
}

TEST_F(ShapesTest, PrependedAndAppendedRotationsCompose) {
    auto canvas = WhiteCanvas(4, 4);
    auto graphics = GraphicsOn(*canvas);
    ASSERT_EQ(graphics->RotateTransform(30, MatrixOrderPrepend), Ok);
    ASSERT_EQ(graphics->RotateTransform(60, MatrixOrderAppend), Ok);
    PointF points[] = {{1, 0}};
    ASSERT_EQ(graphics->TransformPoints(CoordinateSpacePage, CoordinateSpaceWorld, points), Ok);
    EXPECT_NEAR(points[0].X, 0, 1e-5);
    EXPECT_NEAR(points[0].Y, 1, 1e-5);
}

TEST_F(ShapesTest, SettingsOutsideTheirEnumerationsAreRefused) {
    auto canvas = WhiteCanvas(1, 1);
    auto graphics = GraphicsOn(*canvas);
    EXPECT_EQ(graphics->SetSmoothingMode(static_cast<SmoothingMode>(6)), InvalidParameter);
    EXPECT_EQ(graphics->SetInterpolationMode(static_cast<InterpolationMode>(-1)), InvalidParameter);
    EXPECT_EQ(graphics->SetCompositingQuality(static_cast<CompositingQuality>(5)), InvalidParameter);
    EXPECT_EQ(graphics->SetCompositingMode(static_cast<CompositingMode>(2)), InvalidParameter);
    EXPECT_EQ(graphics->SetPixelOffsetMode(static_cast<PixelOffsetMode>(5)), InvalidParameter);
    EXPECT_EQ(graphics->SetTextRenderingHint(static_cast<TextRenderingHint>(6)), InvalidParameter);
    EXPECT_EQ(graphics->SetPageUnit(UnitWorld), InvalidParameter);
    EXPECT_EQ(graphics->SetPageScale(0), InvalidParameter);
    EXPECT_EQ(graphics->RotateTransform(1, static_cast<MatrixOrder>(2)), InvalidParameter);
    PointF point{};
    EXPECT_EQ(graphics->TransformPoints(static_cast<CoordinateSpace>(3), CoordinateSpaceWorld, std::span(&point, 1)),
              InvalidParameter);
    EXPECT_EQ(graphics->FillRectangles(SolidBrush(kRed), {}), InvalidParameter);
    // Refused values leave the settings as they were.
    EXPECT_EQ(graphics->GetSmoothingMode(), SmoothingModeNone);
    EXPECT_EQ(graphics->GetPageUnit(), UnitDisplay);
}

TEST_F(ShapesTest, TextureBrushesTileFromTheWorldOrigin) {
    struct Case {
        WrapMode mode;
        std::vector<ARGB> firstRow;
    };
    const std::vector<Case> cases = {
        {WrapModeTile, {kRed, kBlue, kRed, kBlue, kRed, kBlue}},
        {WrapModeTileFlipX, {kRed, kBlue, kBlue, kRed, kRed, kBlue}},
        {WrapModeClamp, {kRed, kBlue, kWhite, kWhite, kWhite, kWhite}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        auto tile = BitmapOf(2, 1, PixelFormat24bppRGB, {kRed, kBlue});
        std::unique_ptr<TextureBrush> brush;
        ASSERT_EQ(TextureBrush::Create(*tile, c.mode, brush), Ok);
        auto canvas = WhiteCanvas(6, 2);
        auto graphics = GraphicsOn(*canvas);
        const RectF all{0, 0, 6, 1};
        ASSERT_EQ(graphics->FillRectangles(*brush, std::span(&all, 1)), Ok);
        EXPECT_EQ(PixelsIn(*canvas, Rect{0, 0, 6, 1}), c.firstRow);
    }
    auto tile = BitmapOf(1, 1, PixelFormat24bppRGB, {kRed});
    std::unique_ptr<TextureBrush> brush;
    EXPECT_EQ(TextureBrush::Create(*tile, static_cast<WrapMode>(5), brush), InvalidParameter);
}

TEST_F(ShapesTest, AbsurdCoordinatesAreRefusedOrClippedNeverCrash) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    auto canvas = WhiteCanvas(4, 4);
    auto graphics = GraphicsOn(*canvas);
    std::unique_ptr<Pen> pen;
    ASSERT_EQ(Pen::Create(kBlack, 1, UnitPixel, pen), Ok);
    std::unique_ptr<FontFamily> family;
    ASSERT_EQ(FontFamily::FromName("Liberation Sans", family), Ok);
    std::unique_ptr<Font> font;
    ASSERT_EQ(Font::Create(*family, 12, FontStyleRegular, UnitPixel, font), Ok);
    std::unique_ptr<Font> huge;
    ASSERT_EQ(Font::Create(*family, 3e38f, FontStyleRegular, UnitPixel, huge), Ok);
    const RectF notANumber{nan, 0, 1, 1};
    EXPECT_EQ(graphics->FillRectangles(SolidBrush(kRed), std::span(&notANumber, 1)), InvalidParameter);
    EXPECT_EQ(graphics->DrawRectangle(*pen, RectF{0, 0, inf, 1}), InvalidParameter);
    EXPECT_EQ(graphics->DrawLine(*pen, PointF{0, nan}, PointF{1, 1}), InvalidParameter);
    EXPECT_EQ(graphics->DrawString(u"x", *font, RectF{0, 0, nan, 0}, nullptr, SolidBrush(kRed)), InvalidParameter);
    EXPECT_EQ(graphics->DrawImage(*canvas, RectF{0, 0, inf, 4}), InvalidParameter);
    EXPECT_EQ(PixelsOf(*canvas), std::vector<ARGB>(16, kWhite));

    // Far outside the target but within reach: drawn as far as it lands on it.
    const RectF wide{-1e6f, -1e6f, 2e6f, 2e6f};
    EXPECT_EQ(graphics->FillRectangles(SolidBrush(kRed), std::span(&wide, 1)), Ok);
    EXPECT_EQ(PixelsOf(*canvas), std::vector<ARGB>(16, kRed));
    EXPECT_EQ(graphics->DrawLine(*pen, PointF{-1e6f, 2}, PointF{1e6f, 2}), Ok);
    // Beyond what the device coordinates can hold: refused, never drawn wrongly.
    const RectF far{-1e38f, -1e38f, 3e38f, 3e38f};
    EXPECT_EQ(graphics->FillRectangles(SolidBrush(kRed), std::span(&far, 1)), ValueOverflow);
    EXPECT_EQ(graphics->DrawLine(*pen, PointF{-1e30f, 2}, PointF{1e30f, 2}), ValueOverflow);
    auto source = MakeBitmap(2, 2, PixelFormat24bppRGB);
    EXPECT_EQ(graphics->DrawImage(*source, RectF{1e30f, 1e30f, 1e30f, 1e30f}), ValueOverflow);
    EXPECT_EQ(graphics->DrawString(u"far", *font, RectF{1e30f, 0, 0, 0}, nullptr, SolidBrush(kRed)), ValueOverflow);
    const Status text = graphics->DrawString(u"big", *huge, RectF{}, nullptr, SolidBrush(kRed));
    EXPECT_TRUE(text == Ok || text == OutOfMemory) << text;
}

}  // namespace
}  // namespace gdiplus
