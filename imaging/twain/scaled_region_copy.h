#pragma once
// An enlarged copy of a region of an image, drawn with high-quality bicubic
// interpolation: what the barcode readers scan when a careful scan of a
// small or low-resolution region found nothing.
#include <cstdint>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

// Sides below this many pixels: what a bitmap the readers hand on can have.
inline constexpr int32_t kMaxScaledSide = 32768;

// A new 24-bit image of (width x scale) x (height x scale) pixels, each
// rounded half to even, showing the rectangle (left, top, width, height) of
// the image. InvalidParameter for a size below 1 or not below
// kMaxScaledSide; otherwise the status of the first step that fails, with no
// copy left behind.
MorvalenStatus ScaledRegionCopy(int32_t imageId, int32_t left, int32_t top, int32_t width, int32_t height, double scale,
                                int32_t& copyId);

}  // namespace scanvelt
