#pragma once
// What the windows show about the program itself.
#include <string_view>

namespace petty {

inline constexpr std::string_view kProgramName = "Ostrelle";
inline constexpr std::string_view kProgramSubtitle = "Pettycash Management";
inline constexpr std::string_view kMakerName = "Kelvra Technologies";
inline constexpr std::string_view kVersionLabel = "Version 1.0";
inline constexpr std::string_view kEditionLabel = "Desktop edition";

}  // namespace petty
