#include "platform/gdiplus/graphics/units.h"

namespace gdiplus {

std::optional<double> PixelsPerUnit(Unit unit, double dpi) {
    switch (unit) {
    case UnitDisplay:
    case UnitPixel:
        return 1.0;
    case UnitPoint:
        return dpi / 72.0;
    case UnitInch:
        return dpi;
    case UnitDocument:
        return dpi / 300.0;
    case UnitMillimeter:
        return dpi / 25.4;
    case UnitWorld:
        break;
    }
    return std::nullopt;
}

}  // namespace gdiplus
