#include "platform/gdiplus/graphics/pen.h"

#include <cmath>

namespace gdiplus {

Status Pen::Create(ARGB color, float width, Unit unit, std::unique_ptr<Pen>& pen) {
    if (!(width >= 0.0f) || !std::isfinite(width) || unit < UnitWorld || unit > UnitMillimeter) {
        return InvalidParameter;
    }
    pen.reset(new Pen(color, width, unit));
    return Ok;
}

}  // namespace gdiplus
