// The cropping members called by dispatch ID on a page of 40 x 30 pixels at
// 300 x 200 dpi drawn with a pattern that differs at every pixel: each leaves
// the size it cut to, the pixels of the kept part in place, and both
// resolutions.
#include <gtest/gtest.h>

#include "imaging/engine/auto_deskew.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/twain/testing/scanned_page.h"
#include "imaging/twain/testing/twain_tables.h"

namespace scanvelt::testing {
namespace {

using namespace com;

// The result is `width` x `height` and its pixel (0, 0) is the page's (left, top).
void expectCut(const ImageEffect& e, int32_t left, int32_t top, int32_t width, int32_t height) {
    EXPECT_EQ(e.result.lVal, 0);
    EXPECT_EQ(e.status, 0);
    ASSERT_NE(e.after, 0);
    ASSERT_EQ(testing_support::SizeOf(e.after), (std::pair<int32_t, int32_t>{width, height}));
    EXPECT_EQ(PixelAt(e.after, 0, 0), PageAt(left, top));
    EXPECT_EQ(PixelAt(e.after, width - 1, height - 1), PageAt(left + width - 1, top + height - 1));
    EXPECT_EQ(testing_support::ResolutionOf(e.after), (std::pair<float, float>{300.0f, 200.0f}));
}

const ImageRow kCropRows[] = {
    {"Crop", {int32_t{5}, int32_t{3}, int32_t{20}, int32_t{10}},
     [](const ImageEffect& e) { expectCut(e, 5, 3, 20, 10); }},
    {"CropTop", {int32_t{4}}, [](const ImageEffect& e) { expectCut(e, 0, 4, 40, 26); }},
    {"CropBottom", {int32_t{4}}, [](const ImageEffect& e) { expectCut(e, 0, 0, 40, 26); }},
    {"CropLeft", {int32_t{6}}, [](const ImageEffect& e) { expectCut(e, 6, 0, 34, 30); }},
    {"CropRight", {int32_t{6}}, [](const ImageEffect& e) { expectCut(e, 0, 0, 34, 30); }},
};
const bool kCropRowsRegistered = RegisterMemberTable("_Twain", kCropRows);

class CropTable : public ImageMemberTable {};

TEST_F(CropTable, EachMemberCutsItsOwnSide) {
    ASSERT_TRUE(kCropRowsRegistered);
    for (const ImageRow& row : kCropRows) run(row);
}

// ---- Borders ------------------------------------------------------------------

// The page framed by a border of `colour` 3 pixels wide on the left, 2 on
// top, 5 on the right and 4 at the bottom (each side its own width, so a side
// measured from another shows); `corner` paints the top-left pixel.
int32_t FramedPage(uint32_t colour, uint32_t corner) {
    const int32_t page = testing_support::MakePage(40, 30);
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 40; ++x)
            pixels.push_back(x < 3 || y < 2 || x >= 35 || y >= 26 ? colour : PageAt(x, y));
    pixels[0] = corner;
    testing_support::SetPixels(page, pixels);
    return page;
}

struct BorderRow {
    const char* member;
    std::vector<RowArgument> args;
    uint32_t border, corner;
};

constexpr uint32_t kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00;

const BorderRow kBorderRows[] = {
    {"CropWhiteBorders", {int32_t{100}, int32_t{0}}, kWhite, kWhite},
    {"CropBlackBorders", {int32_t{100}, int32_t{0}}, kBlack, kBlack},
    {"CropBorders", {}, kBlack, kBlack},
    // The colour is read at the bottom-right corner: the top-left one differs,
    // and one pixel in a line of 40 is within the 95 % asked for.
    {"CropBordersEX", {int32_t{95}, int32_t{3}}, kBlue, kGreen},
};
const bool kBorderRowsRegistered = RegisterMemberTable("_Twain", kBorderRows);

TEST_F(CropTable, EachBorderMemberCutsExactlyTheFrame) {
    ASSERT_TRUE(kBorderRowsRegistered);
    for (const BorderRow& row : kBorderRows) {
        SCOPED_TRACE(row.member);
        const int32_t page = FramedPage(row.border, row.corner);
        static_cast<TwainObject*>(twain)->control().setCurrentImage(page);
        std::vector<VARIANT> arguments;
        for (const auto& a : row.args) arguments.push_back(VariantOfArgument(a));
        VARIANT result = call(row.member, std::move(arguments));
        VARIANT current = call("GetNativeImage");
        expectCut(ImageEffect{result, call("GetStat").lVal, page, current.lVal}, 3, 2, 32, 24);
        EXPECT_EQ(current.lVal, page) << "the result keeps the image's ID";
        static_cast<TwainObject*>(twain)->control().setCurrentImage(0);
        ReleaseImage(current.lVal);
        if (current.lVal != page) ReleaseImage(page);
    }
}

// ---- Deskew ------------------------------------------------------------------

double SkewOf(int32_t image) {
    cAutoDeskew finder;
    finder.MaxAngleOfResearch = 20;
    finder.GetSkewAngle(image);
    return finder.SkewAngle;
}

struct DeskewRow {
    const char* member;
    double degrees;  // the tilt of the page's text
};

// A tilted page is straightened; a straight one is left pixel for pixel.
const DeskewRow kDeskewRows[] = {{"AutoDeskew", 4.5}, {"AutoDeskew", -3.0}, {"AutoDeskew", 0.0}};
const bool kDeskewRowsRegistered = RegisterMemberTable("_Twain", kDeskewRows);

TEST_F(CropTable, AutoDeskewStraightensThePageAndKeepsItsSizeAndResolutions) {
    ASSERT_TRUE(kDeskewRowsRegistered);
    for (const DeskewRow& row : kDeskewRows) {
        SCOPED_TRACE(row.degrees);
        testing_support::ScannedPage scanned;
        scanned.width = 500, scanned.height = 400, scanned.degrees = row.degrees;
        const int32_t page = testing_support::MakeScannedPage(scanned);
        ASSERT_EQ(SetImageResolution(page, 300.0f, 200.0f, true), OK);
        ASSERT_NEAR(SkewOf(page), row.degrees, 0.2);
        const std::vector<uint32_t> before = testing_support::PixelsOf(page);
        static_cast<TwainObject*>(twain)->control().setCurrentImage(page);
        VARIANT result = call(row.member);
        EXPECT_EQ(result.lVal, 0);
        EXPECT_EQ(call("GetNativeImage").lVal, page);
        EXPECT_NEAR(SkewOf(page), 0.0, 0.2);
        EXPECT_EQ(testing_support::SizeOf(page), (std::pair<int32_t, int32_t>{500, 400}));
        EXPECT_EQ(testing_support::ResolutionOf(page), (std::pair<float, float>{300.0f, 200.0f}));
        if (row.degrees == 0.0) EXPECT_EQ(testing_support::PixelsOf(page), before);
        else EXPECT_NE(testing_support::PixelsOf(page), before);
        static_cast<TwainObject*>(twain)->control().setCurrentImage(0);
        ReleaseImage(page);
    }
}

}  // namespace
}  // namespace scanvelt::testing
