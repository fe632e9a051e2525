#pragma once
// The control's pixel-format conversions of its current image. Every one
// keeps the image's ID, resolution and property items; one that fails leaves
// the image as it was. The own loops (1 bit, 8-bit grey, 4 bits) read the
// image once as 32-bit pixels and write the packed result once.
#include <cstdint>
#include <span>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

class TwainControl;

// These store their status as the last status (GenericError without an image).
// A pixel is white when red, green and blue are all above 125.
MorvalenStatus ConvertTo1Bpp(TwainControl& control);
// To 16 colours through the quantiser, then packed 4 bits with that palette.
MorvalenStatus ConvertTo4Bpp(TwainControl& control);
// The plain mean of red, green and blue over a 256-step grey palette.
MorvalenStatus ConvertTo8BppGrayScale(TwainControl& control);
MorvalenStatus ConvertTo8Bpp(TwainControl& control);

// The engine's conversion in place; the engine's status, the last status
// left alone (InvalidParameter without an image).
MorvalenStatus ConvertTo16Bpp(TwainControl& control);
MorvalenStatus ConvertTo24BppRGB(TwainControl& control);
MorvalenStatus ConvertTo32Bpp(TwainControl& control);
MorvalenStatus ConvertTo48Bpp(TwainControl& control);
// The premultiplied 64-bit format.
MorvalenStatus ConvertTo64Bpp(TwainControl& control);

// The engines behind them and behind resizing and rotation.
// 1 bit in which only opaque white (0xFFFFFFFF) stays white.
MorvalenStatus ConvertToBlackWhite(TwainControl& control);
MorvalenStatus ConvertToGray8(TwainControl& control);
// Palette reduction; count is limited to 8..256 by the engine and comes back
// as the palette's size. `transparentColour` is a Windows RGB value.
MorvalenStatus QuantizeCurrent(TwainControl& control, int32_t& colourCount, bool keepTransparent,
                               int32_t transparentColour);
// 4 bits, each pixel the nearest of the first 16 colours (lower index on a tie).
MorvalenStatus ConvertTo4BppCore(TwainControl& control, std::span<const int32_t> colours);

}  // namespace scanvelt
