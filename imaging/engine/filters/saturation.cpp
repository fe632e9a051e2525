#include "imaging/engine/filters/channel_rules.h"
#include "imaging/engine/filters/point_filters.h"

namespace scanvelt::filters {

bool SaturationFilter(FilterPixels& pixels, const FilterArguments& arguments) {
    const double factor = static_cast<float>(static_cast<double>(AmountAsInteger(arguments.amount)) / 100.0);
    const auto saturate = [factor](int32_t c, int32_t grey) {
        return LimitToChannel(RoundToInt32(factor * (c - grey) + c));
    };
    for (pixels.Position = 0; pixels.Position < pixels.Pixels.size(); ++pixels.Position) {
        uint32_t& p = pixels.Pixels[pixels.Position];
        const int32_t r = RedOf(p), g = GreenOf(p), b = BlueOf(p);
        const int32_t grey = GreyOfSum(r + g + b);
        p = WithColour(p, saturate(r, grey), saturate(g, grey), saturate(b, grey));
    }
    return false;
}

}  // namespace scanvelt::filters
