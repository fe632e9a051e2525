#include "platform/gdiplus/graphics/windows_font_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace gdiplus {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kStandIns = {{
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Microsoft Sans Serif", "Liberation Sans"},
    {"Arial Narrow", "Liberation Sans Narrow"},
    {"Verdana", "DejaVu Sans"},
    {"Tahoma", "DejaVu Sans"},
}};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::optional<std::string_view> StandInFamily(std::string_view windowsFamily) {
    for (const auto& [windows, installed] : kStandIns) {
        if (SameIgnoringCase(windows, windowsFamily)) return installed;
    }
    return std::nullopt;
}

std::vector<std::string_view> WindowsFamilyNames() {
    std::vector<std::string_view> names;
    for (const auto& entry : kStandIns) names.push_back(entry.first);
    return names;
}

}  // namespace gdiplus
