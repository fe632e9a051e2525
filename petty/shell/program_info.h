#pragma once
// What the windows show about the program itself.
#include <string_view>

namespace petty {

inline constexpr std::string_view kProgramName = "Ostrelle";
inline constexpr std::string_view kProgramSubtitle = "Pettycash Management";
inline constexpr std::string_view kMakerName = "Kelvra Technologies";
inline constexpr std::string_view kVersionLabel = "Version 1.0";
inline constexpr std::string_view kEditionLabel = "Desktop edition";
// Where a clerk asks for what the program does not ship (a customised report).
inline constexpr std::string_view kSupportAddress = "support@kelvra.example";

}  // namespace petty
