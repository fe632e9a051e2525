#include "imaging/engine/engine_numeric.h"

#include <cmath>
#include <limits>

namespace scanvelt {

namespace {

template <class Integer>
Integer RoundTo(double value) {
    // nearbyint rounds in the default mode, which is to nearest with ties to even.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<Integer>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Integer>::max()))) {
        throw EngineFailure("overflow");
    }
    return static_cast<Integer>(rounded);
}

}  // namespace

int32_t RoundToInt32(double value) { return RoundTo<int32_t>(value); }

int16_t RoundToInt16(double value) { return RoundTo<int16_t>(value); }

int32_t CheckedMultiply(int32_t a, int32_t b) {
    int32_t product = 0;
    if (__builtin_mul_overflow(a, b, &product)) throw EngineFailure("overflow");
    return product;
}

int32_t CheckedAdd(int32_t a, int32_t b) {
    int32_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) throw EngineFailure("overflow");
    return sum;
}

}  // namespace scanvelt
