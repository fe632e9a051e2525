#pragma once
// The engine's knowledge of GDI+ pixel-format codes: bits per pixel, the indexed
// and alpha bits, and the row lengths that pixel buffers get.
#include <cstdint>
#include <string>

namespace scanvelt {

// Bit 16 of the code: the format has a palette. Answers for any code.
bool IsIndexedFormat(int32_t format);
// Bit 18 of the code: the format has alpha. Answers for any code.
bool IsAlphaFormat(int32_t format);

// Bits per pixel of the fourteen known formats; 0 for any other code.
int32_t BitsPerPixelOf(int32_t format);
// 0 for the code 0, the bits of a known format, 32 for any other code (an
// unknown format is laid out as 32 bits per pixel).
int32_t DepthOfFormat(int32_t format);
// The format's text ("24bppRGB"), "Undefined" for any other code.
std::string PixelFormatText(int32_t format);

// Padded row length that sizes every pixel buffer handed to GDI+: a multiple of
// 4 (of 16 for 4 bits, of 8 for 48 bits). 0 for a width below 1 and a depth
// outside 1, 4, 8, 16, 24, 32, 48, 64. EngineFailure when it leaves 32 bits.
int32_t StrideForDepth(int32_t width, int32_t depth);
// Bytes the pixels of one row take, unpadded; 0 as StrideForDepth.
int32_t BytesPerLine(int32_t width, int32_t depth);

}  // namespace scanvelt
