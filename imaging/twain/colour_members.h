#pragma once
// The control's colour members: adjustments and effects run by the engine's
// filter dispatcher on the region of interest, the palette of an indexed
// current image, and the packing and unpacking of colour values.
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

class TwainControl;

// Filters on the region (the whole image in region mode 1). Each stores its
// status as the last status: GenericError without a current image, else the
// dispatcher's.
MorvalenStatus SetBrightness(TwainControl& control, int32_t brightnessPct);
MorvalenStatus SetContrast(TwainControl& control, int32_t contrastPct);
MorvalenStatus SetGammaCorrection(TwainControl& control, int32_t gammaFactor);
MorvalenStatus SetSaturation(TwainControl& control, int32_t saturationPct);
MorvalenStatus FxSepia(TwainControl& control);
MorvalenStatus FxStretchContrast(TwainControl& control);
MorvalenStatus FxNegative(TwainControl& control);
// The weight of the centre is kept within 1 to 100.
MorvalenStatus FxSoften(TwainControl& control, int32_t softenValue);
MorvalenStatus FxDespeckle(TwainControl& control);
MorvalenStatus FxSmooth(TwainControl& control);

// The palette of an indexed current image. count := 0 first; `colours` gets
// the entries only on success and is left as it was otherwise.
// NotIndexedPixelFormat for an image that is not indexed (or none).
MorvalenStatus ColorPaletteGet(TwainControl& control, std::vector<int32_t>& colours, int32_t& count);
// The number of palette entries; 0 when there are none to read.
int32_t ColorPaletteGetColorsCount(TwainControl& control);
// Replaces the palette with the given ARGB colours (at most the first 256):
// halftone flag when all are opaque, alpha flag otherwise. An empty array
// changes nothing.
MorvalenStatus ColorPaletteSet(TwainControl& control, std::span<const int32_t> colours);

// Colour values; none of them touches the last status.
struct RgbParts {
    uint8_t red = 0, green = 0, blue = 0;
};
struct ArgbParts {
    uint8_t alpha = 0, red = 0, green = 0, blue = 0;
};
// A Windows RGB value (red in bits 0-7).
RgbParts ColorGetRGBFromRGBValue(int32_t rgbValue);
ArgbParts ColorGetARGBFromARGBValue(int32_t argbValue);
// Each component limited to 0..255 first.
int32_t argb(int32_t alpha, int32_t red, int32_t green, int32_t blue);
// A Windows RGB value; each component is a 16-bit integer (std::overflow_error
// outside it) limited to 0..255.
int32_t GetRGB(int32_t red, int32_t green, int32_t blue);

}  // namespace scanvelt
