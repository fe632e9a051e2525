#include "platform/gdiplus/graphics/image_attributes.h"

#include <cmath>

namespace gdiplus {
namespace {

bool ValidType(ColorAdjustType type) { return type >= ColorAdjustTypeDefault && type < kColorAdjustTypeCount; }

std::array<std::uint8_t, 256> GammaTable(float gamma) {
    std::array<std::uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        table[v] = static_cast<std::uint8_t>(std::lround(255.0 * std::pow(v / 255.0, static_cast<double>(gamma))));
    }
    return table;
}

}  // namespace

Status ImageAttributes::SetRemapTable(ColorAdjustType type, bool enable, std::span<const ColorMap> map) {
    if (!ValidType(type)) return InvalidParameter;
    if (!enable) {
        types_[type].remap.clear();
        return Ok;
    }
    if (map.empty()) return InvalidParameter;
    types_[type].remap.assign(map.begin(), map.end());
    return Ok;
}

Status ImageAttributes::SetGamma(ColorAdjustType type, bool enable, float gamma) {
    if (!ValidType(type)) return InvalidParameter;
    if (!enable) {
        types_[type].gamma.reset();
        return Ok;
    }
    if (!(gamma > 0.0f) || !std::isfinite(gamma)) return InvalidParameter;
    types_[type].gamma = gamma;
    return Ok;
}

const ImageAttributes::Adjustments& ImageAttributes::InForce(ColorAdjustType type) const {
    if (ValidType(type) && types_[type].Any()) return types_[type];
    return types_[ColorAdjustTypeDefault];
}

bool ImageAttributes::Adjusts(ColorAdjustType type) const { return InForce(type).Any(); }

void ImageAttributes::Apply(ColorAdjustType type, std::span<ARGB> pixels) const {
    const Adjustments& adjust = InForce(type);
    if (!adjust.remap.empty()) {
        for (ARGB& pixel : pixels) {
            for (const ColorMap& entry : adjust.remap) {
                if (pixel == entry.oldColor) {
                    pixel = entry.newColor;
                    break;
                }
            }
        }
    }
    if (adjust.gamma) {
        const auto table = GammaTable(*adjust.gamma);
        for (ARGB& pixel : pixels) {
            pixel = MakeARGB(AlphaOf(pixel), table[RedOf(pixel)], table[GreenOf(pixel)], table[BlueOf(pixel)]);
        }
    }
}

}  // namespace gdiplus
