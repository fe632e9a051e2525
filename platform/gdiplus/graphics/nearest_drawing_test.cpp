// Nearest-pixel drawings of 32-bit pictures into 32-bit RGB and PARGB
// targets skip cairo: they must give the pixels cairo gives, which a
// straight-ARGB target (drawn through cairo) shows for the same drawing.
#include <gtest/gtest.h>

#include "platform/gdiplus/graphics/graphics_test_support.h"

namespace gdiplus {
namespace {

using namespace testing_support;

class NearestDrawingTest : public StartedTest {};

// A 12 x 9 picture, every pixel its own, a diagonal band of it see-through
// (one pixel wholly clear).
std::vector<ARGB> Picture() {
    std::vector<ARGB> pixels;
    for (std::int32_t y = 0; y < 9; ++y)
        for (std::int32_t x = 0; x < 12; ++x) {
            const ARGB alpha = (x + y) % 7 == 3 ? 0x60 : (x == 5 && y == 4 ? 0 : 0xFF);
            pixels.push_back(alpha << 24 | static_cast<ARGB>(x * 21 & 0xFF) << 16 |
                             static_cast<ARGB>(y * 27 & 0xFF) << 8 | static_cast<ARGB>((x * y * 5 + 40) & 0xFF));
        }
    return pixels;
}

// A canvas of 30 x 24 in a colour of its own per pixel, opaque.
std::vector<ARGB> Canvas() {
    std::vector<ARGB> pixels;
    for (std::int32_t i = 0; i < 30 * 24; ++i) pixels.push_back(0xFF000000u | static_cast<ARGB>(i * 2654435761u >> 8));
    return pixels;
}

struct Drawing {
    const char* what;
    RectF destination;
    RectF source;
    PixelOffsetMode offset = PixelOffsetModeHalf;
};

std::vector<ARGB> Drawn(const Drawing& d, PixelFormat pictureFormat, PixelFormat canvasFormat) {
    const std::unique_ptr<Bitmap> picture = BitmapOf(12, 9, pictureFormat, Picture());
    const std::unique_ptr<Bitmap> canvas = BitmapOf(30, 24, canvasFormat, Canvas());
    const std::unique_ptr<Graphics> graphics = GraphicsOn(*canvas);
    EXPECT_EQ(graphics->SetInterpolationMode(InterpolationModeNearestNeighbor), Ok);
    EXPECT_EQ(graphics->SetPixelOffsetMode(d.offset), Ok);
    EXPECT_EQ(graphics->DrawImage(*picture, d.destination, d.source, UnitPixel, nullptr), Ok);
    std::vector<ARGB> pixels = PixelsIn(*canvas, Rect{0, 0, 30, 24});
    // An RGB canvas has no alpha to read; an opaque one stays opaque.
    for (ARGB& p : pixels) p |= 0xFF000000u;
    return pixels;
}

TEST_F(NearestDrawingTest, GivesThePixelsCairoGives) {
    const Drawing drawings[] = {
        {"unscaled", {3, 2, 12, 9}, {0, 0, 12, 9}},
        {"unscaled part", {0, 0, 7, 5}, {4, 3, 7, 5}, PixelOffsetModeNone},
        {"twice", {1, 1, 24, 18}, {0, 0, 12, 9}},
        {"four times a part", {2, 0, 16, 20}, {5, 2, 4, 5}},
        {"half", {4, 5, 6, 4}, {0, 1, 12, 8}},
        {"a quarter across, half down", {0, 0, 3, 4}, {0, 0, 12, 8}},
        {"twice across, half down", {0, 3, 24, 4}, {0, 0, 12, 8}},
        {"past the canvas", {-5, -3, 48, 36}, {0, 0, 12, 9}},
        {"source beyond the picture", {2, 2, 16, 16}, {-2, -4, 8, 8}},
        {"three to seven", {0, 0, 28, 21}, {0, 0, 12, 9}},
        {"seven to three", {0, 0, 5, 4}, {0, 0, 12, 9}},
    };
    for (const Drawing& d : drawings) {
        for (PixelFormat pictureFormat : {PixelFormat32bppARGB, PixelFormat32bppPARGB}) {
            SCOPED_TRACE(::testing::Message() << d.what << ", picture " << std::hex << pictureFormat);
            const std::vector<ARGB> throughCairo = Drawn(d, pictureFormat, PixelFormat32bppARGB);
            ASSERT_NE(throughCairo, Drawn({"nothing", {0, 0, 0, 0}, {0, 0, 1, 1}}, pictureFormat,
                                          PixelFormat32bppARGB));
            for (PixelFormat canvasFormat : {PixelFormat32bppRGB, PixelFormat32bppPARGB}) {
                const std::vector<ARGB> direct = Drawn(d, pictureFormat, canvasFormat);
                for (std::size_t i = 0; i < direct.size(); ++i)
                    ASSERT_EQ(direct[i], throughCairo[i]) << "canvas " << std::hex << canvasFormat << std::dec
                                                          << " at " << i % 30 << "," << i / 30;
            }
        }
    }
}

}  // namespace
}  // namespace gdiplus
