#include "platform/win/text_encoding.h"

#include <array>
#include <cstdint>

namespace win {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t ansiToCodePoint(uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControlRange[byte - 0x80];
    return byte;
}

int codePointToAnsi(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (size_t i = 0; i < kHighControlRange.size(); ++i) {
        if (kHighControlRange[i] == c) return static_cast<int>(0x80 + i);
    }
    return -1;
}

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes one code point at `pos`, advancing it; malformed input (bad lead or
// continuation bytes, overlong forms, surrogates, values past U+10FFFF) yields
// kInvalid after consuming one byte.
char32_t decodeUtf8(std::string_view text, size_t& pos) {
    auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    uint8_t lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) { length = 2; value = lead & 0x1F; minimum = 0x80; }
    else if ((lead & 0xF0) == 0xE0) { length = 3; value = lead & 0x0F; minimum = 0x800; }
    else if ((lead & 0xF8) == 0xF0) { length = 4; value = lead & 0x07; minimum = 0x10000; }
    else { ++pos; return kInvalid; }
    if (pos + length > text.size()) { ++pos; return kInvalid; }
    for (int i = 1; i < length; ++i) {
        uint8_t next = byte(pos + i);
        if ((next & 0xC0) != 0x80) { ++pos; return kInvalid; }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) { ++pos; return kInvalid; }
    pos += length;
    return value;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string AnsiToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char b : bytes) AppendUtf8(out, ansiToCodePoint(static_cast<uint8_t>(b)));
    return out;
}

std::string Utf8ToAnsi(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        char32_t c = decodeUtf8(text, pos);
        int byte = c == kInvalid ? -1 : codePointToAnsi(c);
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        AppendUtf8(out, c);  // a lone surrogate comes out as U+FFFD
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        char32_t c = decodeUtf8(text, pos);
        if (c == kInvalid) c = kReplacement;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

size_t Utf8Length(std::string_view text) {
    size_t count = 0;
    for (size_t pos = 0; pos < text.size(); ++count) decodeUtf8(text, pos);
    return count;
}

}  // namespace win
