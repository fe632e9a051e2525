#include <array>
#include <cmath>

#include "imaging/engine/filters/channel_rows.h"
#include "imaging/engine/filters/channel_rules.h"
#include "imaging/engine/filters/point_filters.h"

namespace scanvelt::filters {

// A value that does not fit a byte (0 to a negative power, a result above
// 255) is kept as kUnfitChannel: it fails the call only when a pixel uses it.
std::array<int32_t, 256> GammaTable(double amount) {
    int32_t percent = AmountAsInteger(amount);
    if (percent == 0) percent = 1;
    const float g = static_cast<float>(static_cast<double>(percent) / 100.0);
    const double exponent = 1.0 / static_cast<double>(g);
    std::array<int32_t, 256> table{};
    for (int32_t v = 0; v < 256; ++v) {
        const double value = std::pow(static_cast<double>(v) / 255.0, exponent) * 255.0;
        try {
            table[static_cast<size_t>(v)] = ToChannel(value);
        } catch (const EngineFailure&) {
            table[static_cast<size_t>(v)] = kUnfitChannel;
        }
    }
    return table;
}

bool PrepareGammaRows(const ChannelRows& rows, const FilterArguments& arguments, ChannelPlan& plan) {
    plan.Table = GammaTable(arguments.amount);
    bool anyUnfit = false;
    for (const int32_t v : plan.Table) anyUnfit = anyUnfit || v == kUnfitChannel;
    if (!anyUnfit) return true;
    const std::array<bool, 256> used = ChannelValuesUsed(rows);
    for (size_t v = 0; v < 256; ++v) {
        if (used[v] && plan.Table[v] == kUnfitChannel) throw EngineFailure("gamma out of range");
    }
    return true;
}

bool GammaFilter(FilterPixels& pixels, const FilterArguments& arguments) {
    const std::array<int32_t, 256> t = GammaTable(arguments.amount);
    const auto map = [&t](int32_t c) {
        const int32_t v = t[static_cast<size_t>(c)];
        if (v == kUnfitChannel) throw EngineFailure("gamma out of range");
        return v;
    };
    for (pixels.Position = 0; pixels.Position < pixels.Pixels.size(); ++pixels.Position) {
        uint32_t& p = pixels.Pixels[pixels.Position];
        p = WithColour(p, map(RedOf(p)), map(GreenOf(p)), map(BlueOf(p)));
    }
    return false;
}

}  // namespace scanvelt::filters
