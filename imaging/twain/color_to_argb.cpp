#include "imaging/twain/color_to_argb.h"

#include "imaging/engine/color.h"

namespace scanvelt {

int32_t ColorToArgb(int32_t color) {
    cColor value;
    value.SetValue(color);
    if (value.GetAlpha() != 0) return color;
    value.FromRGBColor(color);
    return value.GetValue();
}

}  // namespace scanvelt
