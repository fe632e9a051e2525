#include "imaging/viewer/selection_outline.h"

#include <algorithm>
#include <cmath>

namespace scanvelt {
namespace {

// Mixes a pen colour into a destination pixel by a mix mode; the alpha
// channel stays opaque.
uint32_t mix(int32_t mode, uint32_t d, uint32_t p) {
    uint32_t r;
    switch (mode) {
    case 1: r = 0; break;
    case 2: r = ~(d | p); break;
    case 3: r = d & ~p; break;
    case 4: r = ~p; break;
    case 5: r = p & ~d; break;
    case 6: r = ~d; break;
    case 7: r = d ^ p; break;
    case 8: r = ~(d & p); break;
    case 9: r = d & p; break;
    case 10: r = ~(d ^ p); break;
    case 11: r = d; break;
    case 12: r = d | ~p; break;
    case 14: r = p | ~d; break;
    case 15: r = d | p; break;
    case 16: r = 0xFFFFFFFFu; break;
    default: r = p; break;
    }
    return 0xFF000000u | (r & 0x00FFFFFFu);
}

// Whether the n-th pixel along the border is inked by the style; the
// pattern grows with the line width, as dashed pens do.
bool inked(int32_t style, int64_t n, int32_t size) {
    static const int32_t dash[] = {18, 6}, dot[] = {3, 3}, dashDot[] = {9, 6, 3, 6}, dashDotDot[] = {9, 3, 3, 3, 3, 3};
    const int32_t* pattern;
    int32_t count;
    switch (style) {
    case 2: pattern = dash; count = 2; break;
    case 3: pattern = dot; count = 2; break;
    case 4: pattern = dashDot; count = 4; break;
    case 5: pattern = dashDotDot; count = 6; break;
    default: return true;
    }
    int64_t period = 0;
    for (int32_t i = 0; i < count; ++i) period += pattern[i] * int64_t{size};
    int64_t at = n % period;
    for (int32_t i = 0; i < count; ++i) {
        int64_t length = pattern[i] * int64_t{size};
        if (at < length) return i % 2 == 0;
        at -= length;
    }
    return true;
}

}  // namespace

bool IsOutlineStyle(int32_t style) { return style >= 1 && style <= 5; }
bool IsOutlineDrawMode(int32_t mode) { return mode >= 1 && mode <= 16; }

void DrawSelectionOutline(uint32_t* pixels, int32_t stride, const int32_t clip[4], int32_t offsetX,
                          int32_t offsetY, const SelectionOutline& outline, const OutlinePen& pen) {
    if (!pixels || pen.size < 1) return;
    // Far outside the buffer nothing is drawn; the bound keeps the loops short.
    constexpr double kFar = 1 << 20;
    if (!(std::fabs(outline.left) < kFar && std::fabs(outline.top) < kFar && outline.width < kFar &&
          outline.height < kFar))
        return;
    int64_t x0 = std::llround(outline.left) + offsetX, y0 = std::llround(outline.top) + offsetY;
    int64_t w = std::max<int64_t>(std::llround(outline.width), 1), h = std::max<int64_t>(std::llround(outline.height), 1);
    int64_t size = std::min<int64_t>(pen.size, std::max(w, h));
    uint32_t penArgb = ((pen.color & 0xFF) << 16) | (pen.color & 0xFF00) | ((pen.color >> 16) & 0xFF);
    int64_t cx0 = clip[0], cy0 = clip[1], cx1 = int64_t{clip[0]} + clip[2], cy1 = int64_t{clip[1]} + clip[3];
    auto plot = [&](int64_t x, int64_t y) {
        if (x < cx0 || y < cy0 || x >= cx1 || y >= cy1) return;
        auto* p = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(pixels) + y * stride) + x;
        *p = mix(pen.drawMode, *p, penArgb);
    };
    // Each border pixel once (mix modes such as XOR must not apply twice):
    // a pixel belongs to the border when it lies within `size` of an edge.
    for (int64_t y = y0; y < y0 + h; ++y) {
        if (y < cy0 || y >= cy1) continue;
        bool band = y - y0 < size || y0 + h - 1 - y < size;
        for (int64_t x = x0; x < x0 + w; ++x) {
            if (!band && x - x0 >= size && x0 + w - 1 - x >= size) {
                x = x0 + w - size - 1;  // skip the inside
                continue;
            }
            // Position along the perimeter, for the dash pattern.
            int64_t n = band ? (x - x0) : (y - y0);
            if (inked(pen.style, n, static_cast<int32_t>(size))) plot(x, y);
        }
    }
}

}  // namespace scanvelt
