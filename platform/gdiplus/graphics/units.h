#pragma once
// Lengths in the units of the drawing layer, turned into device pixels.
#include <optional>

#include "platform/gdiplus/graphics/graphics_types.h"

namespace gdiplus {

// Device pixels in one unit at `dpi` dots per inch. Display counts as a pixel:
// every surface here is a raster one. Nothing for World (which has no fixed
// size) and for values outside the enumeration.
std::optional<double> PixelsPerUnit(Unit unit, double dpi);

}  // namespace gdiplus
