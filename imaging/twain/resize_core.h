#pragma once
// The resize engine of the control: draws an image into a new one of another
// size, keeping its pixel format (or a given one), its physical size and,
// when asked, its resolution and property items.
#include <cstdint>

#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/graphics/object_handles.h"

namespace scanvelt {

class TwainControl;

// The new image (0 when none could be made) belongs to the caller. The
// interpolation mode is GDI+'s; pixelFormat 0 keeps the source's. The
// result's resolution is scaled so that its physical size stays the same (a
// source without a resolution counts as 96 dpi). Status OK whenever a new
// image exists, GenericError for source 0, else the failing step's.
MorvalenStatus ResizeCore(TwainControl& control, int32_t sourceId, int32_t& newId, int32_t width, int32_t height,
                          int32_t interpolationMode, int32_t pixelFormat, bool keepMetadata);

// No smoothing, nearest-neighbour interpolation, high-speed compositing, no
// pixel offset.
void SetFastDrawingModes(gdiplus::GpGraphics graphics);

}  // namespace scanvelt
