#pragma once
// What an image is: size, resolution, pixel format and its names, one pixel.
// A multi-page image answers for its current page.
#include <cstdint>
#include <string>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

// width := 0 first; InvalidParameter for an unregistered ID; 0 again on failure.
MorvalenStatus GetImageWidth(int32_t imageId, int32_t& width);
MorvalenStatus GetImageHeight(int32_t imageId, int32_t& height);
// Dots per inch; dpi := 0 first; InvalidParameter for an unregistered ID.
MorvalenStatus GetImageHorizontalResolution(int32_t imageId, float& dpi);
MorvalenStatus GetImageVerticalResolution(int32_t imageId, float& dpi);
// The GDI+ pixel-format code; InvalidParameter (format untouched) for an ID
// without a GDI+ image.
MorvalenStatus GetImagePixelFormat(int32_t imageId, int32_t& format);
// The format, 0 when it cannot be read.
int32_t PixelFormatOf(int32_t imageId);
// "24bppRGB" and the like, "Undefined" for a code outside the known fourteen.
MorvalenStatus GetPixelFormatName(int32_t imageId, std::string& name);
// depth := 0 first; the bits of the format, 32 for a code outside the table.
MorvalenStatus GetImageBitDepth(int32_t imageId, int32_t& depth);
// Bits per pixel of the format; 0 for an unregistered ID or an unknown format.
int32_t BitDepthOf(int32_t imageId);
// The format name cached in the entry, as stored; empty for an unregistered ID.
std::string FormatNameOf(int32_t imageId);
// The pixel as a 32-bit ARGB value; InvalidParameter for an unregistered ID.
MorvalenStatus GetImagePixel(int32_t imageId, int32_t x, int32_t y, uint32_t& color);

}  // namespace scanvelt
