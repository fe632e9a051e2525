#pragma once
// For tests of drawing members: where a drawing put ink on a white page.
#include <algorithm>
#include <cstdint>

#include "imaging/engine/image_table.h"
#include "platform/gdiplus/bitmap.h"

namespace scanvelt::testing_support {

inline constexpr uint32_t kWhitePixel = 0xFFFFFFFF;

// The bounding box of the pixels that are not white: left, top, right, bottom (inclusive).
struct Ink {
    int32_t left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    bool any() const { return right >= 0; }
    int32_t width() const { return any() ? right - left + 1 : 0; }
    int32_t height() const { return any() ? bottom - top + 1 : 0; }
};

// The box of the pixels of `image` for which `inked` holds (by default: not white).
template <class Inked>
Ink InkWhere(int32_t image, Inked inked) {
    const gdiplus::Bitmap* bitmap = NativeBitmapOf(image);
    Ink ink;
    if (!bitmap) return ink;
    for (int32_t y = 0; y < static_cast<int32_t>(bitmap->GetHeight()); ++y)
        for (int32_t x = 0; x < static_cast<int32_t>(bitmap->GetWidth()); ++x) {
            uint32_t c = 0;
            bitmap->GetPixel(x, y, c);
            if (!inked(c)) continue;
            ink.left = std::min(ink.left, x), ink.top = std::min(ink.top, y);
            ink.right = std::max(ink.right, x), ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
}

inline Ink InkOf(int32_t image) {
    return InkWhere(image, [](uint32_t c) { return c != kWhitePixel; });
}

}  // namespace scanvelt::testing_support
