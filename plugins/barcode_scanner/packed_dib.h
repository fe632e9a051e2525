#pragma once
// Packed DIBs as the readers' callers hand them over: a 40-byte (or longer)
// info header, the colour table, then the rows, bottom-up for a positive
// height and top-down for a negative one, each padded to four bytes. The
// readers take 1-bit (with its two palette colours), 8-bit (palette), 24-bit
// and 32-bit uncompressed DIBs.
//
// Nothing in the header is trusted: every size is checked against the block
// and against a ceiling before anything is allocated.
#include <cstdint>
#include <optional>
#include <span>

#include "plugins/barcode_scanner/grey_image.h"

namespace barcode {

// 32767 pixels a side (what the callers can make), 400 million pixels in all.
inline constexpr int32_t kMaxDibSide = 32767;
inline constexpr int64_t kMaxDibPixels = 400'000'000;

// The DIB's luminance; nullopt for a block that is not a DIB of these kinds,
// is compressed, is shorter than its rows, or is too large.
std::optional<GreyImage> GreyFromPackedDib(std::span<const uint8_t> dib);

// The same for a DIB in a block of global memory (the handle's 32-bit value).
std::optional<GreyImage> GreyFromGlobalDib(uint32_t block);

}  // namespace barcode
