#include "imaging/engine/filters/channel_rules.h"
#include "imaging/engine/filters/neighbourhood_filters.h"

namespace scanvelt::filters {

bool SmoothFilter(FilterPixels& pixels, const FilterArguments&) {
    const int32_t w = pixels.Width;
    ArgbPixels& p = pixels.Pixels;
    for (int32_t y = 1; y < pixels.Height - 1; ++y) {
        for (int32_t x = 1; x < w - 1; ++x) {
            const size_t i = static_cast<size_t>(y) * w + x;
            pixels.Position = i;
            const uint32_t c = p[i], left = p[i - 1], right = p[i + 1], up = p[i - w], down = p[i + w];
            const int32_t r = RedOf(left) + RedOf(c) + RedOf(up) + RedOf(down) + RedOf(right);
            const int32_t g = GreenOf(left) + GreenOf(c) + GreenOf(up) + GreenOf(down) + GreenOf(right);
            const int32_t b = BlueOf(left) + BlueOf(c) + BlueOf(up) + BlueOf(down) + BlueOf(right);
            p[i] = WithColour(c, r / 5, g / 5, b / 5);
        }
    }
    return false;
}

}  // namespace scanvelt::filters
