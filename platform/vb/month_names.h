#pragma once
// English month names, as the program shows and reads them.
#include <string_view>

namespace vb {

// "January" .. "December" for 1..12; empty for any other number.
std::string_view monthName(int month);
// "Jan" .. "Dec" for 1..12; empty for any other number.
std::string_view abbreviatedMonthName(int month);
// 1..12 for a full or three-letter name in any letter case, else 0.
int monthOfName(std::string_view name);

}  // namespace vb
