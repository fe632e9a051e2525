#include <array>

#include "imaging/engine/filters/channel_rules.h"
#include "imaging/engine/filters/point_filters.h"

namespace scanvelt::filters {

std::array<uint8_t, 256> BrightnessTable(double amount) {
    const float factor = PercentFactorAbove100(AmountAsInteger(amount));
    std::array<uint8_t, 256> table{};
    for (int32_t v = 0; v < 256; ++v) {
        table[static_cast<size_t>(v)] =
            static_cast<uint8_t>(LimitToChannel(RoundToInt32(static_cast<double>(factor) * v)));
    }
    return table;
}

bool BrightnessFilter(FilterPixels& pixels, const FilterArguments& arguments) {
    const std::array<uint8_t, 256> t = BrightnessTable(arguments.amount);
    for (pixels.Position = 0; pixels.Position < pixels.Pixels.size(); ++pixels.Position) {
        uint32_t& p = pixels.Pixels[pixels.Position];
        p = WithColour(p, t[RedOf(p)], t[GreenOf(p)], t[BlueOf(p)]);
    }
    return false;
}

bool PrepareBrightnessRows(const ChannelRows&, const FilterArguments& arguments, ChannelPlan& plan) {
    const std::array<uint8_t, 256> t = BrightnessTable(arguments.amount);
    for (size_t v = 0; v < 256; ++v) plan.Table[v] = t[v];
    return true;
}

void BrightenPalette(gdiplus::ColorPalette& palette, const FilterArguments& arguments) {
    const std::array<uint8_t, 256> t = BrightnessTable(arguments.amount);
    for (uint32_t i = 0; i < palette.Count && i < gdiplus::ColorPalette::kMaxEntries; ++i) {
        uint32_t& e = palette.Entries[i];
        e = WithColour(e, t[RedOf(e)], t[GreenOf(e)], t[BlueOf(e)]);
    }
}

}  // namespace scanvelt::filters
