#pragma once
// A scanned page made in code: lines of text strokes tilted by a given angle
// on white paper, optionally inside a black border that the scanner lid
// left, at a resolution, with an image description item.
#include <cmath>
#include <cstdint>
#include <vector>

#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/twain/testing/image_members_support.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt::testing_support {

struct ScannedPage {
    int32_t width = 800, height = 1000;
    // Tilt of the text lines in degrees, positive when they run down to the right.
    double degrees = 4.5;
    // Width of the black frame around the page, 0 for none.
    int32_t border = 0;
    int32_t format = gdiplus::PixelFormat24bppRGB;
    float dpi = 300;
};

// Whether (x, y) lies on a stroke: lines 36 pixels apart, words of stems
// 11 pixels high, 4 wide, with gaps between the words; the text keeps a
// margin of a tenth of the page on every side.
inline bool OnStroke(const ScannedPage& page, int32_t x, int32_t y) {
    if (x < page.width / 10 || x > page.width * 9 / 10 || y < page.height / 10 || y > page.height * 9 / 10)
        return false;
    const double a = page.degrees * 3.14159265358979323846 / 180.0;
    const double u = x * std::cos(a) + y * std::sin(a);
    const double v = y * std::cos(a) - x * std::sin(a);
    const double line = std::fmod(v + 100000.0, 36.0);
    if (line < 18.0 || line >= 29.0) return false;
    const double word = std::fmod(u + 100000.0, 64.0);
    return word < 48.0 && std::fmod(word, 8.0) < 4.0;
}

inline bool OnBorder(const ScannedPage& page, int32_t x, int32_t y) {
    return x < page.border || y < page.border || x >= page.width - page.border || y >= page.height - page.border;
}

inline int32_t MakeScannedPage(const ScannedPage& page) {
    const int32_t id = RegisterBitmap(page.width, page.height, page.format);
    std::vector<uint32_t> pixels(static_cast<size_t>(page.width) * page.height);
    for (int32_t y = 0; y < page.height; ++y)
        for (int32_t x = 0; x < page.width; ++x)
            pixels[static_cast<size_t>(y) * page.width + x] =
                OnBorder(page, x, y) || OnStroke(page, x, y) ? 0xFF000000u : 0xFFFFFFFFu;
    EXPECT_EQ(NativeBitmapOf(id)->WritePixels(gdiplus::Rect{0, 0, page.width, page.height},
                                              gdiplus::PixelFormat32bppARGB, 4 * page.width, pixels.data()),
              gdiplus::Ok);
    EXPECT_EQ(SetImageResolution(id, page.dpi, page.dpi, true), OK);
    EXPECT_EQ(SetPropertyItemAscii(id, kTagImageDescription, kPageDescription, false), OK);
    return id;
}

}  // namespace scanvelt::testing_support
