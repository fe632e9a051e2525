#pragma once
// CCITT group 4 (T.6) coding of 1-bit rows, as a PDF's CCITTFaxDecode filter
// with K -1 reads it: set bits are black, clear bits white, rows top first,
// code bits filled from the most significant bit of each byte.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mvimgplug {

// The code of `height` rows of `width` pixels, `stride` bytes apart in
// `rows`. Nullopt when the description does not fit `rows` or coding fails.
std::optional<std::vector<uint8_t>> EncodeCcittG4(std::span<const uint8_t> rows, int32_t width, int32_t height,
                                                  int32_t stride);

}  // namespace mvimgplug
