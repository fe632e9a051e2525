#pragma once
// The negative (filter code 2) in its three forms: on the ARGB working copy,
// on the bits of a 1-bit image, and on the palette of an indexed image.
#include <cstdint>

#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

inline constexpr int32_t kNegativeCode = 2;

// Red, green and blue of every pixel become 255 - value; alpha stays.
bool NegativeFilter(FilterPixels& pixels, const FilterArguments& arguments);
// Blue, green and red of the palette's entries become 255 - value.
void NegatePalette(gdiplus::ColorPalette& palette, const FilterArguments& arguments);
// Inverts the bits of the rectangle of a 1-bit image (the palette stays, so
// indices 0 and 1 swap). The status of the lock or unlock; OutOfMemory when
// there is no memory for the rows.
MorvalenStatus NegateBits1bpp(int32_t imageId, const RoiRect& roi);

}  // namespace scanvelt
