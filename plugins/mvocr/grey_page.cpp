#include "plugins/mvocr/grey_page.h"

#include <cstddef>

namespace mvocr {

GreyPageResult MakeGreyPage(const uint8_t* pixels, int32_t width, int32_t height, int32_t bitsPerPixel,
                            int32_t bytesPerRow, std::vector<uint8_t>& grey) {
    if (pixels == nullptr || width <= 0 || height <= 0) return GreyPageResult::BadArgument;
    if (bitsPerPixel != 1 && bitsPerPixel != 24) return GreyPageResult::BadArgument;
    const int64_t rowBytes = bitsPerPixel == 1 ? (int64_t{width} + 7) / 8 : int64_t{width} * 3;
    if (bytesPerRow < rowBytes) return GreyPageResult::BadArgument;
    if (int64_t{width} * height > kMaxPagePixels) return GreyPageResult::TooLarge;

    grey.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(bytesPerRow);
        uint8_t* out = grey.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        if (bitsPerPixel == 1) {
            for (int32_t x = 0; x < width; ++x) out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        } else {
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t* p = row + 3 * x;
                out[x] = static_cast<uint8_t>((114 * p[0] + 587 * p[1] + 299 * p[2] + 500) / 1000);
            }
        }
    }
    return GreyPageResult::Made;
}

}  // namespace mvocr
