#pragma once
// A pen: the colour and width of lines, the width counted in a unit.
#include <memory>

#include "platform/gdiplus/graphics/graphics_types.h"
#include "platform/gdiplus/status.h"

namespace gdiplus {

class Pen {
public:
    // InvalidParameter for a width below 0 (or not a number) or a unit
    // outside the enumeration. Width 0 draws lines one device pixel wide.
    static Status Create(ARGB color, float width, Unit unit, std::unique_ptr<Pen>& pen);

    ARGB Color() const { return color_; }
    float Width() const { return width_; }
    Unit WidthUnit() const { return unit_; }

private:
    Pen(ARGB color, float width, Unit unit) : color_(color), width_(width), unit_(unit) {}

    ARGB color_;
    float width_;
    Unit unit_;
};

}  // namespace gdiplus
