#pragma once
// VB's text functions as the windows use them: Trim removes blanks only (not
// tabs), UCase and LCase change ASCII letters and leave other bytes alone.
#include <string>
#include <string_view>

namespace petty {

std::string trimBlanks(std::string_view text);
std::string upperCase(std::string_view text);
std::string lowerCase(std::string_view text);

}  // namespace petty
