#include "plugins/mvimgplug/utf16_path.h"

namespace mvimgplug {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
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

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::string PathFromUtf16(const char16_t* path) {
    std::string out;
    if (path == nullptr) return out;
    for (const char16_t* p = path; *p != 0; ++p) {
        char32_t c = *p;
        if (IsHighSurrogate(*p) && IsLowSurrogate(p[1])) {
            c = 0x10000 + ((static_cast<char32_t>(*p) - 0xD800) << 10) + (static_cast<char32_t>(p[1]) - 0xDC00);
            ++p;
        } else if (IsHighSurrogate(*p) || IsLowSurrogate(*p)) {
            return {};
        }
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace mvimgplug
