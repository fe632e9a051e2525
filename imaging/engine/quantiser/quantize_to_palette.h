#pragma once
// Reduction of an image to a new 8-bit indexed image of at most a given
// number of colours, with a palette built by the octree quantiser, and
// optionally one palette colour made transparent.
#include <cstdint>

#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/palette.h"

namespace scanvelt {

// colourCount is raised to 8 and lowered to 256 first (in the caller's
// variable too); on success it holds the palette's number of entries. The new
// image (its own pixel buffer, not marked modified) belongs to the caller,
// who releases it; `palette` is its palette with flags 4 (halftone). With
// `transparent`, the first entry whose summed channel distance from
// `colour` (a Windows RGB value: red in the low byte) is below 4 becomes that
// exact colour with alpha 0, and flags 5. The source is only read.
// InvalidParameter for an unregistered ID (newId and palette untouched); the
// status of the read lock or of making the image; OutOfMemory or
// GenericError for a run-time failure.
MorvalenStatus QuantizeToPalette(int32_t imageId, int32_t& newId, int32_t& colourCount,
                                 gdiplus::ColorPalette& palette, bool transparent, uint32_t colour);

}  // namespace scanvelt
