#pragma once
// Where a Windows-style path meets the Linux file system: "\" separators and
// names that Windows compares without regard to case.
#include <string>
#include <string_view>

namespace win {

// The Linux path of `path`: every "\" becomes "/", and each name that does not
// exist as written is matched against its folder without regard to (ASCII)
// case (the exact spelling wins; among several spellings the first in byte
// order). From the first name that matches nothing on, the rest is kept as
// written, so a path for a new file still names it. No other change is made:
// a drive prefix such as "C:" means nothing here and stays as written.
std::string ResolveWindowsPath(std::string_view path);

}  // namespace win
