#pragma once
// Drawing a rectangle of one image scaled into a rectangle of another.
#include <cstdint>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

// Through a graphics on the destination (GetImageGraphics: below GDI+
// version 6 an indexed destination becomes 32bppARGB first, and the
// destination is marked modified), with smoothing None, compositing quality
// GammaCorrected, pixel offset Half and the caller's interpolation mode,
// coordinates in pixels. When the draw fails it is tried once more with
// pixel offset None and interpolation NearestNeighbor. GenericError for a
// destination ID of 0; the graphics' status when it cannot be made; else the
// status of the last draw (InvalidParameter for an unregistered source).
MorvalenStatus DrawImageIntoImage(int32_t destinationId, int32_t sourceId, int32_t dstX, int32_t dstY,
                                  int32_t dstWidth, int32_t dstHeight, int32_t srcX, int32_t srcY, int32_t srcWidth,
                                  int32_t srcHeight, int32_t interpolation);

}  // namespace scanvelt
