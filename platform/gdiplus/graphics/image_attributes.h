#pragma once
// Colour adjustments applied to the pixels of an image as it is drawn: a
// remap table (pixels of exactly one colour become another) and a gamma, kept
// per colour-adjust type. A type without adjustments of its own uses those of
// the Default type.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/gdiplus/graphics/graphics_types.h"
#include "platform/gdiplus/status.h"

namespace gdiplus {

class ImageAttributes {
public:
    // With enable, the table replaces the type's table; without it, the
    // type's table is cleared. InvalidParameter for a type outside the
    // enumeration, or an empty table to enable.
    Status SetRemapTable(ColorAdjustType type, bool enable, std::span<const ColorMap> map);
    // With enable, pixels' colour channels become 255 x (c / 255)^gamma;
    // without it, the type's gamma is cleared. InvalidParameter for a type
    // outside the enumeration or a gamma that is not above 0 to enable.
    Status SetGamma(ColorAdjustType type, bool enable, float gamma);

    // Applies the adjustments in force for `type` to straight (not
    // premultiplied) ARGB pixels: remap first, then gamma.
    void Apply(ColorAdjustType type, std::span<ARGB> pixels) const;
    // True when `type` changes any pixel.
    bool Adjusts(ColorAdjustType type) const;

private:
    struct Adjustments {
        std::vector<ColorMap> remap;
        std::optional<float> gamma;
        bool Any() const { return !remap.empty() || gamma.has_value(); }
    };

    const Adjustments& InForce(ColorAdjustType type) const;

    std::array<Adjustments, kColorAdjustTypeCount> types_;
};

}  // namespace gdiplus
