#include "imaging/engine/leading_number.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace scanvelt {

namespace {

bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The text without the characters Val passes over.
std::string Compacted(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (!IsSkipped(c)) out += c;
    }
    return out;
}

double RadixNumber(std::string_view digits, int radix) {
    double value = 0;
    for (char c : digits) {
        const int digit = std::isdigit(static_cast<unsigned char>(c))
                              ? c - '0'
                              : (std::isxdigit(static_cast<unsigned char>(c)) ? std::toupper(c) - 'A' + 10 : radix);
        if (digit >= radix) break;
        value = value * radix + digit;
    }
    return value;
}

}  // namespace

double LeadingNumberOf(std::string_view text) {
    const std::string s = Compacted(text);
    if (s.size() >= 2 && s[0] == '&') {
        const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
        if (kind == 'H') return RadixNumber(std::string_view(s).substr(2), 16);
        if (kind == 'O') return RadixNumber(std::string_view(s).substr(2), 8);
        return 0;
    }
    // The longest prefix of the form [sign] digits [. digits] [E|D [sign] digits].
    size_t end = 0;
    if (end < s.size() && (s[end] == '+' || s[end] == '-')) ++end;
    const size_t mantissaStart = end;
    while (end < s.size() && std::isdigit(static_cast<unsigned char>(s[end]))) ++end;
    if (end < s.size() && s[end] == '.') {
        ++end;
        while (end < s.size() && std::isdigit(static_cast<unsigned char>(s[end]))) ++end;
    }
    if (end == mantissaStart || (end == mantissaStart + 1 && s[mantissaStart] == '.')) return 0;
    std::string number = s.substr(0, end);
    if (end < s.size() && (s[end] == 'E' || s[end] == 'e' || s[end] == 'D' || s[end] == 'd')) {
        size_t exponentEnd = end + 1;
        if (exponentEnd < s.size() && (s[exponentEnd] == '+' || s[exponentEnd] == '-')) ++exponentEnd;
        const size_t digitsStart = exponentEnd;
        while (exponentEnd < s.size() && std::isdigit(static_cast<unsigned char>(s[exponentEnd]))) ++exponentEnd;
        if (exponentEnd > digitsStart) number += "e" + s.substr(end + 1, exponentEnd - end - 1);
    }
    return std::strtod(number.c_str(), nullptr);
}

}  // namespace scanvelt
