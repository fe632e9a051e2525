#include "platform/vb/currency.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vb {

std::optional<Currency> Currency::fromDecimalText(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    // Accumulate as unsigned magnitude in ten-thousandths plus the digits past the fourth decimal.
    unsigned __int128 magnitude = 0;
    bool anyDigit = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + static_cast<unsigned>(text[i] - '0');
        anyDigit = true;
        if (magnitude > (static_cast<unsigned __int128>(1) << 64)) return std::nullopt;
    }
    magnitude *= kScale;
    int firstDropped = -1;   // the fifth decimal
    bool restNonZero = false;  // any non-zero digit after the fifth
    if (i < text.size() && text[i] == '.') {
        ++i;
        int decimals = 0;
        unsigned __int128 frac = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++decimals) {
            anyDigit = true;
            const int d = text[i] - '0';
            if (decimals < 4) frac = frac * 10 + static_cast<unsigned>(d);
            else if (decimals == 4) firstDropped = d;
            else if (d != 0) restNonZero = true;
        }
        for (int k = decimals; k < 4; ++k) frac *= 10;
        magnitude += frac;
    }
    if (!anyDigit || i != text.size()) return std::nullopt;
    if (firstDropped > 5 || (firstDropped == 5 && (restNonZero || (magnitude & 1)))) ++magnitude;
    const unsigned __int128 limit = static_cast<unsigned __int128>(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
    if (magnitude > limit) return std::nullopt;
    const int64_t units = negative ? static_cast<int64_t>(-static_cast<__int128>(magnitude))
                                   : static_cast<int64_t>(magnitude);
    return Currency(units);
}

std::optional<Currency> Currency::fromDouble(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 9.2233720368547758e14) return std::nullopt;
    // 15 significant digits: the binary noise below them is not part of the amount.
    // to_chars, unlike printf, writes a point whatever locale the process has set.
    char text[64];
    auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    // Magnitudes below 1e-4 come out in exponent form; plain fixed form is exact enough there.
    if (std::string_view(text, written.ptr).find('e') != std::string_view::npos)
        written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 20);
    return fromDecimalText(std::string_view(text, written.ptr));
}

}  // namespace vb
