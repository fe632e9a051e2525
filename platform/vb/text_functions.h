#pragma once
// VB's text functions as the windows use them: Trim, LTrim and RTrim remove
// blanks only (tabs and line ends stay); UCase and LCase change the ASCII
// letters and leave every other byte alone, as the book compares text (so a
// UTF-8 character keeps its bytes).
#include <string>
#include <string_view>

namespace vb {

std::string trim(std::string_view text);
std::string ltrim(std::string_view text);
std::string rtrim(std::string_view text);
std::string ucase(std::string_view text);
std::string lcase(std::string_view text);

}  // namespace vb
