// Drawing on a 32-bit RGB bitmap whose rows run top-down happens on its rows
// in place; one whose rows run bottom-up goes through a premultiplied copy.
// Both must leave the same bytes, the fourth one included, whatever the
// drawing does to alpha.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/gdiplus/graphics/graphics_test_support.h"

namespace gdiplus {
namespace {

using namespace testing_support;

class PaintInPlaceTest : public StartedTest {};

constexpr std::int32_t kWidth = 23;
constexpr std::int32_t kHeight = 17;

// The rows of a 32-bit RGB device bitmap as GDI leaves them: colours of
// their own, the fourth byte 0 or anything.
std::vector<std::uint32_t> DeviceRows() {
    std::vector<std::uint32_t> rows(static_cast<std::size_t>(kWidth) * kHeight);
    for (std::int32_t y = 0; y < kHeight; ++y)
        for (std::int32_t x = 0; x < kWidth; ++x)
            rows[static_cast<std::size_t>(y) * kWidth + x] =
                (x % 3 == 0 ? 0u : static_cast<std::uint32_t>(x * 11) << 24) |
                static_cast<std::uint32_t>((x * 37 + y * 5) & 0xFF) << 16 |
                static_cast<std::uint32_t>((y * 29) & 0xFF) << 8 | static_cast<std::uint32_t>((x ^ y) * 7 & 0xFF);
    return rows;
}

// A see-through picture to draw.
std::unique_ptr<Bitmap> Picture() {
    std::vector<ARGB> pixels;
    for (std::int32_t i = 0; i < 35; ++i)
        pixels.push_back(static_cast<ARGB>((i * 53) & 0xFF) << 24 | static_cast<ARGB>(i * 71 & 0xFF) << 16 |
                         static_cast<ARGB>(i * 13 & 0xFF) << 8 | 0x40);
    return BitmapOf(7, 5, PixelFormat32bppARGB, pixels);
}

TEST_F(PaintInPlaceTest, TopDownRowsEndAsTheCopyingPathLeavesThem) {
    const std::unique_ptr<Bitmap> picture = Picture();
    struct Case {
        const char* what;
        std::function<Status(Graphics&)> draw;
    };
    const Case cases[] = {
        {"opaque clear", [](Graphics& g) { return g.Clear(0xFF336699); }},
        {"see-through clear", [](Graphics& g) { return g.Clear(0x80336699); }},
        {"picture over, scaled",
         [&](Graphics& g) {
             g.SetInterpolationMode(InterpolationModeBilinear);
             return g.DrawImage(*picture, RectF{2.5f, 1.25f, 15.5f, 12.0f}, RectF{0, 0, 7, 5}, UnitPixel, nullptr);
         }},
        {"picture copied, nearest",
         [&](Graphics& g) {
             g.SetCompositingMode(CompositingModeSourceCopy);
             g.SetInterpolationMode(InterpolationModeNearestNeighbor);
             return g.DrawImage(*picture, RectF{3, 2, 14, 10}, RectF{0, 0, 7, 5}, UnitPixel, nullptr);
         }},
        {"picture turned",
         [&](Graphics& g) {
             g.RotateTransform(30, MatrixOrderAppend);
             g.SetInterpolationMode(InterpolationModeHighQualityBicubic);
             return g.DrawImage(*picture, RectF{8, -2, 12, 9}, RectF{0, 0, 7, 5}, UnitPixel, nullptr);
         }},
        {"smooth see-through fill",
         [](Graphics& g) {
             g.SetSmoothingMode(SmoothingModeAntiAlias);
             const RectF rect{1.3f, 2.6f, 9.2f, 7.7f};
             return g.FillRectangles(SolidBrush(0x9020C040), {&rect, 1});
         }},
    };
    for (const Case& c : cases) {
        std::vector<std::uint32_t> topDown = DeviceRows();
        // The same rows stored last row first.
        std::vector<std::uint32_t> bottomUp(topDown.size());
        for (std::int32_t y = 0; y < kHeight; ++y)
            std::memcpy(&bottomUp[static_cast<std::size_t>(kHeight - 1 - y) * kWidth],
                        &topDown[static_cast<std::size_t>(y) * kWidth], kWidth * 4);
        std::unique_ptr<Bitmap> inPlace, copied;
        ASSERT_EQ(Bitmap::FromScan0(kWidth, kHeight, kWidth * 4, PixelFormat32bppRGB,
                                    reinterpret_cast<std::uint8_t*>(topDown.data()), inPlace),
                  Ok);
        auto* lastRow = reinterpret_cast<std::uint8_t*>(&bottomUp[static_cast<std::size_t>(kHeight - 1) * kWidth]);
        ASSERT_EQ(Bitmap::FromScan0(kWidth, kHeight, -kWidth * 4, PixelFormat32bppRGB, lastRow, copied), Ok);
        ASSERT_EQ(c.draw(*GraphicsOn(*inPlace)), Ok) << c.what;
        ASSERT_EQ(c.draw(*GraphicsOn(*copied)), Ok) << c.what;
        std::int32_t changed = 0;
        for (std::int32_t y = 0; y < kHeight; ++y) {
            for (std::int32_t x = 0; x < kWidth; ++x) {
                const std::uint32_t mine = topDown[static_cast<std::size_t>(y) * kWidth + x];
                ASSERT_EQ(mine, bottomUp[static_cast<std::size_t>(kHeight - 1 - y) * kWidth + x])
                    << c.what << " at " << x << "," << y;
                changed += mine != DeviceRows()[static_cast<std::size_t>(y) * kWidth + x];
            }
        }
        EXPECT_GT(changed, 0) << c.what << " drew nothing";
    }
}

}  // namespace
}  // namespace gdiplus
