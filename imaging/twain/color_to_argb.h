#pragma once
// The one reading of a colour argument of the Twain control's colour and
// drawing members: an ARGB value, or a Windows RGB value (COLORREF) when the
// alpha byte is 0, which then counts as opaque. A fully transparent ARGB
// colour therefore cannot be given.
#include <cstdint>

namespace scanvelt {

int32_t ColorToArgb(int32_t color);

}  // namespace scanvelt
