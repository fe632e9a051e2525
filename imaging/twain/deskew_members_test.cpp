// Deskew, border cropping and cropping of the control's current image,
// measured again by the engine's own skew finder and held against the
// engine's own area copies.
#include "imaging/twain/deskew_members.h"

#include <gtest/gtest.h>

#include "imaging/engine/auto_deskew.h"
#include "imaging/engine/graphics_on_image.h"
#include "imaging/engine/graphics_wrappers.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/twain/pixel_conversion_members.h"
#include "imaging/twain/testing/scanned_page.h"
#include "imaging/twain/twain_control.h"

namespace scanvelt {
namespace {

using namespace testing_support;

double SkewOf(int32_t id) {
    cAutoDeskew finder;
    finder.MaxAngleOfResearch = 20;
    finder.GetSkewAngle(id);
    return finder.SkewAngle;
}

int32_t DepthOf(int32_t id) {
    int32_t depth = 0;
    GetImageBitDepth(id, depth);
    return depth;
}

struct DeskewCase {
    double degrees;
    int32_t format;
    bool greyPalette;
};

class DeskewedPages : public ::testing::TestWithParam<DeskewCase> {
protected:
    TwainControl control;
};

TEST_P(DeskewedPages, AreStraightWithinAFifthOfADegreeAndKeepSizeDepthAndMetadata) {
    const DeskewCase c = GetParam();
    ScannedPage page;
    page.degrees = c.degrees;
    page.format = c.greyPalette ? gdiplus::PixelFormat24bppRGB : c.format;
    const int32_t id = MakeScannedPage(page);
    control.setCurrentImage(id);
    if (c.greyPalette) ASSERT_EQ(ConvertTo8BppGrayScale(control), OK);
    const int32_t depth = DepthOf(id);
    ASSERT_NEAR(SkewOf(id), c.degrees, 0.2);

    EXPECT_EQ(AutoDeskew(control), OK);
    EXPECT_EQ(control.currentImage(), id);
    EXPECT_NEAR(SkewOf(id), 0.0, 0.2);
    EXPECT_EQ(SizeOf(id), std::make_pair(page.width, page.height));
    EXPECT_EQ(DepthOf(id), depth);
    if (c.greyPalette) EXPECT_TRUE(IsGreyscalePalette(id));
    ExpectPageMetadata(id, 300, 300);
    // The corners the turn uncovered are white.
    for (auto [x, y] : {std::pair{0, 0}, {page.width - 1, 0}, {0, page.height - 1}, {page.width - 1, page.height - 1}}) {
        uint32_t colour = 0;
        ASSERT_EQ(GetImagePixel(id, x, y, colour), OK);
        EXPECT_EQ(colour | 0xFF000000u, 0xFFFFFFFFu) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, DeskewedPages,
                         ::testing::Values(DeskewCase{4.5, gdiplus::PixelFormat24bppRGB, false},
                                           DeskewCase{-3.0, gdiplus::PixelFormat24bppRGB, false},
                                           DeskewCase{4.5, gdiplus::PixelFormat1bppIndexed, false},
                                           DeskewCase{2.0, gdiplus::PixelFormat8bppIndexed, true},
                                           DeskewCase{-6.0, gdiplus::PixelFormat32bppARGB, false}));

TEST(AutoDeskew, AStraightPageIsNotTouched) {
    TwainControl control;
    ScannedPage page;
    page.degrees = 0;
    const int32_t id = MakeScannedPage(page);
    control.setCurrentImage(id);
    const std::vector<uint32_t> before = PixelsOf(id);
    control.setLastStatus(Aborted);
    EXPECT_EQ(AutoDeskew(control), Aborted);  // the last status as it was
    EXPECT_EQ(PixelsOf(id), before);
    EXPECT_EQ(MeasureSkewAngle(control), 0.0);
}

// The engine's own turn of an image, drawn the way RotateByAngle is specified.
std::vector<uint32_t> EngineTurn(int32_t source, float angle, uint32_t background) {
    auto [width, height] = SizeOf(source);
    int32_t canvas = RegisterBitmap(width, height, PixelFormatOf(source));
    gdiplus::GpGraphics graphics{};
    EXPECT_EQ(GetImageGraphics(canvas, graphics, 0), OK);
    ClearGpGraphics(graphics, background);
    RotateGpWorldTransform(graphics, angle, 0);
    gdiplus::PointF corner{static_cast<float>(width), static_cast<float>(height)};
    TransformGpPoints(graphics, 0, 2, &corner, 1);
    EXPECT_EQ(DrawGpImageRect(graphics, source, static_cast<int32_t>(std::nearbyint(corner.X / 2.0 - width / 2.0)),
                              static_cast<int32_t>(std::nearbyint(corner.Y / 2.0 - height / 2.0)), width, height),
              OK);
    DeleteGpGraphics(graphics);
    std::vector<uint32_t> pixels = PixelsOf(canvas);
    ReleaseImage(canvas);
    return pixels;
}

TEST(RotateByAngle, TurnsAboutTheCentreAsTheEngineDrawsItWithTheBackgroundInTheCorners) {
    const struct {
        float angle;
        int32_t background;
        uint32_t argb;
    } cases[] = {{-4.5f, static_cast<int32_t>(0xFFFFFFFF), 0xFFFFFFFF},
                 {30.0f, 255, 0xFFFF0000},  // Windows RGB red: opaque
                 {90.0f, static_cast<int32_t>(0xFF00FF00), 0xFF00FF00}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.angle);
        TwainControl control;
        const int32_t id = MakePage(60, 40);
        const int32_t copy = MakePage(60, 40);
        const std::vector<uint32_t> expected = EngineTurn(copy, c.angle, c.argb);
        control.setCurrentImage(id);
        EXPECT_EQ(RotateByAngle(control, c.angle, c.background), OK);
        EXPECT_EQ(control.currentImage(), id);
        EXPECT_EQ(PixelsOf(id), expected);
        ExpectPageMetadata(id);
        uint32_t corner = 0;
        GetImagePixel(id, 0, 0, corner);
        EXPECT_EQ(corner, c.argb);
    }
}

TEST(CropMembers, KeepTheRectangleTheEngineCopiesAndTheImagesIdAndMetadata) {
    const struct {
        const char* name;
        MorvalenStatus (*crop)(TwainControl&);
        int32_t left, top, width, height;
    } cases[] = {
        {"Crop", [](TwainControl& c) { return Crop(c, 3, 4, 20, 10); }, 3, 4, 20, 10},
        {"CropTop", [](TwainControl& c) { return CropTop(c, 5); }, 0, 5, 30, 15},
        {"CropBottom", [](TwainControl& c) { return CropBottom(c, 5); }, 0, 0, 30, 15},
        {"CropLeft", [](TwainControl& c) { return CropLeft(c, 7); }, 7, 0, 23, 20},
        {"CropRight", [](TwainControl& c) { return CropRight(c, 7); }, 0, 0, 23, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TwainControl control;
        const int32_t id = MakePage(30, 20);
        int32_t expected = 0;
        ASSERT_EQ(CloneImageArea(c.left, c.top, c.width, c.height, 0, id, expected), OK);
        control.setCurrentImage(id);
        EXPECT_EQ(c.crop(control), OK);
        EXPECT_EQ(control.GetStat(), OK);
        EXPECT_EQ(control.currentImage(), id);
        EXPECT_EQ(PixelsOf(id), PixelsOf(expected));
        ExpectPageMetadata(id);
    }
}

TEST(CropMembers, ARectangleOutsideTheImageFailsAndLeavesItAsItWas) {
    TwainControl control;
    const int32_t id = MakePage(30, 20);
    const std::vector<uint32_t> before = PixelsOf(id);
    control.setCurrentImage(id);
    const int32_t images = RegisteredImageCount();
    EXPECT_EQ(Crop(control, 25, 0, 10, 10), InvalidParameter);
    EXPECT_EQ(CropTop(control, 20), InvalidParameter);
    EXPECT_EQ(CropLeft(control, -3), InvalidParameter);
    EXPECT_EQ(control.GetStat(), InvalidParameter);
    EXPECT_EQ(PixelsOf(id), before);
    EXPECT_EQ(RegisteredImageCount(), images);
}

// A grey page with pixels set where `white` says.
int32_t GreyPage(int32_t width, int32_t height, bool (*white)(int32_t x, int32_t y)) {
    const int32_t id = RegisterBitmap(width, height, gdiplus::PixelFormat24bppRGB);
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) pixels.push_back(white(x, y) ? 0xFFFFFFFF : 0xFF808080);
    SetPixels(id, pixels);
    return id;
}

TEST(CropBorders, BandsAreFoundBehindTheSkippedLinesOnlyWhenTheFirstLineBehindThemMatches) {
    const struct {
        const char* name;
        bool (*white)(int32_t, int32_t);
        int32_t confidence, skip;
        std::pair<int32_t, int32_t> size;
    } cases[] = {
        // A white band of 12 rows; row 13 holds one dark pixel in an otherwise white page.
        {"single pixel", [](int32_t x, int32_t y) { return !(y == 12 && x == 7); }, 100, 0, {1, 1}},
        // Three grey rows, then white rows 4-10, then grey.
        {"skipped", [](int32_t, int32_t y) { return y >= 3 && y < 10; }, 100, 3, {30, 30}},
        // Row 4 is grey: nothing is removed at the top.
        {"row 4 grey", [](int32_t, int32_t y) { return y >= 4 && y < 10; }, 100, 3, {30, 40}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TwainControl control;
        const int32_t id = GreyPage(30, 40, c.white);
        control.setCurrentImage(id);
        EXPECT_EQ(CropWhiteBorders(control, c.confidence, c.skip), OK);
        EXPECT_EQ(SizeOf(id), c.size);
        uint32_t colour = 0;
        GetImagePixel(id, 0, 0, colour);
        EXPECT_EQ(colour, 0xFF808080u);  // the first row kept is the first that is not white
    }
}

TEST(CropBorders, ASkipCountBelowZeroOrBeyondThePageNeverReadsOutsideIt) {
    // A white band of 5 rows on a grey page: a negative count skips nothing,
    // one beyond the page leaves no line to test.
    const struct {
        int32_t skip;
        std::pair<int32_t, int32_t> size;
    } cases[] = {{-1, {30, 35}}, {-5, {30, 35}}, {INT32_MIN, {30, 35}}, {INT32_MAX, {30, 40}}, {39, {30, 40}}};
    for (const auto& c : cases) {
        for (auto crop : {CropWhiteBorders, CropBlackBorders}) {
            SCOPED_TRACE(c.skip);
            TwainControl control;
            const int32_t id = GreyPage(30, 40, [](int32_t, int32_t y) { return y < 5; });
            control.setCurrentImage(id);
            EXPECT_EQ(crop(control, 100, c.skip), OK);
            EXPECT_EQ(SizeOf(id), crop == CropWhiteBorders ? c.size : std::make_pair(30, 40));
        }
    }
}

TEST(CropBorders, AnyConfidenceGivesATolerance) {
    // Not limited, and never an overflow: far above 100 nothing matches, far below everything does.
    for (const int32_t confidence : {INT32_MIN, -1, 101, INT32_MAX}) {
        TwainControl control;
        const int32_t id = GreyPage(30, 40, [](int32_t, int32_t y) { return y < 5; });
        control.setCurrentImage(id);
        EXPECT_EQ(CropWhiteBorders(control, confidence, 0), confidence > 100 ? OK : InvalidParameter) << confidence;
    }
}

TEST(CropMembers, ALineCountThatOverflowsTheSizeIsRefusedAndLeavesTheImage) {
    for (int32_t lines : {INT32_MIN, INT32_MIN + 1, INT32_MAX, -1}) {
        for (auto crop : {CropTop, CropBottom, CropLeft, CropRight}) {
            SCOPED_TRACE(lines);
            TwainControl control;
            const int32_t id = MakePage(30, 20);
            control.setCurrentImage(id);
            EXPECT_EQ(crop(control, lines), InvalidParameter);
            EXPECT_EQ(control.GetStat(), InvalidParameter);
            EXPECT_EQ(SizeOf(id), std::make_pair(30, 20));
        }
    }
}

TEST(CropBorders, AWhitePageGivesNoRectangleAndStaysAsItWas) {
    TwainControl control;
    const int32_t id = GreyPage(20, 20, [](int32_t, int32_t) { return true; });
    control.setCurrentImage(id);
    EXPECT_EQ(CropWhiteBorders(control), InvalidParameter);
    EXPECT_EQ(SizeOf(id), std::make_pair(20, 20));
    EXPECT_EQ(CropBordersEX(control, 100, 3), InvalidParameter);
    EXPECT_EQ(SizeOf(id), std::make_pair(20, 20));
}

TEST(CropBorders, TheBlackFrameOfAScannedPageIsCutAway) {
    for (int32_t border : {7, 30}) {
        TwainControl control;
        ScannedPage page;
        page.degrees = 0, page.border = border, page.width = 300, page.height = 400;
        const int32_t id = MakeScannedPage(page);
        control.setCurrentImage(id);
        EXPECT_EQ(CropBorders(control), OK);
        EXPECT_EQ(SizeOf(id), std::make_pair(300 - 2 * border, 400 - 2 * border));
        ExpectPageMetadata(id, 300, 300);
        const int32_t black = MakeScannedPage(page);
        control.setCurrentImage(black);
        EXPECT_EQ(CropBlackBorders(control, 100, 0), OK);
        EXPECT_EQ(PixelsOf(black), PixelsOf(id));
    }
}

TEST(CropBorders, OutOfRangeArgumentsTakeTheFallbacks) {
    const auto page = [](int32_t x, int32_t y) { return x < 3 || y < 5 || (x == 15 && y == 15); };
    TwainControl control;
    const int32_t fallback = GreyPage(30, 30, page), outOfRange = GreyPage(30, 30, page);
    control.setCurrentImage(fallback);
    EXPECT_EQ(CropBordersEX(control, 98, 1), OK);
    control.setCurrentImage(outOfRange);
    EXPECT_EQ(CropBordersEX(control, 150, 9), OK);
    EXPECT_EQ(SizeOf(outOfRange), std::make_pair(27, 25));
    EXPECT_EQ(PixelsOf(outOfRange), PixelsOf(fallback));
}

TEST(CropBorders, AOneBitPageIsComparedExactlyWhateverTheConfidence) {
    TwainControl control;
    // Entry 1 is a light grey that a colour page would take for white at 90 %.
    const int32_t oneBit = RegisterBitmap(20, 20, gdiplus::PixelFormat1bppIndexed);
    gdiplus::ColorPalette palette;
    palette.Count = 2;
    palette.Entries[0] = 0xFF000000;
    palette.Entries[1] = 0xFFF0F0F0;
    ASSERT_EQ(SetImagePaletteUnmarked(oneBit, palette), OK);
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 20; ++x) pixels.push_back(y < 4 || x == 10 ? 0xFFF0F0F0 : 0xFF000000);
    SetPixels(oneBit, pixels);
    control.setCurrentImage(oneBit);
    EXPECT_EQ(CropWhiteBorders(control, 90, 0), OK);
    EXPECT_EQ(SizeOf(oneBit), std::make_pair(20, 20));

    const int32_t colour = RegisterBitmap(20, 20, gdiplus::PixelFormat24bppRGB);
    SetPixels(colour, pixels);
    control.setCurrentImage(colour);
    EXPECT_EQ(CropWhiteBorders(control, 90, 0), OK);
    EXPECT_EQ(SizeOf(colour), std::make_pair(20, 16));
}

TEST(DeskewMembers, WithoutAnImageOrOnASmallOneNothingHappens) {
    TwainControl control;
    MorvalenStatus (*members[])(TwainControl&) = {
        AutoDeskew, CropBorders, [](TwainControl& c) { return CropWhiteBorders(c); },
        [](TwainControl& c) { return CropBlackBorders(c); }, [](TwainControl& c) { return CropBordersEX(c, 90); },
        [](TwainControl& c) { return Crop(c, 0, 0, 1, 1); }, [](TwainControl& c) { return CropTop(c, 1); },
        [](TwainControl& c) { return RotateByAngle(c, 5, -1); }};
    for (auto member : members) {
        control.setLastStatus(OK);
        EXPECT_EQ(member(control), GenericError);
        EXPECT_EQ(control.GetStat(), GenericError);
    }
    const int32_t small = GreyPage(9, 30, [](int32_t, int32_t y) { return y < 5; });
    control.setCurrentImage(small);
    EXPECT_EQ(CropWhiteBorders(control), OK);
    EXPECT_EQ(CropBorders(control), OK);
    EXPECT_EQ(SizeOf(small), std::make_pair(9, 30));
}

}  // namespace
}  // namespace scanvelt
