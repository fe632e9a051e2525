// The pixel-format members called by dispatch ID on a page of 40 x 30 pixels
// at 300 x 200 dpi: each leaves its format, and keeps the image's size and
// both resolutions (unequal, so a swap shows).
#include <gtest/gtest.h>

#include "imaging/engine/image_queries.h"
#include "imaging/twain/testing/twain_tables.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt::testing {
namespace {

using namespace com;

void expectFormat(const ImageEffect& e, gdiplus::PixelFormat format) {
    EXPECT_EQ(e.result.lVal, 0);
    EXPECT_EQ(e.status, 0);
    ASSERT_NE(e.after, 0);
    EXPECT_EQ(PixelFormatOf(e.after), static_cast<int32_t>(format));
    EXPECT_EQ(testing_support::SizeOf(e.after), (std::pair<int32_t, int32_t>{40, 30}));
    EXPECT_EQ(testing_support::ResolutionOf(e.after), (std::pair<float, float>{300.0f, 200.0f}));
}

const ImageRow kConversionRows[] = {
    {"ConvertTo1Bpp", {}, [](const ImageEffect& e) { expectFormat(e, gdiplus::PixelFormat1bppIndexed); }},
    {"ConvertTo4Bpp", {}, [](const ImageEffect& e) { expectFormat(e, gdiplus::PixelFormat4bppIndexed); }},
    {"ConvertTo8BppGrayScale", {},
     [](const ImageEffect& e) {
         expectFormat(e, gdiplus::PixelFormat8bppIndexed);
         // The plain mean of the three channels, as a grey.
         const uint32_t p = PageAt(7, 5);
         const uint32_t mean = (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
         const uint32_t grey = PixelAt(e.after, 7, 5);
         EXPECT_EQ(grey & 0xFF, (grey >> 8) & 0xFF);
         EXPECT_EQ(grey & 0xFF, (grey >> 16) & 0xFF);
         EXPECT_NEAR(static_cast<double>(grey & 0xFF), mean, 1.0);
     }},
    {"ConvertTo8Bpp", {}, [](const ImageEffect& e) { expectFormat(e, gdiplus::PixelFormat8bppIndexed); }},
    {"ConvertTo16Bpp", {}, [](const ImageEffect& e) { expectFormat(e, gdiplus::PixelFormat16bppRGB555); }},
    {"ConvertTo24BppRGB", {},
     [](const ImageEffect& e) {
         expectFormat(e, gdiplus::PixelFormat24bppRGB);
         EXPECT_EQ(PixelAt(e.after, 39, 29), PageAt(39, 29));
     }},
    {"ConvertTo32Bpp", {},
     [](const ImageEffect& e) {
         expectFormat(e, gdiplus::PixelFormat32bppARGB);
         EXPECT_EQ(PixelAt(e.after, 39, 0), PageAt(39, 0));
         EXPECT_EQ(PixelAt(e.after, 0, 29), PageAt(0, 29));
     }},
    {"ConvertTo48Bpp", {}, [](const ImageEffect& e) { expectFormat(e, gdiplus::PixelFormat48bppRGB); }},
    {"ConvertTo64Bpp", {}, [](const ImageEffect& e) { expectFormat(e, gdiplus::PixelFormat64bppPARGB); }},
};
const bool kConversionRowsRegistered = RegisterMemberTable("_Twain", kConversionRows);

class PixelConversionTable : public ImageMemberTable {};

TEST_F(PixelConversionTable, EachMemberLeavesItsFormatAndKeepsSizeAndResolutions) {
    ASSERT_TRUE(kConversionRowsRegistered);
    for (const ImageRow& row : kConversionRows) run(row);
}

}  // namespace
}  // namespace scanvelt::testing
