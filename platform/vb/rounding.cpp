#include "platform/vb/rounding.h"

#include <cmath>
#include <limits>

namespace vb {

namespace {

template <typename Int>
std::optional<Int> roundedInto(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= std::numeric_limits<Int>::min() && rounded <= std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

}  // namespace

double roundHalfEven(double value) {
    // Independent of the process's rounding mode, which someone else may have changed.
    const double down = std::floor(value);
    const double diff = value - down;
    if (diff < 0.5) return down;
    if (diff > 0.5) return down + 1;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

std::optional<int16_t> cInt(double value) { return roundedInto<int16_t>(value); }
std::optional<int32_t> cLng(double value) { return roundedInto<int32_t>(value); }

}  // namespace vb
