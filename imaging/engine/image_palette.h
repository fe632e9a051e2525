#pragma once
// The colour palette of an image (GDI+'s ColorPalette record).
#include <cstdint>

#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/palette.h"

namespace scanvelt {

// Bytes the palette takes in GDI+'s record: 8 + 4 per entry.
MorvalenStatus GetImagePaletteSize(int32_t imageId, int32_t& size);
MorvalenStatus GetImagePalette(int32_t imageId, gdiplus::ColorPalette& palette);
// The palette as the savers read it: its size first, then the palette; the
// status of the first that fails.
MorvalenStatus ReadImagePalette(int32_t imageId, gdiplus::ColorPalette& palette);
// Sets the palette and marks the image modified.
MorvalenStatus SetImagePalette(int32_t imageId, const gdiplus::ColorPalette& palette);
// The same without marking, for images the engine has just made.
MorvalenStatus SetImagePaletteUnmarked(int32_t imageId, const gdiplus::ColorPalette& palette);
// True when the palette has exactly 256 entries and entry i has red, green and
// blue all i (alpha is not looked at).
bool IsGreyscalePalette(int32_t imageId);

}  // namespace scanvelt
