// The cropping members called by dispatch ID on a page of 40 x 30 pixels at
// 300 x 200 dpi drawn with a pattern that differs at every pixel: each leaves
// the size it cut to, the pixels of the kept part in place, and both
// resolutions.
#include <gtest/gtest.h>

#include "imaging/engine/auto_deskew.h"
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

// ---- Borders of one colour ---------------------------------------------------------

// A page of 60 x 40 pixels at 300 x 200 dpi: the pattern in the 30 x 20 block
// from (12, 8), `border` around it, and `corner` at every corner but the
// bottom right one.
int32_t borderedPage(uint32_t border, uint32_t corner) {
    const int32_t id = testing_support::RegisterBitmap(60, 40, gdiplus::PixelFormat24bppRGB);
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 60; ++x) {
            const bool inBlock = x >= 12 && x < 42 && y >= 8 && y < 28;
            const bool otherCorner = (x == 0 || x == 59) && (y == 0 || y == 39) && !(x == 59 && y == 39);
            pixels.push_back(inBlock ? PageAt(x - 12, y - 8) : otherCorner ? corner : border);
        }
    testing_support::SetPixels(id, pixels);
    EXPECT_EQ(SetImageResolution(id, 300.0f, 200.0f, true), OK);
    return id;
}

struct BorderRow {
    const char* member;
    std::vector<RowArgument> args;
    uint32_t border, corner;
};
constexpr uint32_t kWhite = 0xFFFFFFFFu, kBlack = 0xFF000000u, kGreen = 0xFF00FF00u, kRed = 0xFFFF0000u;
const BorderRow kBorderRows[] = {
    {"CropWhiteBorders", {int32_t{90}, int32_t{0}}, kWhite, kWhite},
    {"CropBlackBorders", {int32_t{90}, int32_t{0}}, kBlack, kBlack},
    // The colour of the bottom right corner; the others are red and would cut nothing.
    {"CropBordersEX", {int32_t{90}, int32_t{3}}, kGreen, kRed},
    {"CropBorders", {}, kWhite, kWhite},
};
const bool kBorderRowsRegistered = RegisterMemberTable("_Twain", kBorderRows);

class BorderTable : public TwainTable {};

TEST_F(BorderTable, EachMemberCutsItsBorderDownToTheBlock) {
    ASSERT_TRUE(kBorderRowsRegistered);
    for (const BorderRow& row : kBorderRows) {
        SCOPED_TRACE(row.member);
        const int32_t page = borderedPage(row.border, row.corner);
        static_cast<TwainObject*>(twain)->control().setCurrentImage(page);
        std::vector<VARIANT> args;
        for (const auto& a : row.args) args.push_back(VariantOfArgument(a));
        VARIANT r = call(row.member, std::move(args));
        EXPECT_EQ(r.lVal, 0);
        const int32_t after = call("GetNativeImage").lVal;
        EXPECT_EQ(testing_support::SizeOf(after), (std::pair<int32_t, int32_t>{30, 20}));
        EXPECT_EQ(PixelAt(after, 0, 0), PageAt(0, 0));
        EXPECT_EQ(PixelAt(after, 29, 19), PageAt(29, 19));
        EXPECT_EQ(testing_support::ResolutionOf(after), (std::pair<float, float>{300.0f, 200.0f}));
        static_cast<TwainObject*>(twain)->control().setCurrentImage(0);
        ReleaseImage(after);
        if (after != page) ReleaseImage(page);
    }
}

// ---- Straightening ---------------------------------------------------------------------

double skewOf(int32_t id) {
    cAutoDeskew finder;
    finder.MaxAngleOfResearch = 20;
    finder.GetSkewAngle(id);
    return finder.SkewAngle;
}

const struct {
    const char* member;
    double degrees;  // the page's tilt
} kDeskewRows[] = {{"AutoDeskew", 3.5}, {"AutoDeskew", -2.5}};
const bool kDeskewRowsRegistered = RegisterMemberTable("_Twain", kDeskewRows);

TEST_F(BorderTable, AutoDeskewStraightensATiltedPageAndKeepsItsSize) {
    ASSERT_TRUE(kDeskewRowsRegistered);
    for (const auto& row : kDeskewRows) {
        SCOPED_TRACE(row.degrees);
        testing_support::ScannedPage tilted;
        tilted.width = 400;
        tilted.height = 500;
        tilted.degrees = row.degrees;
        const int32_t page = testing_support::MakeScannedPage(tilted);
        ASSERT_NEAR(skewOf(page), row.degrees, 0.3);
        static_cast<TwainObject*>(twain)->control().setCurrentImage(page);
        VARIANT r = call(row.member);
        EXPECT_EQ(r.lVal, 0);
        const int32_t after = call("GetNativeImage").lVal;
        EXPECT_NEAR(skewOf(after), 0.0, 0.3);
        EXPECT_EQ(testing_support::SizeOf(after), (std::pair<int32_t, int32_t>{400, 500}));
        static_cast<TwainObject*>(twain)->control().setCurrentImage(0);
        ReleaseImage(after);
        if (after != page) ReleaseImage(page);
    }
}

}  // namespace
}  // namespace scanvelt::testing
