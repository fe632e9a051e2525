#pragma once
// Environment variables as Windows reads them: names without regard to case.
#include <optional>
#include <string>
#include <string_view>

namespace win {

// The value of the variable whose name matches exactly, else of the first one
// whose name matches without regard to (ASCII) case; nullopt when none does.
std::optional<std::string> GetEnvironmentVariableNoCase(std::string_view name);

// ASCII case-insensitive comparison, the way Windows compares names.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace win
