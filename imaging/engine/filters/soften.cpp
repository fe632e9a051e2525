#include "imaging/engine/filters/channel_rules.h"
#include "imaging/engine/filters/neighbourhood_filters.h"

namespace scanvelt::filters {

bool SoftenFilter(FilterPixels& pixels, const FilterArguments& arguments) {
    const int32_t p = AmountAsInteger(arguments.amount);
    if (p == INT32_MIN) throw EngineFailure("overflow");
    const int32_t centreWeight = CheckedAdd(101, -p);
    const int32_t divisor = CheckedAdd(centreWeight, 4);
    const int32_t w = pixels.Width;
    ArgbPixels& px = pixels.Pixels;
    const auto soften = [&](int32_t centre, int32_t right, int32_t left, int32_t down, int32_t up) {
        const int32_t sum = CheckedAdd(CheckedAdd(CheckedAdd(CheckedAdd(CheckedMultiply(centreWeight, centre), right),
                                                             left),
                                                  down),
                                       up);
        if (divisor == 0) throw EngineFailure("division by zero");
        const int32_t value = sum / divisor;
        if (value < 0 || value > 255) throw EngineFailure("channel overflow");
        return value;
    };
    for (int32_t y = 1; y < pixels.Height - 1; ++y) {
        for (int32_t x = 1; x < w - 1; ++x) {
            const size_t i = static_cast<size_t>(y) * w + x;
            pixels.Position = i;
            const uint32_t c = px[i], left = px[i - 1], right = px[i + 1], up = px[i - w], down = px[i + w];
            const int32_t r = soften(RedOf(c), RedOf(right), RedOf(left), RedOf(down), RedOf(up));
            const int32_t g = soften(GreenOf(c), GreenOf(right), GreenOf(left), GreenOf(down), GreenOf(up));
            const int32_t b = soften(BlueOf(c), BlueOf(right), BlueOf(left), BlueOf(down), BlueOf(up));
            px[i] = WithColour(c, r, g, b);
        }
    }
    return false;
}

}  // namespace scanvelt::filters
