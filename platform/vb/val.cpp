#include "platform/vb/val.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "platform/vb/leading_number.h"

namespace vb {

namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// "&H..." or "&O..." from pos (just past the '&').
double radixNumber(std::string_view text, size_t pos) {
    const char kind = pos < text.size() ? text[pos] : 0;
    const int radix = (kind == 'h' || kind == 'H') ? 16 : (kind == 'o' || kind == 'O') ? 8 : 0;
    if (radix == 0) return 0;
    uint64_t value = 0;
    for (pos = detail::skipBlanks(text, pos + 1); pos < text.size() && digitValue(text[pos]) < radix;
         pos = detail::skipBlanks(text, pos + 1)) {
        value = value * radix + static_cast<uint64_t>(digitValue(text[pos]));
        if (value > 0xFFFFFFFFu) return std::numeric_limits<double>::infinity();
    }
    if (value <= 0xFFFF) return static_cast<int16_t>(static_cast<uint16_t>(value));
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// Roughly where the first significant digit stands (10^result); decides whether a
// number out of a double's range is too large or too small.
long long decimalExponent(const detail::LeadingNumber& n) {
    const bool negativeExponent = !n.exponentDigits.empty() && n.exponentDigits[0] == '-';
    long long exponent = 0;
    for (size_t i = negativeExponent ? 1 : 0; i < n.exponentDigits.size(); ++i)
        exponent = std::min(exponent * 10 + (n.exponentDigits[i] - '0'), 1'000'000'000LL);
    if (negativeExponent) exponent = -exponent;
    const size_t firstInt = n.integerDigits.find_first_not_of('0');
    if (firstInt != std::string::npos) return exponent + static_cast<long long>(n.integerDigits.size() - firstInt);
    const size_t firstFraction = n.fractionDigits.find_first_not_of('0');
    return exponent - static_cast<long long>(firstFraction == std::string::npos ? 0 : firstFraction);
}

}  // namespace

double val(std::string_view text) {
    const size_t start = detail::skipBlanks(text, 0);
    if (start < text.size() && text[start] == '&') return radixNumber(text, detail::skipBlanks(text, start + 1));

    const detail::LeadingNumber n =
        detail::scanLeadingNumber(text, start, {.decimalSeparators = ".", .skipBlanksInside = true, .exponent = true});
    if (!n.anyDigit) return 0;
    std::string normal = (n.integerDigits.empty() ? "0" : n.integerDigits) + "." + n.fractionDigits + "0";
    if (!n.exponentDigits.empty()) normal += "e" + n.exponentDigits;
    double magnitude = 0;
    const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), magnitude);
    if (error == std::errc::result_out_of_range)
        magnitude = decimalExponent(n) < 0 ? 0.0 : std::numeric_limits<double>::infinity();
    return n.negative ? -magnitude : magnitude;
}

}  // namespace vb
