#pragma once
// What the drawing layer's tests share: a started layer, bitmaps filled from
// pixel lists, and a graphics on a bitmap the test owns.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
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

// A bitmap filled with white.
inline std::unique_ptr<Bitmap> WhiteCanvas(std::int32_t width, std::int32_t height,
                                           PixelFormat format = PixelFormat32bppARGB) {
    return BitmapOf(width, height, format, std::vector<ARGB>(static_cast<std::size_t>(width) * height, kWhite));
}

// What was drawn on a white bitmap: the pixels that are not white, how many
// of them are neither white nor black, and their bounding rectangle.
struct Ink {
    std::int32_t count = 0;
    std::int32_t greys = 0;
    Rect bounds;
};

inline Ink InkOf(const Bitmap& bitmap) {
    Ink ink;
    std::int32_t left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    for (std::int32_t y = 0; y < static_cast<std::int32_t>(bitmap.GetHeight()); ++y)
        for (std::int32_t x = 0; x < static_cast<std::int32_t>(bitmap.GetWidth()); ++x) {
            ARGB c = 0;
            bitmap.GetPixel(x, y, c);
            if (c == kWhite) continue;
            ++ink.count;
            if (c != kBlack) ++ink.greys;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
        }
    if (ink.count > 0) ink.bounds = Rect{left, top, right - left + 1, bottom - top + 1};
    return ink;
}
}  // namespace gdiplus::testing_support
