#include "imaging/twain/colour_members.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_palette.h"
#include "imaging/twain/testing/image_members_support.h"
#include "imaging/twain/twain_control.h"

namespace scanvelt {
namespace {

using namespace testing_support;

struct FilterCase {
    const char* name;
    std::function<MorvalenStatus(TwainControl&)> member;
    int32_t code;
    double amount;
    float hue, saturation, lightness;
};

const FilterCase kFilters[] = {
    {"SetBrightness", [](TwainControl& c) { return SetBrightness(c, 30); }, 14, 30, 0, 0.5f, 1},
    {"SetBrightness dark", [](TwainControl& c) { return SetBrightness(c, -60); }, 14, -60, 0, 0.5f, 1},
    {"SetContrast", [](TwainControl& c) { return SetContrast(c, 40); }, 17, 40, 0, 0.5f, 1},
    {"SetGammaCorrection", [](TwainControl& c) { return SetGammaCorrection(c, 50); }, 31, 150, 0, 0.5f, 1},
    {"SetSaturation", [](TwainControl& c) { return SetSaturation(c, -70); }, 30, -70, 0, 0.5f, 1},
    {"FxSepia", [](TwainControl& c) { return FxSepia(c); }, 34, 0, 0.5f, 0.25f, 1},
    {"FxStretchContrast", [](TwainControl& c) { return FxStretchContrast(c); }, 28, 0, 0, 0.5f, 1},
    {"FxNegative", [](TwainControl& c) { return FxNegative(c); }, 2, 0, 0, 0.5f, 1},
    {"FxSoften", [](TwainControl& c) { return FxSoften(c, 3); }, 33, 3, 0, 0.5f, 1},
    {"FxSoften below 1", [](TwainControl& c) { return FxSoften(c, 0); }, 33, 1, 0, 0.5f, 1},
    {"FxSoften above 100", [](TwainControl& c) { return FxSoften(c, 500); }, 33, 100, 0, 0.5f, 1},
    {"FxDespeckle", [](TwainControl& c) { return FxDespeckle(c); }, 61, 0, 0, 0.5f, 1},
    {"FxSmooth", [](TwainControl& c) { return FxSmooth(c); }, 5, 0, 0, 0.5f, 1},
};

// The member's result is the dispatcher's own result for the code and
// arguments, on the whole image in mode 1 and on the rectangle in mode 2.
TEST(ColourMembers, EachFilterIsTheDispatchersResultOnTheRegion) {
    const RoiRect rectangle{5, 4, 20, 9};
    for (bool userRectangle : {false, true}) {
        for (const auto& c : kFilters) {
            SCOPED_TRACE(std::string(c.name) + (userRectangle ? " on a rectangle" : " on the whole image"));
            TwainControl control;
            const int32_t page = MakePage(40, 30);
            int32_t expected = 0;
            ASSERT_EQ(CloneImage(expected, page), OK);
            const auto before = PixelsOf(page);
            control.setCurrentImage(page);
            // A stale rectangle is ignored in mode 1.
            control.SetROI(rectangle.Left, rectangle.Top, rectangle.Width, rectangle.Height);
            if (!userRectangle) control.ResetROI();

            ASSERT_EQ(c.member(control), OK);
            EXPECT_EQ(control.GetStat(), OK);
            double unused = 0;
            const RoiRect region = userRectangle ? rectangle : RoiRect{0, 0, 40, 30};
            ASSERT_EQ(ApplyFilter(c.code, expected, c.amount, region, c.hue, c.saturation, c.lightness, 0, 0, 0, unused),
                      OK);
            const auto after = PixelsOf(page);
            EXPECT_EQ(after, PixelsOf(expected));
            EXPECT_NE(after, before);
            if (userRectangle) {
                for (int32_t y = 0; y < 30; ++y)
                    for (int32_t x = 0; x < 40; ++x) {
                        const bool inside = x >= 5 && x < 25 && y >= 4 && y < 13;
                        if (!inside) ASSERT_EQ(after[y * 40 + x], before[y * 40 + x]) << x << "," << y;
                    }
            }
            ExpectPageMetadata(page);
            EXPECT_EQ(control.currentImage(), page);
        }
    }
}

TEST(ColourMembers, NeutralArgumentsLeaveThePixels) {
    const std::function<MorvalenStatus(TwainControl&)> neutral[] = {
        [](TwainControl& c) { return SetBrightness(c, 0); },
        [](TwainControl& c) { return SetContrast(c, 0); },
        [](TwainControl& c) { return SetGammaCorrection(c, 0); },
        [](TwainControl& c) { return SetSaturation(c, 0); },
    };
    for (const auto& member : neutral) {
        TwainControl control;
        control.setCurrentImage(MakePage(16, 16));
        const auto before = PixelsOf(control.currentImage());
        ASSERT_EQ(member(control), OK);
        EXPECT_EQ(PixelsOf(control.currentImage()), before);
    }
}

TEST(ColourMembers, NegativeTwiceRestoresEveryPixel) {
    for (int32_t format : {gdiplus::PixelFormat24bppRGB, gdiplus::PixelFormat32bppARGB, gdiplus::PixelFormat1bppIndexed}) {
        TwainControl control;
        control.setCurrentImage(MakePage(33, 17, format));
        const auto before = PixelsOf(control.currentImage());
        ASSERT_EQ(FxNegative(control), OK);
        EXPECT_NE(PixelsOf(control.currentImage()), before);
        ASSERT_EQ(FxNegative(control), OK);
        EXPECT_EQ(PixelsOf(control.currentImage()), before);
    }
}

TEST(ColourMembers, FiltersWithoutAnImageFailWithGenericError) {
    for (const auto& c : kFilters) {
        TwainControl control;
        EXPECT_EQ(c.member(control), GenericError) << c.name;
        EXPECT_EQ(control.GetStat(), GenericError) << c.name;
    }
}

TEST(ColourMembers, NegativeOfAColourPaletteChangesTheWholeImage) {
    TwainControl control;
    const int32_t page = MakePage(8, 8, gdiplus::PixelFormat8bppIndexed);
    gdiplus::ColorPalette before;
    ASSERT_EQ(GetImagePalette(page, before), OK);
    control.setCurrentImage(page);
    control.SetROI(0, 0, 2, 2);
    ASSERT_EQ(FxNegative(control), OK);
    gdiplus::ColorPalette after;
    ASSERT_EQ(GetImagePalette(page, after), OK);
    ASSERT_EQ(after.Count, before.Count);
    for (uint32_t i = 0; i < before.Count; ++i) EXPECT_EQ(after.Entries[i] & 0xFFFFFF, ~before.Entries[i] & 0xFFFFFF) << i;
}

TEST(ColourMembers, PaletteOfAnIndexedImageIsReadAndReplaced) {
    TwainControl control;
    const int32_t page = MakePage(8, 8, gdiplus::PixelFormat4bppIndexed);
    control.setCurrentImage(page);
    std::vector<int32_t> colours;
    int32_t count = -1;
    ASSERT_EQ(ColorPaletteGet(control, colours, count), OK);
    EXPECT_EQ(count, 16);
    EXPECT_EQ(ColorPaletteGetColorsCount(control), 16);
    gdiplus::ColorPalette engine;
    ASSERT_EQ(GetImagePalette(page, engine), OK);
    ASSERT_EQ(colours.size(), 16u);
    for (size_t i = 0; i < 16; ++i) EXPECT_EQ(static_cast<uint32_t>(colours[i]), engine.Entries[i]);

    struct SetCase {
        std::vector<int32_t> colours;
        uint32_t flags;
    };
    const SetCase cases[] = {
        {{argb(255, 1, 2, 3), argb(255, 200, 100, 0), argb(255, 9, 9, 9)}, gdiplus::PaletteFlagsHalftone},
        {{argb(255, 1, 2, 3), argb(254, 200, 100, 0)}, gdiplus::PaletteFlagsHasAlpha},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(ColorPaletteSet(control, c.colours), OK);
        gdiplus::ColorPalette set;
        ASSERT_EQ(GetImagePalette(page, set), OK);
        EXPECT_EQ(set.Flags, c.flags);
        ASSERT_EQ(set.Count, c.colours.size());
        for (size_t i = 0; i < c.colours.size(); ++i) EXPECT_EQ(set.Entries[i], static_cast<uint32_t>(c.colours[i]));
    }
    // An empty array changes nothing.
    gdiplus::ColorPalette kept;
    ASSERT_EQ(GetImagePalette(page, kept), OK);
    EXPECT_EQ(ColorPaletteSet(control, {}), OK);
    gdiplus::ColorPalette still;
    ASSERT_EQ(GetImagePalette(page, still), OK);
    EXPECT_EQ(still, kept);
}

TEST(ColourMembers, PaletteSetReadsNoMoreThan256Colours) {
    TwainControl control;
    const int32_t page = MakePage(4, 4, gdiplus::PixelFormat8bppIndexed);
    control.setCurrentImage(page);
    std::vector<int32_t> many(300);
    for (size_t i = 0; i < many.size(); ++i) many[i] = argb(255, static_cast<int32_t>(i % 256), 0, 0);
    ASSERT_EQ(ColorPaletteSet(control, many), OK);
    EXPECT_EQ(ColorPaletteGetColorsCount(control), 256);
}

TEST(ColourMembers, PaletteMembersOnAnImageWithoutPalette) {
    for (bool withImage : {false, true}) {
        TwainControl control;
        if (withImage) control.setCurrentImage(MakePage(4, 4));
        std::vector<int32_t> colours = {7, 8};
        int32_t count = 5;
        EXPECT_EQ(ColorPaletteGet(control, colours, count), NotIndexedPixelFormat);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(colours, (std::vector<int32_t>{7, 8}));
        control.setLastStatus(OK);
        EXPECT_EQ(ColorPaletteGetColorsCount(control), 0);
        EXPECT_EQ(control.GetStat(), NotIndexedPixelFormat);
        EXPECT_EQ(ColorPaletteSet(control, colours), NotIndexedPixelFormat);
    }
}

TEST(ColourMembers, ColourValues) {
    const RgbParts rgb = ColorGetRGBFromRGBValue(0x00123456);
    EXPECT_EQ(rgb.red, 0x56);
    EXPECT_EQ(rgb.green, 0x34);
    EXPECT_EQ(rgb.blue, 0x12);
    const ArgbParts parts = ColorGetARGBFromARGBValue(static_cast<int32_t>(0x80FF1020u));
    EXPECT_EQ(parts.alpha, 0x80);
    EXPECT_EQ(parts.red, 0xFF);
    EXPECT_EQ(parts.green, 0x10);
    EXPECT_EQ(parts.blue, 0x20);

    struct ArgbCase {
        int32_t a, r, g, b;
        uint32_t expected;
    };
    const ArgbCase argbCases[] = {
        {300, -5, 128, 0, 0xFF008000u}, {0, 0, 0, 0, 0u}, {128, 255, 256, 1, 0x80FFFF01u}, {-1, 1, 2, 3, 0x00010203u}};
    for (const auto& c : argbCases) EXPECT_EQ(static_cast<uint32_t>(argb(c.a, c.r, c.g, c.b)), c.expected);

    struct RgbCase {
        int32_t r, g, b;
        int32_t expected;
    };
    const RgbCase rgbCases[] = {{255, 0, 0, 255}, {1, 2, 3, 0x030201}, {300, 256, 1000, 0xFFFFFF}, {-4, 10, 0, 0x0A00}};
    for (const auto& c : rgbCases) EXPECT_EQ(GetRGB(c.r, c.g, c.b), c.expected);
    EXPECT_THROW(GetRGB(40000, 0, 0), std::overflow_error);

    // None of them is a status.
    TwainControl control;
    control.setLastStatus(Aborted);
    argb(1, 2, 3, 4);
    EXPECT_EQ(control.GetStat(), Aborted);
}

}  // namespace
}  // namespace scanvelt
