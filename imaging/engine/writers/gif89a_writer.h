#pragma once
// The engine's own GIF89a writer: one image of 1-, 4- or 8-bit palette
// indexes with a global colour table, a graphic control extension that can
// name one transparent palette colour, its own LZW coder, optionally in
// interlaced row order. Files are written through the atomic writer: a failed
// write leaves no file.
#include <cstdint>
#include <span>
#include <string>

#include "imaging/engine/morvalen_status.h"
#include "imaging/engine/writers/gif_lzw_encoder.h"
#include "platform/gdiplus/argb.h"

namespace scanvelt {

inline constexpr int32_t kNoTransparentColour = -1;

// Writes the file: a colour table of 2^bpp entries (the palette's colours,
// black past its end), the transparent index the entry whose red, green and
// blue equal those of `transparentColour` (a Windows RGB value, red in the low
// byte; kNoTransparentColour for none) and whose alpha is 0, else the first
// entry of that colour, minimum code size bpp (2
// for 1 bit). `bpp` is 1, 4 or 8; the indexes hold `pixels.depth` bits each.
// False, with no file left, when the size passes 32767 or the file cannot be
// written.
bool WriteGif89a(const std::string& path, int32_t bpp, const GifIndexes& pixels,
                 std::span<const gdiplus::ARGB> palette, int32_t transparentColour);

// Writes the image (its current page) as an interlaced GIF89a file: images
// of more than 8 bits are first reduced to 256 colours by the octree; the
// transparent colour is that of the last palette entry with alpha 0.
// InvalidParameter for an unregistered ID, the status of a reduction,
// palette read or lock that failed, GenericError when the file could not be
// written (no file is left then).
MorvalenStatus SaveImageAsGif89a(int32_t imageId, const std::string& path);

}  // namespace scanvelt
