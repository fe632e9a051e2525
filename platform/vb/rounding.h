#pragma once
// VB's rounding to whole numbers: halves go to the even neighbour (banker's
// rounding), as Round, CInt and CLng do: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2.
#include <cstdint>
#include <optional>

namespace vb {

double roundHalfEven(double value);
// CInt / CLng: rounded, then nullopt when the result does not fit (VB's
// overflow) or the value is not a number.
std::optional<int16_t> cInt(double value);
std::optional<int32_t> cLng(double value);

}  // namespace vb
