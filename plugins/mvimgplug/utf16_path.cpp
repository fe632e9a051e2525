#include "plugins/mvimgplug/utf16_path.h"

#include <string_view>

#include "platform/win/text_encoding.h"

namespace mvimgplug {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The conversion would put U+FFFD for an unpaired half: no file has that name.
bool HasUnpairedSurrogate(std::u16string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            ++i;
        } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string PathFromUtf16(const char16_t* path) {
    if (path == nullptr) return {};
    const std::u16string_view text(path);
    return HasUnpairedSurrogate(text) ? std::string() : win::Utf16ToUtf8(text);
}

}  // namespace mvimgplug
