#pragma once
// The selection outline: a rectangle in control pixels drawn above the image
// with a colour, a line width, a dash style and a raster operation.
#include <cstdint>

namespace scanvelt {

struct SelectionOutline {
    // The empty outline: one pixel outside the top-left corner.
    float left = -1, top = -1, width = 1, height = 1;
};

// Line styles (1 solid .. 5 dash-dot-dot) and the sixteen mix modes of a
// line (1 black .. 13 copy pen .. 16 white) the outline accepts.
bool IsOutlineStyle(int32_t style);
bool IsOutlineDrawMode(int32_t mode);

struct OutlinePen {
    uint32_t color = 0;  // 0x00BBGGRR, as the host's colours are
    int32_t size = 1;
    int32_t style = 1;
    int32_t drawMode = 13;
};

// Draws the outline's border into 32-bit ARGB pixels (rows `stride` bytes
// apart), shifted by (offsetX, offsetY) and clipped to `clip` (x, y, w, h).
void DrawSelectionOutline(uint32_t* pixels, int32_t stride, const int32_t clip[4], int32_t offsetX,
                          int32_t offsetY, const SelectionOutline& outline, const OutlinePen& pen);

}  // namespace scanvelt
