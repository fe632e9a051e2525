#include "imaging/engine/filters/point_filters.h"

#include <gtest/gtest.h>

#include <vector>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/filter_negative.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt::filters {
namespace {

uint32_t Rgb(int32_t r, int32_t g, int32_t b, uint32_t alpha = 0xFF) {
    return alpha << 24 | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b);
}
uint32_t Grey(int32_t v) { return Rgb(v, v, v); }

// A working copy of one row holding the pixels (Source the same).
FilterPixels Row(std::vector<uint32_t> pixels) {
    FilterPixels copy;
    copy.Width = static_cast<int32_t>(pixels.size());
    copy.Height = 1;
    copy.Pixels.assign(pixels.begin(), pixels.end());
    copy.Source.assign(pixels.begin(), pixels.end());
    return copy;
}

FilterArguments Amount(double amount) {
    FilterArguments arguments;
    arguments.amount = amount;
    return arguments;
}

using Filter = bool (*)(FilterPixels&, const FilterArguments&);

struct ChannelCase {
    const char* name;
    Filter filter;
    double amount;
    int32_t in;
    int32_t out;
};

class ChannelMapping : public ::testing::TestWithParam<ChannelCase> {};

// A grey pixel through the filter: every channel follows the same table.
TEST_P(ChannelMapping, MapsTheValue) {
    const ChannelCase& c = GetParam();
    FilterPixels pixels = Row({Rgb(c.in, c.in, c.in, 0x7F)});
    c.filter(pixels, Amount(c.amount));
    EXPECT_EQ(pixels.Pixels[0], Rgb(c.out, c.out, c.out, 0x7F));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ChannelMapping,
    ::testing::Values(
        // Brightness: halves to even, limited to 255, single-precision factor.
        ChannelCase{"BrightnessHalfUpToEven", &BrightnessFilter, 50, 1, 2},
        ChannelCase{"BrightnessHalfDownToEven", &BrightnessFilter, 50, 3, 4},
        ChannelCase{"BrightnessLimited", &BrightnessFilter, 50, 200, 255},
        ChannelCase{"BrightnessSingleFactorUp", &BrightnessFilter, 2, 25, 25},
        ChannelCase{"BrightnessSingleFactorDown", &BrightnessFilter, -95, 10, 1},
        ChannelCase{"BrightnessNone", &BrightnessFilter, 0, 77, 77},
        ChannelCase{"BrightnessBlack", &BrightnessFilter, -100, 250, 0},
        // Gamma: 255 x (v / 255)^(100 / p); p = 0 counts as 1.
        ChannelCase{"GammaZeroAt254", &GammaFilter, 0, 254, 172},
        ChannelCase{"GammaZeroAt250", &GammaFilter, 0, 250, 35},
        ChannelCase{"GammaZeroAt200", &GammaFilter, 0, 200, 0},
        ChannelCase{"Gamma200At64", &GammaFilter, 200, 64, 128},
        ChannelCase{"Gamma200At128", &GammaFilter, 200, 128, 181},
        ChannelCase{"Gamma100Unchanged", &GammaFilter, 100, 93, 93},
        ChannelCase{"GammaNegativeOnWhite", &GammaFilter, -50, 255, 255},
        // A grey pixel has nothing to saturate.
        ChannelCase{"SaturationOfGrey", &SaturationFilter, 80, 90, 90}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PointFilters, BrightnessOfAPaletteChangesBlueGreenAndRedOfItsEntries) {
    gdiplus::ColorPalette palette;
    palette.Count = 2;
    palette.Entries[0] = Rgb(1, 3, 200, 0x10);
    palette.Entries[1] = Rgb(9, 9, 9);
    palette.Entries[2] = Rgb(9, 9, 9);  // past Count: untouched
    BrightenPalette(palette, Amount(50));
    EXPECT_EQ(palette.Entries[0], Rgb(2, 4, 255, 0x10));
    EXPECT_EQ(palette.Entries[1], Rgb(14, 14, 14));
    EXPECT_EQ(palette.Entries[2], Rgb(9, 9, 9));
}

TEST(PointFilters, BrightnessWhosePercentageOverflowsFails) {
    FilterPixels pixels = Row({Grey(1)});
    EXPECT_THROW(BrightnessFilter(pixels, Amount(2147483547.0 + 1)), EngineFailure);
}

TEST(PointFilters, ContrastSpreadsAnOutOfRangeChannelOverTheOthers) {
    // Mean grey (170 + 30) / 2 = 100; p = 100 maps (250, 250, 10) to
    // (400, 400, -80), which the passes bring to (255, 255, 204).
    FilterPixels pixels = Row({Rgb(250, 250, 10), Grey(30)});
    ContrastFilter(pixels, Amount(100));
    EXPECT_EQ(pixels.Pixels[0], Rgb(255, 255, 204));
    EXPECT_EQ(pixels.Pixels[1], Grey(0));
}

TEST(PointFilters, ContrastTakesAllThreeAbove255ToWhiteInOneStep) {
    FilterPixels pixels = Row({Grey(200), Grey(0)});
    ContrastFilter(pixels, Amount(100));
    EXPECT_EQ(pixels.Pixels[0], Grey(255));
}

TEST(PointFilters, StretchContrastMapsEachChannelsRangeOntoTheFullRange) {
    // Red 50..150 (100 -> 127.5 -> 128), green constant 128 (kept), blue 0..255.
    FilterPixels pixels = Row({Rgb(50, 128, 0), Rgb(100, 128, 10), Rgb(150, 128, 255)});
    StretchContrastFilter(pixels, Amount(0));
    EXPECT_EQ(pixels.Pixels[0], Rgb(0, 128, 0));
    EXPECT_EQ(pixels.Pixels[1], Rgb(128, 128, 10));
    EXPECT_EQ(pixels.Pixels[2], Rgb(255, 128, 255));
}

TEST(PointFilters, SaturationMinus100GivesTheIntegerMeanGrey) {
    FilterPixels pixels = Row({Rgb(10, 20, 40), Rgb(255, 0, 0)});
    SaturationFilter(pixels, Amount(-100));
    EXPECT_EQ(pixels.Pixels[0], Grey(23));
    EXPECT_EQ(pixels.Pixels[1], Grey(85));
}

TEST(PointFilters, SaturationMovesChannelsAwayFromGreyAndLimitsThem) {
    FilterPixels pixels = Row({Rgb(100, 50, 60)});  // grey 70
    SaturationFilter(pixels, Amount(100));
    EXPECT_EQ(pixels.Pixels[0], Rgb(130, 30, 50));
}

TEST(PointFilters, GammaWithANegativeFactorFailsUnlessEveryChannelIsWhite) {
    FilterPixels pixels = Row({Grey(255), Grey(0)});
    EXPECT_THROW(GammaFilter(pixels, Amount(-50)), EngineFailure);
}

TEST(PointFilters, SepiaOfGreysGivesTheHslColours) {
    FilterPixels pixels = Row({Grey(0), Grey(255), Grey(100), Grey(128)});
    FilterArguments arguments;
    arguments.hue = 0.5f;
    arguments.saturation = 0.25f;
    arguments.lightness = 1.0f;
    SepiaFilter(pixels, arguments);
    EXPECT_EQ(pixels.Pixels, (ArgbPixels{Grey(0), Grey(255), Rgb(125, 100, 75), Rgb(160, 128, 96)}));
}

TEST(PointFilters, SepiaReadsTheSourceNotTheWorkingPixels) {
    FilterPixels pixels = Row({Grey(100)});
    pixels.Pixels[0] = Grey(7);
    FilterArguments arguments;
    arguments.hue = 0.5f;
    arguments.saturation = 0.25f;
    arguments.lightness = 1.0f;
    SepiaFilter(pixels, arguments);
    EXPECT_EQ(pixels.Pixels[0], Rgb(125, 100, 75));
}

TEST(PointFilters, SepiaThatDrivesAChannelAbove255Fails) {
    FilterPixels pixels = Row({Grey(250)});
    FilterArguments arguments;
    arguments.hue = 0.5f;
    arguments.saturation = 0.25f;
    arguments.lightness = 2.0f;
    EXPECT_THROW(SepiaFilter(pixels, arguments), EngineFailure);
}

struct HslCase {
    float hue;
    RgbBytes expected;
};

TEST(PointFilters, HslToRgbFollowsTheSixthsOfTheCircle) {
    // Lightness 0.5, saturation 1: low 0, high 1.
    const HslCase cases[] = {
        {0.0f, {255, 0, 0}}, {2.0f, {0, 255, 0}}, {4.0f, {0, 0, 255}},
        {1.0f, {255, 255, 0}}, {-1.0f, {255, 0, 255}}, {3.0f, {0, 255, 255}},
    };
    for (const HslCase& c : cases) {
        const RgbBytes rgb = HslToRgb(c.hue, 1.0f, 0.5f);
        EXPECT_EQ(rgb.red, c.expected.red) << c.hue;
        EXPECT_EQ(rgb.green, c.expected.green) << c.hue;
        EXPECT_EQ(rgb.blue, c.expected.blue) << c.hue;
    }
    const RgbBytes grey = HslToRgb(3.0f, 0.0f, 0.2f);
    EXPECT_EQ(grey.red, 51);
    EXPECT_EQ(grey.blue, 51);
}

struct AlphaCase {
    double tolerance;
    uint32_t pixel;
    bool cleared;
};

TEST(PointFilters, ColourToTransparencyClearsAlphaWithinTheThreshold) {
    const uint32_t colour = Rgb(100, 100, 100);
    const AlphaCase cases[] = {
        {100, Rgb(100, 100, 100), true},   // exact colour
        {100, Rgb(101, 100, 100), false},  // one level off
        {80, Rgb(151, 102, 100), true},    // threshold 153: distance 53
        {80, Rgb(253, 100, 100), true},    // distance 153
        {80, Rgb(254, 100, 100), false},   // distance 154
        {0, Rgb(0, 255, 0), true},         // threshold 768 clears all
        {101, Rgb(100, 100, 100), false},  // negative threshold clears none
    };
    for (const AlphaCase& c : cases) {
        FilterPixels pixels = Row({c.pixel});
        FilterArguments arguments;
        arguments.amount = c.tolerance;
        arguments.option1 = static_cast<int32_t>(colour);
        ColorToAlphaFilter(pixels, arguments);
        EXPECT_EQ(pixels.Pixels[0], c.cleared ? (c.pixel & 0x00FFFFFFu) : c.pixel) << c.tolerance << " " << c.pixel;
    }
}

TEST(PointFilters, NegativeTwiceRestoresEveryPixelAndAlpha) {
    const ArgbPixels before{Rgb(1, 2, 3, 0), Rgb(200, 100, 50, 0x80), Grey(255)};
    FilterPixels pixels = Row(std::vector<uint32_t>(before.begin(), before.end()));
    NegativeFilter(pixels, Amount(0));
    EXPECT_EQ(pixels.Pixels[1], Rgb(55, 155, 205, 0x80));
    NegativeFilter(pixels, Amount(0));
    EXPECT_EQ(pixels.Pixels, before);
}

// The point filters through the dispatcher.
class PointFiltersThroughDispatcher : public testing_support::EngineTest {};

TEST_F(PointFiltersThroughDispatcher, BrightnessOfAColourPaletteImageChangesThePalette) {
    const int32_t id = testing_support::RegisterBitmap(4, 2, gdiplus::PixelFormat8bppIndexed);
    gdiplus::ColorPalette before;
    ASSERT_EQ(GetImagePalette(id, before), OK);
    double unused = 0;
    ASSERT_EQ(ApplyFilter(kBrightnessCode, id, 50, RoiRect{0, 0, 1, 1}, 0, 0.5f, 1.0f, 0, 0, 0, unused), OK);
    gdiplus::ColorPalette after;
    ASSERT_EQ(GetImagePalette(id, after), OK);
    for (uint32_t i = 0; i < before.Count; ++i) {
        const uint32_t e = before.Entries[i];
        const auto up = [](int32_t v) { return v * 3 / 2 > 255 ? 255 : RoundToInt32(v * 1.5); };
        EXPECT_EQ(after.Entries[i], Rgb(up(gdiplus::RedOf(e)), up(gdiplus::GreenOf(e)), up(gdiplus::BlueOf(e)),
                                        gdiplus::AlphaOf(e)))
            << i;
    }
}

TEST_F(PointFiltersThroughDispatcher, SepiaOfA24BitImageUsesTheControlsValues) {
    const int32_t id = testing_support::RegisterBitmap(2, 1, gdiplus::PixelFormat24bppRGB);
    testing_support::SetPixels(id, {Grey(100), Grey(128)});
    double unused = 0;
    ASSERT_EQ(ApplyFilter(kSepiaCode, id, 0, RoiRect{0, 0, 2, 1}, 0.5f, 0.25f, 1.0f, 0, 0, 0, unused), OK);
    EXPECT_EQ(testing_support::PixelsOf(id), (std::vector<uint32_t>{Rgb(125, 100, 75), Rgb(160, 128, 96)}));
}

TEST_F(PointFiltersThroughDispatcher, AFailingGammaWritesNothingBackAndReportsGenericError) {
    const int32_t id = testing_support::RegisterBitmap(2, 1, gdiplus::PixelFormat32bppARGB);
    testing_support::SetPixels(id, {Grey(255), Grey(9)});
    double unused = 0;
    EXPECT_EQ(ApplyFilter(kGammaCode, id, -50, RoiRect{0, 0, 2, 1}, 0, 0.5f, 1.0f, 0, 0, 0, unused), GenericError);
    EXPECT_EQ(testing_support::PixelsOf(id), (std::vector<uint32_t>{Grey(255), Grey(9)}));
}

TEST_F(PointFiltersThroughDispatcher, ColourToTransparencyTakesTheColourFromOption1) {
    const int32_t id = testing_support::RegisterBitmap(2, 1, gdiplus::PixelFormat32bppARGB);
    testing_support::SetPixels(id, {Rgb(10, 20, 30), Rgb(10, 20, 31)});
    double unused = 0;
    const auto colour = static_cast<int32_t>(Rgb(10, 20, 30));
    ASSERT_EQ(ApplyFilter(kColourToAlphaCode, id, 100, RoiRect{0, 0, 2, 1}, 0, 0, 0, colour, 0, 0, unused), OK);
    EXPECT_EQ(testing_support::PixelsOf(id), (std::vector<uint32_t>{Rgb(10, 20, 30, 0), Rgb(10, 20, 31)}));
}

}  // namespace
}  // namespace scanvelt::filters
