#include "plugins/mvimgplug/xpm_guard.h"

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "plugins/mvimgplug/pixel_budget.h"

namespace mvimgplug {

namespace {

// An XPM file that would not fit the pixel budget as text is not read at all.
constexpr long kMaxFileBytes = 256L << 20;

// The quoted strings of the file in order, the way the library's reader
// finds them: from one '"' to the next.
std::vector<std::string> QuotedStrings(const std::string& text) {
    std::vector<std::string> strings;
    size_t pos = 0;
    while ((pos = text.find('"', pos)) != std::string::npos) {
        const size_t end = text.find('"', pos + 1);
        if (end == std::string::npos) break;
        strings.push_back(text.substr(pos + 1, end - pos - 1));
        pos = end + 1;
    }
    return strings;
}

}  // namespace

bool XpmHoldsTogether(std::FILE* stream) {
    if (std::fseek(stream, 0, SEEK_END) != 0) return false;
    const long size = std::ftell(stream);
    if (size <= 0 || size > kMaxFileBytes) return false;
    std::rewind(stream);
    std::string text(static_cast<size_t>(size), '\0');
    if (std::fread(text.data(), 1, text.size(), stream) != text.size()) return false;

    const std::vector<std::string> strings = QuotedStrings(text);
    if (strings.empty()) return false;
    std::istringstream header(strings[0]);
    int64_t width = 0, height = 0, colours = 0, charsPerPixel = 0;
    if (!(header >> width >> height >> colours >> charsPerPixel)) return false;
    if (width < 1 || height < 1 || colours < 1 || charsPerPixel < 1 || charsPerPixel > 8) return false;
    if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > MaxPixelBytes() / 3) return false;
    if (static_cast<int64_t>(strings.size()) < 1 + colours + height) return false;
    for (int64_t i = 1; i <= colours; ++i) {
        if (static_cast<int64_t>(strings[static_cast<size_t>(i)].size()) < charsPerPixel) return false;
    }
    for (int64_t y = 0; y < height; ++y) {
        const auto& row = strings[static_cast<size_t>(1 + colours + y)];
        if (static_cast<int64_t>(row.size()) < width * charsPerPixel) return false;
    }
    return true;
}

}  // namespace mvimgplug
