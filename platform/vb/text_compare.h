#pragma once
// VB's text comparison that ignores letter case (ASCII letters).
#include <string_view>

namespace vb {

bool equalIgnoringCase(std::string_view a, std::string_view b);

}  // namespace vb
