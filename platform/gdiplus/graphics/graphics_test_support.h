#pragma once
// What the drawing layer's tests share: a started layer, bitmaps filled from
// pixel lists, and a graphics on a bitmap the test owns.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/gdiplus/graphics/graphics.h"
#include "platform/gdiplus/test_support.h"

namespace gdiplus::testing_support {

inline std::unique_ptr<Bitmap> BitmapOf(std::int32_t width, std::int32_t height, PixelFormat format,
                                        const std::vector<ARGB>& pixels) {
    auto bitmap = MakeBitmap(width, height, format);
    if (bitmap && !pixels.empty()) SetPixels(*bitmap, pixels);
    return bitmap;
}

inline std::unique_ptr<Graphics> GraphicsOn(Bitmap& bitmap) {
    std::unique_ptr<Graphics> graphics;
    EXPECT_EQ(Graphics::FromImage([&bitmap] { return &bitmap; }, graphics), Ok);
    return graphics;
}

// Pixels of a rectangle of the bitmap, row by row.
inline std::vector<ARGB> PixelsIn(const Bitmap& bitmap, const Rect& rect) {
    std::vector<ARGB> pixels;
    for (std::int32_t y = rect.Y; y < rect.Y + rect.Height; ++y)
        for (std::int32_t x = rect.X; x < rect.X + rect.Width; ++x) {
            ARGB c = 0;
            EXPECT_EQ(bitmap.GetPixel(x, y, c), Ok);
            pixels.push_back(c);
        }
    return pixels;
}

// Each pixel repeated `factor` times across and down.
inline std::vector<ARGB> ScaledUp(const std::vector<ARGB>& pixels, std::int32_t width, std::int32_t factor) {
    const auto height = static_cast<std::int32_t>(pixels.size()) / width;
    std::vector<ARGB> scaled;
    for (std::int32_t y = 0; y < height * factor; ++y)
        for (std::int32_t x = 0; x < width * factor; ++x) scaled.push_back(pixels[(y / factor) * width + x / factor]);
    return scaled;
}

constexpr ARGB kBlack = 0xFF000000;
constexpr ARGB kWhite = 0xFFFFFFFF;
constexpr ARGB kRed = 0xFFFF0000;
constexpr ARGB kGreen = 0xFF00FF00;
constexpr ARGB kBlue = 0xFF0000FF;

}  // namespace gdiplus::testing_support
