#pragma once
// The arithmetic the pixel filters share: the channels of an ARGB pixel, the
// conversions of a fractional result to a channel (nearest, halves to even; a
// value that does not fit is a run-time failure, never wrapped), the integer
// mean of three channels and the percentage factors, which stay single
// precision because they decide ties.
#include <cstdint>

#include "imaging/engine/engine_numeric.h"
#include "platform/gdiplus/argb.h"

namespace scanvelt::filters {

inline int32_t RedOf(uint32_t pixel) { return gdiplus::RedOf(pixel); }
inline int32_t GreenOf(uint32_t pixel) { return gdiplus::GreenOf(pixel); }
inline int32_t BlueOf(uint32_t pixel) { return gdiplus::BlueOf(pixel); }

// The pixel with new red, green and blue (each 0..255) and its own alpha.
inline uint32_t WithColour(uint32_t pixel, int32_t red, int32_t green, int32_t blue) {
    return (pixel & 0xFF000000u) | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
           static_cast<uint32_t>(blue);
}

// A fractional channel value as a byte; EngineFailure outside 0..255.
inline int32_t ToChannel(double value) {
    const int32_t rounded = RoundToInt32(value);
    if (rounded < 0 || rounded > 255) throw EngineFailure("channel overflow");
    return rounded;
}

inline int32_t LimitToChannel(int32_t value) { return value < 0 ? 0 : value > 255 ? 255 : value; }

// The integer mean of three channels, from their sum (0..765).
inline int32_t GreyOfSum(int32_t sum) { return sum / 3; }

// (p + 100) / 100 as a single-precision factor; EngineFailure when p + 100
// leaves 32 bits.
inline float PercentFactorAbove100(int32_t percent) {
    return static_cast<float>(static_cast<double>(CheckedAdd(percent, 100)) / 100.0);
}

// An amount handed to a filter "as integer".
inline int32_t AmountAsInteger(double amount) { return RoundToInt32(amount); }

}  // namespace scanvelt::filters
