#include <array>

#include "imaging/engine/filters/channel_rules.h"
#include "imaging/engine/filters/point_filters.h"

namespace scanvelt::filters {

namespace {

struct ChannelRange {
    int32_t low = 255;
    int32_t high = 0;
    void Take(int32_t v) {
        if (v < low) low = v;
        if (v > high) high = v;
    }
    // A channel without spread keeps its values: 0..255 onto itself.
    void Settle() {
        if (low == high) {
            low = 0;
            high = 255;
        }
    }
    std::array<uint8_t, 256> Table() const {
        std::array<uint8_t, 256> table{};
        for (int32_t c = low; c <= high; ++c) {
            table[static_cast<size_t>(c)] =
                static_cast<uint8_t>(ToChannel(static_cast<double>((c - low) * 255) / (high - low)));
        }
        return table;
    }
};

}  // namespace

bool StretchContrastFilter(FilterPixels& pixels, const FilterArguments&) {
    ChannelRange red, green, blue;
    for (pixels.Position = 0; pixels.Position < pixels.Pixels.size(); ++pixels.Position) {
        const uint32_t p = pixels.Pixels[pixels.Position];
        red.Take(RedOf(p));
        green.Take(GreenOf(p));
        blue.Take(BlueOf(p));
    }
    red.Settle();
    green.Settle();
    blue.Settle();
    const std::array<uint8_t, 256> r = red.Table(), g = green.Table(), b = blue.Table();
    for (pixels.Position = 0; pixels.Position < pixels.Pixels.size(); ++pixels.Position) {
        uint32_t& p = pixels.Pixels[pixels.Position];
        p = WithColour(p, r[RedOf(p)], g[GreenOf(p)], b[BlueOf(p)]);
    }
    return false;
}

}  // namespace scanvelt::filters
