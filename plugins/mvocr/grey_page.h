#pragma once
// The caller's rows as one 8-bit grey page for tesseract. The sizes come from
// the caller and are checked against each other and a pixel ceiling before
// anything is allocated or read.
#include <cstdint>
#include <vector>

namespace mvocr {

// 200 million pixels: an A3 page at 1200 dpi passes, a forged size does not.
inline constexpr int64_t kMaxPagePixels = 200'000'000;

enum class GreyPageResult { Made, BadArgument, TooLarge };

// Rows top to bottom of bytesPerRow bytes: 24 bits as B, G, R (luma by
// ITU-R BT.601 weights) or 1 bit with the first pixel in the high bit and 0
// black. `grey` receives width x height bytes, 0 black to 255 white.
GreyPageResult MakeGreyPage(const uint8_t* pixels, int32_t width, int32_t height, int32_t bitsPerPixel,
                            int32_t bytesPerRow, std::vector<uint8_t>& grey);

}  // namespace mvocr
