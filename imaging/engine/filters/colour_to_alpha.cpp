#include <cmath>
#include <cstdlib>

#include "imaging/engine/filters/channel_rules.h"
#include "imaging/engine/filters/point_filters.h"

namespace scanvelt::filters {

bool ColorToAlphaFilter(FilterPixels& pixels, const FilterArguments& arguments) {
    const double threshold = std::floor(768.0 - (768.0 / 100.0) * arguments.amount);
    const auto colour = static_cast<uint32_t>(RoundToInt32(arguments.option1));
    const int32_t cr = RedOf(colour), cg = GreenOf(colour), cb = BlueOf(colour);
    for (pixels.Position = 0; pixels.Position < pixels.Pixels.size(); ++pixels.Position) {
        uint32_t& p = pixels.Pixels[pixels.Position];
        const int32_t distance = std::abs(GreenOf(p) - cg) + std::abs(BlueOf(p) - cb) + std::abs(RedOf(p) - cr);
        if (distance <= threshold) p &= 0x00FFFFFFu;
    }
    return false;
}

}  // namespace scanvelt::filters
