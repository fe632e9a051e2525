#include "imaging/output/pdf_syntax.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace scanvelt {

std::string FormatNumber(double value) {
    if (!std::isfinite(value)) return "0";
    // nearbyint rounds halves to even in the default rounding mode.
    const double thousandths = std::nearbyint(value * 1000.0);
    if (std::fabs(thousandths) >= 9.0e15) {
        char text[64];
        std::snprintf(text, sizeof text, "%.0f", value);
        return text;
    }
    const auto scaled = static_cast<std::int64_t>(thousandths);
    const std::uint64_t magnitude = scaled < 0 ? static_cast<std::uint64_t>(-scaled) : static_cast<std::uint64_t>(scaled);
    std::string text = scaled < 0 ? "-" : "";
    text += std::to_string(magnitude / 1000);
    unsigned fraction = static_cast<unsigned>(magnitude % 1000);
    if (fraction != 0) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%03u", fraction);
        std::string decimals(digits);
        while (decimals.back() == '0') decimals.pop_back();
        text += '.' + decimals;
    }
    return text;
}

std::string FormatFixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string HexString(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

namespace {

std::string Escape(std::string_view bytes, bool lineEnds) {
    std::string out;
    out.reserve(bytes.size() + 8);
    for (char c : bytes) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '(': out += "\\("; break;
        case ')': out += "\\)"; break;
        case '\r':
            if (lineEnds) out += "\\r";
            else out += c;
            break;
        case '\n':
            if (lineEnds) out += "\\n";
            else out += c;
            break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace

std::string EscapePdfString(std::string_view bytes) { return Escape(bytes, true); }
std::string EscapePdfStringBasic(std::string_view bytes) { return Escape(bytes, false); }

}  // namespace scanvelt
