#include "platform/vb/amount_text.h"

#include <cstdint>

namespace vb {

std::string amountText(Currency amount, const Locale& locale) {
    const int64_t units = amount.units();
    // Work on the unsigned magnitude: -INT64_MIN does not fit an int64.
    const uint64_t magnitude = units < 0 ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
    std::string text = units < 0 ? "-" : "";
    text += std::to_string(magnitude / Currency::kScale);
    uint64_t fraction = magnitude % Currency::kScale;
    if (fraction != 0) {
        int decimals = 4;
        while (fraction % 10 == 0) { fraction /= 10; --decimals; }
        std::string digits = std::to_string(fraction);
        text += locale.decimalSeparator;
        text += std::string(static_cast<size_t>(decimals) - digits.size(), '0') + digits;
    }
    return text;
}

}  // namespace vb
