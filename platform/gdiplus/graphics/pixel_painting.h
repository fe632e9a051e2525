#pragma once
// Drawing with cairo into a bitmap of any pixel format: the pixels a drawing
// touches are locked as premultiplied ARGB (cairo's own layout), drawn on,
// and written back in the bitmap's format when the lock ends. Only the
// touched rectangle is locked, so the rest of the bitmap keeps its exact
// values and a large image costs only what is drawn. A 32-bit RGB bitmap
// with top-down rows (a device context's) is drawn on in place instead, with
// the same result: no buffer and no conversion of every pixel per drawing.
#include <cairo.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>

#include "platform/gdiplus/bitmap.h"

namespace gdiplus {

// Draws on a context whose device space is the bitmap's pixel grid.
using CairoDrawing = std::function<void(cairo_t*)>;

// The whole device pixels the drawing would touch, found by running it on a
// recording surface; nothing when it draws nothing.
std::optional<Rect> InkArea(const CairoDrawing& draw);

// The whole device pixels a shape with these corners (in the user space of
// `matrix`) can touch, as cairo rounds them: its corners in device space at
// cairo's 1/256 pixel precision, rounded outwards. Nothing when they span no
// pixel or are not finite numbers.
std::optional<Rect> DevicePixelsCovering(const cairo_matrix_t& matrix,
                                         std::initializer_list<std::pair<double, double>> corners);

// Whether every one of `count` 32-bit pixels has 0xFF in its top (alpha) byte.
bool AllOpaque(const std::uint32_t* pixels, std::int32_t count);

// Runs the drawing over the pixels of `area` (clipped to the bitmap) and
// writes them back. Ok without drawing when the area misses the bitmap; the
// lock's status when the pixels cannot be had; OutOfMemory when cairo cannot
// make its surface.
Status PaintArea(Bitmap& bitmap, const Rect& area, const CairoDrawing& draw);

}  // namespace gdiplus
