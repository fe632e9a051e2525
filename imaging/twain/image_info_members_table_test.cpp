// The image information members called by dispatch ID on a page of 40 x 30
// pixels at 300 x 200 dpi: every answer belongs to its own side, so a width
// read from the height or a resolution from the other axis shows.
#include <gtest/gtest.h>

#include "imaging/engine/image_queries.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/twain/testing/twain_tables.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt::testing {
namespace {

using namespace com;

void expectResolutions(const ImageEffect& e, float horizontal, float vertical) {
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.after, e.before);
    EXPECT_EQ(testing_support::ResolutionOf(e.after), (std::pair<float, float>{horizontal, vertical}));
}

const ImageRow kImageInfoRows[] = {
    {"GetWidth", {}, [](const ImageEffect& e) { EXPECT_EQ(e.result.lVal, 40); }},
    {"GetHeight", {}, [](const ImageEffect& e) { EXPECT_EQ(e.result.lVal, 30); }},
    {"GetWidthMM", {}, [](const ImageEffect& e) { EXPECT_NEAR(e.result.fltVal, 40 / 300.0 * 25.4, 1e-4); }},
    {"GetHeightMM", {}, [](const ImageEffect& e) { EXPECT_NEAR(e.result.fltVal, 30 / 200.0 * 25.4, 1e-4); }},
    {"GetHorizontalResolution", {}, [](const ImageEffect& e) { EXPECT_FLOAT_EQ(e.result.fltVal, 300.0f); }},
    {"GetVerticalResolution", {}, [](const ImageEffect& e) { EXPECT_FLOAT_EQ(e.result.fltVal, 200.0f); }},
    {"SetHorizontalResolution", {150.0}, [](const ImageEffect& e) { expectResolutions(e, 150.0f, 200.0f); }},
    {"SetVerticalResolution", {100.0}, [](const ImageEffect& e) { expectResolutions(e, 300.0f, 100.0f); }},
    {"GetPixelFormat", {},
     [](const ImageEffect& e) { EXPECT_EQ(e.result.lVal, static_cast<int32_t>(gdiplus::PixelFormat24bppRGB)); }},
    {"GetPixelDepth", {}, [](const ImageEffect& e) { EXPECT_EQ(e.result.lVal, 24); }},
    {"IsPixelFormatIndexed", {}, [](const ImageEffect& e) { EXPECT_EQ(e.result.boolVal, VARIANT_FALSE); }},
    {"IsPixelFormatHasAlpha", {}, [](const ImageEffect& e) { EXPECT_EQ(e.result.boolVal, VARIANT_FALSE); }},
    {"GetPixelFormatString", {},
     [](const ImageEffect& e) {
         EXPECT_EQ(BstrToUtf8(e.result.bstrVal), PixelFormatText(gdiplus::PixelFormat24bppRGB));
         EXPECT_NE(BstrToUtf8(e.result.bstrVal), "");
     }},
    {"GetImageFormat", {},
     [](const ImageEffect& e) { EXPECT_EQ(BstrToUtf8(e.result.bstrVal), FormatNameOf(e.before)); }},
};
const bool kImageInfoRowsRegistered = RegisterMemberTable("_Twain", kImageInfoRows);

class ImageInfoTable : public ImageMemberTable {};

TEST_F(ImageInfoTable, EachMemberAnswersForItsOwnSide) {
    ASSERT_TRUE(kImageInfoRowsRegistered);
    for (const ImageRow& row : kImageInfoRows) run(row);
}

}  // namespace
}  // namespace scanvelt::testing
