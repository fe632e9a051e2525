#pragma once
// The fonts that Windows hosts ask for by name, and the installed families
// that stand in for them here (the metric-compatible Liberation families,
// and DejaVu Sans for the wide humanist faces).
#include <optional>
#include <string_view>
#include <vector>

namespace gdiplus {

// The family that stands in for a Windows family name, compared without
// regard to case; nothing for any other name.
std::optional<std::string_view> StandInFamily(std::string_view windowsFamily);

// The Windows family names that have a stand-in, in a fixed order.
std::vector<std::string_view> WindowsFamilyNames();

}  // namespace gdiplus
