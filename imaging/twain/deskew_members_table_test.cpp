// The cropping members called by dispatch ID on a page of 40 x 30 pixels at
// 300 x 200 dpi drawn with a pattern that differs at every pixel: each leaves
// the size it cut to, the pixels of the kept part in place, and both
// resolutions.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace scanvelt::testing
