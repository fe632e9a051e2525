#pragma once
// Shared pieces of the layer's tests: a fixture that holds a start-up, and
// small bitmaps made and read pixel by pixel.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/files/testing/scratch_folder.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/startup.h"

namespace gdiplus::testing_support {

class StartedTest : public ::testing::Test {
protected:
    ScopedStartup startup_;
};

// An empty folder of its own for one test, removed with everything in it.
using ScratchFolder = files::testing::ScratchFolder;

inline std::unique_ptr<Bitmap> MakeBitmap(std::int32_t width, std::int32_t height, PixelFormat format) {
    std::unique_ptr<Bitmap> bitmap;
    EXPECT_EQ(Bitmap::Create(width, height, format, bitmap), Ok) << std::hex << format;
    return bitmap;
}

// Pixels row by row, as GetPixel reads them.
inline std::vector<ARGB> PixelsOf(const Bitmap& bitmap) {
    std::vector<ARGB> pixels;
    for (std::uint32_t y = 0; y < bitmap.GetHeight(); ++y)
        for (std::uint32_t x = 0; x < bitmap.GetWidth(); ++x) {
            ARGB c = 0;
            EXPECT_EQ(bitmap.GetPixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), c), Ok);
            pixels.push_back(c);
        }
    return pixels;
}

inline void SetPixels(Bitmap& bitmap, const std::vector<ARGB>& pixels) {
    const auto width = static_cast<std::int32_t>(bitmap.GetWidth());
    for (std::size_t i = 0; i < pixels.size(); ++i)
        ASSERT_EQ(bitmap.SetPixel(static_cast<std::int32_t>(i) % width, static_cast<std::int32_t>(i) / width,
                                  pixels[i]),
                  Ok);
}

// The bytes of every row as the bitmap holds them, without row padding.
inline std::vector<std::uint8_t> RowBytesOf(Bitmap& bitmap) {
    const Rect all{0, 0, static_cast<std::int32_t>(bitmap.GetWidth()), static_cast<std::int32_t>(bitmap.GetHeight())};
    BitmapData data;
    EXPECT_EQ(bitmap.LockBits(all, ImageLockModeRead, bitmap.GetPixelFormat(), data), Ok);
    const auto rowBytes = static_cast<std::size_t>(RowBytes(all.Width, bitmap.GetPixelFormat()));
    std::vector<std::uint8_t> bytes;
    for (std::int32_t y = 0; y < all.Height; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
        bytes.insert(bytes.end(), row, row + rowBytes);
    }
    EXPECT_EQ(bitmap.UnlockBits(data), Ok);
    return bytes;
}

}  // namespace gdiplus::testing_support
