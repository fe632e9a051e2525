#include "platform/gdiplus/graphics/gdi_bitmap_view.h"

#include <gtest/gtest.h>

#include "platform/gdiplus/graphics/graphics_test_support.h"

namespace gdiplus {
namespace {

using namespace testing_support;

class GdiBitmapViewTest : public StartedTest {};

// A bottom-up GDI bitmap of `bits` per pixel whose rows hold `rows` (top row first).
win::GdiBitmap GdiBitmapOf(std::int32_t width, std::uint16_t bits, const std::vector<std::vector<std::uint8_t>>& rows,
                           std::vector<std::uint32_t> colorTable = {}) {
    win::GdiBitmap gdi;
    gdi.width = width;
    gdi.height = static_cast<std::int32_t>(rows.size());
    gdi.bitsPerPixel = bits;
    gdi.stride = win::DibStride(width, bits);
    gdi.bits.assign(static_cast<std::size_t>(gdi.stride) * rows.size(), 0);
    gdi.colorTable = std::move(colorTable);
    for (std::size_t y = 0; y < rows.size(); ++y) std::copy(rows[y].begin(), rows[y].end(), gdi.row(static_cast<int>(y)));
    return gdi;
}

TEST_F(GdiBitmapViewTest, AnIndexedBitmapTakesNoMoreColoursThanItsDepthAddresses) {
    // Four table entries behind a 1-bit bitmap: only the first two can be reached.
    win::GdiBitmap gdi = GdiBitmapOf(2, 1, {{0x80}, {0x40}}, {0x0000FF, 0xFFFFFF, 0x00FF00, 0xFF0000});
    std::unique_ptr<Bitmap> view;
    ASSERT_EQ(ViewOfGdiBitmap(gdi, view), Ok);
    ASSERT_EQ(view->GetPixelFormat(), PixelFormat1bppIndexed);
    ColorPalette palette;
    ASSERT_EQ(view->GetPalette(palette), Ok);
    EXPECT_EQ(palette.Count, 2u);
    EXPECT_EQ(PixelsIn(*view, Rect{0, 0, 2, 2}), (std::vector<ARGB>{kWhite, kBlue, kBlue, kWhite}));
}

TEST_F(GdiBitmapViewTest, TheFourthByteOfThirtyTwoBitsIsAlphaOnlyWhenTheCallerSaysSo) {
    win::GdiBitmap gdi = GdiBitmapOf(1, 32, {{0x30, 0x20, 0x10, 0x80}});
    for (const bool alpha : {false, true}) {
        std::unique_ptr<Bitmap> view;
        ASSERT_EQ(ViewOfGdiBitmap(gdi, view, alpha), Ok);
        EXPECT_EQ(view->GetPixelFormat(), alpha ? PixelFormat32bppARGB : PixelFormat32bppRGB);
        EXPECT_EQ(PixelsIn(*view, Rect{0, 0, 1, 1}), (std::vector<ARGB>{alpha ? 0x80102030u : 0xFF102030u}));
    }
}

}  // namespace
}  // namespace gdiplus
