#include "imaging/engine/fonts_and_text.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/engine/graphics_on_image.h"
#include "imaging/engine/graphics_wrappers.h"
#include "imaging/engine/testing/graphics_test_support.h"
#include "platform/gdiplus/graphics/testing/fontconfig_leak_suppression.h"

namespace scanvelt {
namespace {

using namespace testing_support;

using FontsAndTextTest = EngineTest;

TEST_F(FontsAndTextTest, StyleAvailabilityOfInstalledAndUnknownFamilies) {
    struct Case {
        const char16_t* family;
        int32_t style;
        MorvalenStatus status;
        bool available;
    };
    const std::vector<Case> cases = {
        {u"Arial", 1, OK, true},
        {u"Times New Roman", 3, OK, true},
        {u"Courier New", 2 | 4 | 8, OK, true},
        {u"No Such Family 4711", 0, FontFamilyNotFound, false},
    };
    for (const Case& c : cases) {
        bool available = !c.available;
        EXPECT_EQ(IsFontStyleAvailable(c.family, c.style, available), c.status);
        EXPECT_EQ(available, c.available);
    }
}

// What the control's DrawText builds out of the wrappers: text on an image,
// measured first.
TEST_F(FontsAndTextTest, TextDrawnOnAnImageStaysInsideItsMeasuredBox) {
    const int32_t image = RegisterBitmap(200, 60, gdiplus::PixelFormat24bppRGB);
    SetPixels(image, std::vector<uint32_t>(200 * 60, kWhite));
    gdiplus::GpFontFamily family{};
    ASSERT_EQ(CreateGpFontFamily(u"Arial", 0, family), OK);
    gdiplus::GpGraphics graphics{};
    ASSERT_EQ(GetImageGraphics(image, graphics, 0), OK);
    ASSERT_EQ(SetGpTextRenderingHint(graphics, 4), OK);
    gdiplus::GpBrush brush{};
    ASSERT_EQ(CreateGpSolidBrush(kBlack, brush), OK);
    gdiplus::GpFont font{};
    ASSERT_EQ(CreateGpFont(family, 14, 0, 3, font), OK);
    gdiplus::GpStringFormat format{};
    ASSERT_EQ(CreateGpStringFormat(0, 0, format), OK);
    const gdiplus::RectF layout{20, 10, 0, 0};
    gdiplus::RectF box;
    int32_t fitted = 0, lines = 0;
    ASSERT_EQ(MeasureGpString(graphics, u"Petty cash", -1, font, layout, format, box, fitted, lines), OK);
    EXPECT_EQ(fitted, 10);
    EXPECT_EQ(lines, 1);
    ASSERT_EQ(DrawGpString(graphics, u"Petty cash", -1, font, layout, format, brush), OK);

    const auto pixels = PixelsOf(image);
    int32_t inked = 0;
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 200; ++x) {
            if (pixels[y * 200 + x] == kWhite) continue;
            ++inked;
            // Pixel centres lie on whole coordinates with the default pixel offset.
            EXPECT_GE(x + 0.5, box.X);
            EXPECT_LE(x - 0.5, box.X + box.Width);
            EXPECT_GE(y + 0.5, box.Y);
            EXPECT_LE(y - 0.5, box.Y + box.Height);
        }
    EXPECT_GT(inked, 50);

    EXPECT_EQ(DeleteGpStringFormat(format), OK);
    EXPECT_EQ(DeleteGpFont(font), OK);
    EXPECT_EQ(DeleteGpBrush(brush), OK);
    EXPECT_EQ(DeleteGpGraphics(graphics), OK);
    EXPECT_EQ(DeleteGpFontFamily(family), OK);
    EXPECT_EQ(DeleteGpFontFamily(family), InvalidParameter);
}

TEST_F(FontsAndTextTest, FontsRefuseWhatGdiplusRefuses) {
    gdiplus::GpFontFamily family{};
    EXPECT_EQ(CreateGpFontFamily(u"No Such Family 4711", 0, family), FontFamilyNotFound);
    ASSERT_EQ(CreateGpFontFamily(u"Verdana", 0, family), OK);
    gdiplus::GpFont font{};
    EXPECT_EQ(CreateGpFont(family, 0, 0, 3, font), InvalidParameter);
    EXPECT_EQ(CreateGpFont(family, 10, 0, 1, font), InvalidParameter);
    EXPECT_EQ(CreateGpFont(gdiplus::GpFontFamily{}, 10, 0, 3, font), InvalidParameter);
    EXPECT_EQ(DeleteGpFontFamily(family), OK);
    EXPECT_EQ(CreateGpFont(family, 10, 0, 3, font), InvalidParameter);
}

}  // namespace
}  // namespace scanvelt
