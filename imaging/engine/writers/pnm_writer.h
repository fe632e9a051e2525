#pragma once
// The engine's own writer of portable anymap files in their raw forms: "P4"
// (bilevel), "P5" (grey) and "P6" (colour). Files are written through the
// atomic writer: a failed write leaves no file, not half of one.
#include <cstdint>
#include <span>
#include <string>

#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/argb.h"

namespace scanvelt {

// Asks for "P5" for pixels of up to 8 bits; without it they are written as "P6".
inline constexpr int32_t kPnmGreyFlag = 512;

// The pixels the writer takes, rows from the top, `stride` bytes apart:
// depth 1 packed bits (the leftmost pixel in the most significant bit) of
// indexes into a palette; depth 8 one palette index per byte; depth 24 blue,
// green, red per pixel (no palette).
struct PnmPixels {
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 0;
    int32_t stride = 0;
    std::span<const uint8_t> bytes;
    std::span<const gdiplus::ARGB> palette;
};

// "P4" for depth 1: a bit is 1 (black) when the pixel's palette colour is
// dark, so a palette that puts white first still comes out the right way
// round; "P5" with kPnmGreyFlag for depth 8, each byte the green of the
// pixel's palette colour; "P6" otherwise, red, green, blue per pixel. True
// when the file was written whole.
bool WritePnm(const std::string& path, const PnmPixels& pixels, int32_t flags);

// Writes the image (its current page) as "P4" when it is 1 bit deep, "P5"
// through its palette's green components for 4 and 8 bits, and "P6" for
// deeper images (alpha is not written). InvalidParameter for an unregistered
// ID, the status of a palette read or lock that failed, GenericError when
// the file could not be written (no file is left then).
MorvalenStatus SaveImageAsPnm(int32_t imageId, const std::string& path);

// True when a palette colour counts as black in a bilevel file: its
// luminance lies below the middle.
bool IsDarkColour(gdiplus::ARGB colour);

}  // namespace scanvelt
