#pragma once
// Drawing with cairo into a bitmap of any pixel format: the pixels a drawing
// touches are locked as premultiplied ARGB (cairo's own layout), drawn on,
// and written back in the bitmap's format when the lock ends. Only the
// touched rectangle is locked, so the rest of the bitmap keeps its exact
// values and a large image costs only what is drawn.
#include <cairo.h>

#include <functional>
#include <optional>

#include "platform/gdiplus/bitmap.h"

namespace gdiplus {

// Draws on a context whose device space is the bitmap's pixel grid.
using CairoDrawing = std::function<void(cairo_t*)>;

// The whole device pixels the drawing would touch, found by running it on a
// recording surface; nothing when it draws nothing.
std::optional<Rect> InkArea(const CairoDrawing& draw);

// Runs the drawing over the pixels of `area` (clipped to the bitmap) and
// writes them back. Ok without drawing when the area misses the bitmap; the
// lock's status when the pixels cannot be had; OutOfMemory when cairo cannot
// make its surface.
Status PaintArea(Bitmap& bitmap, const Rect& area, const CairoDrawing& draw);

}  // namespace gdiplus
