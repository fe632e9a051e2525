#include "imaging/viewer/scroll_bar.h"

#include <algorithm>

namespace scanvelt {
namespace {

constexpr uint32_t kTrack = 0xFFF0F0F0;
constexpr uint32_t kButton = 0xFFDADADA;
constexpr uint32_t kThumb = 0xFFC2C2C2;
constexpr uint32_t kEdge = 0xFF8F8F8F;
constexpr uint32_t kGlyph = 0xFF505050;
constexpr uint32_t kGlyphDisabled = 0xFFA8A8A8;
constexpr int32_t kMinimumThumb = 8;

struct Canvas {
    uint32_t* pixels;
    int32_t stride, width, height;
    void fill(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t color) const {
        int32_t x0 = std::max(x, 0), y0 = std::max(y, 0);
        int32_t x1 = std::min(x + w, width), y1 = std::min(y + h, height);
        for (int32_t row = y0; row < y1; ++row) {
            auto* line = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(pixels) + static_cast<size_t>(row) * stride);
            std::fill(line + x0, line + std::max(x0, x1), color);
        }
    }
    void frame(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t color) const {
        fill(x, y, w, 1, color);
        fill(x, y + h - 1, w, 1, color);
        fill(x, y, 1, h, color);
        fill(x + w - 1, y, 1, h, color);
    }
};

// A small triangle pointing away from the box's centre line: `towardsLow`
// points left (horizontal) or up (vertical).
void arrow(const Canvas& c, int32_t x, int32_t y, int32_t size, bool horizontal, bool towardsLow, uint32_t color) {
    int32_t half = std::max(size / 4, 1);
    int32_t cx = x + size / 2, cy = y + size / 2;
    for (int32_t i = 0; i < half; ++i) {
        int32_t reach = towardsLow ? i : half - 1 - i;  // wider towards the back of the arrow
        int32_t along = -half / 2 + i;
        if (horizontal)
            c.fill(cx + along, cy - reach, 1, 2 * reach + 1, color);
        else
            c.fill(cx - reach, cy + along, 2 * reach + 1, 1, color);
    }
}

}  // namespace

int32_t ScrollBar::arrowLength() const {
    int32_t length = horizontal ? width : height;
    int32_t across = horizontal ? height : width;
    return std::min(across, length / 2);
}

int32_t ScrollBar::thumbLength() const {
    int32_t track = (horizontal ? width : height) - 2 * arrowLength();
    if (!enabled || max <= 0 || track <= 0) return 0;
    int64_t length = static_cast<int64_t>(track) * std::max<int32_t>(largeChange, 1) / (max + std::max<int32_t>(largeChange, 1));
    return static_cast<int32_t>(std::clamp<int64_t>(length, std::min(kMinimumThumb, track), track));
}

int32_t ScrollBar::thumbStart() const {
    int32_t track = (horizontal ? width : height) - 2 * arrowLength();
    int32_t room = track - thumbLength();
    if (max <= 0 || room <= 0) return arrowLength();
    return arrowLength() + static_cast<int32_t>(static_cast<int64_t>(value) * room / max);
}

int32_t ScrollBar::valueAtThumbStart(int32_t offset) const {
    int32_t track = (horizontal ? width : height) - 2 * arrowLength();
    int32_t room = track - thumbLength();
    if (room <= 0) return value;
    int64_t v = (static_cast<int64_t>(offset) * max + room / 2) / room;
    return static_cast<int32_t>(std::clamp<int64_t>(v, 0, max));
}

ScrollBar::Part ScrollBar::hitTest(int32_t x, int32_t y) const {
    if (!contains(x, y)) return Part::None;
    int32_t along = horizontal ? x - left : y - top;
    int32_t length = horizontal ? width : height;
    int32_t arrowSize = arrowLength();
    if (along < arrowSize) return Part::LineLow;
    if (along >= length - arrowSize) return Part::LineHigh;
    if (thumbLength() == 0) return Part::None;
    if (along < thumbStart()) return Part::PageLow;
    if (along >= thumbStart() + thumbLength()) return Part::PageHigh;
    return Part::Thumb;
}

int32_t ScrollBar::valueAfter(Part part) const {
    int32_t v = value;
    switch (part) {
    case Part::LineLow: v -= smallChange; break;
    case Part::LineHigh: v += smallChange; break;
    case Part::PageLow: v -= largeChange; break;
    case Part::PageHigh: v += largeChange; break;
    default: break;
    }
    return std::clamp(v, 0, std::max(max, 0));
}

void ScrollBar::paint(uint32_t* pixels, int32_t stride, int32_t bufferWidth, int32_t bufferHeight, int32_t originX,
                      int32_t originY) const {
    if (!visible || width <= 0 || height <= 0) return;
    Canvas c{pixels, stride, bufferWidth, bufferHeight};
    int32_t x = originX + left, y = originY + top;
    c.fill(x, y, width, height, kTrack);
    int32_t a = arrowLength();
    uint32_t glyph = enabled ? kGlyph : kGlyphDisabled;
    if (horizontal) {
        c.fill(x, y, a, height, kButton);
        c.frame(x, y, a, height, kEdge);
        arrow(c, x, y, std::min(a, height), true, true, glyph);
        c.fill(x + width - a, y, a, height, kButton);
        c.frame(x + width - a, y, a, height, kEdge);
        arrow(c, x + width - a, y, std::min(a, height), true, false, glyph);
    } else {
        c.fill(x, y, width, a, kButton);
        c.frame(x, y, width, a, kEdge);
        arrow(c, x, y, std::min(a, width), false, true, glyph);
        c.fill(x, y + height - a, width, a, kButton);
        c.frame(x, y + height - a, width, a, kEdge);
        arrow(c, x, y + height - a, std::min(a, width), false, false, glyph);
    }
    int32_t thumb = thumbLength();
    if (thumb > 0) {
        int32_t start = thumbStart();
        if (horizontal) {
            c.fill(x + start, y + 1, thumb, height - 2, kThumb);
            c.frame(x + start, y + 1, thumb, height - 2, kEdge);
        } else {
            c.fill(x + 1, y + start, width - 2, thumb, kThumb);
            c.frame(x + 1, y + start, width - 2, thumb, kEdge);
        }
    }
}

}  // namespace scanvelt
