#pragma once
// One of the viewer's own scroll bars: its range and value (16-bit, as the
// bars hold them), its place on the face, how a press on it steps the value,
// and how it is painted into the back buffer.
#include <cstdint>

namespace scanvelt {

struct ScrollBar {
    // The parts of a bar a press can hit, from its low end to its high end.
    enum class Part { None, LineLow, PageLow, Thumb, PageHigh, LineHigh };

    bool horizontal = false;
    int32_t left = 0, top = 0, width = 0, height = 0;  // on the face (inside the border)
    int32_t max = 0;                                    // the minimum is always 0
    int32_t value = 0;
    int16_t smallChange = 1;
    int16_t largeChange = 50;
    bool visible = false;
    bool enabled = false;

    bool contains(int32_t x, int32_t y) const {
        return visible && width > 0 && height > 0 && x >= left && x < left + width && y >= top && y < top + height;
    }
    Part hitTest(int32_t x, int32_t y) const;
    // The value a press on `part` moves to (clamped to the range).
    int32_t valueAfter(Part part) const;
    // The value whose thumb starts `offset` pixels into the track.
    int32_t valueAtThumbStart(int32_t offset) const;
    // The thumb's start and length along the bar, from the bar's low end.
    int32_t arrowLength() const;
    int32_t thumbStart() const;
    int32_t thumbLength() const;

    // Paints the bar into 32-bit pixels (rows `stride` bytes apart), shifted
    // by (originX, originY), clipped to width x height.
    void paint(uint32_t* pixels, int32_t stride, int32_t bufferWidth, int32_t bufferHeight, int32_t originX,
               int32_t originY) const;
};

// The largest value a bar holds.
constexpr int32_t kScrollBarLimit = 32767;
// The designed thickness of both bars.
constexpr int32_t kScrollBarThickness = 17;

}  // namespace scanvelt
