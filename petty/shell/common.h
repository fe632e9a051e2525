#pragma once
// The shell's common module: what the report windows and bill scanning share.
#include <string>

namespace petty {

// Whether an ordinary file exists at the path (a directory-listing pattern,
// see findOrdinaryFile). It explains itself to the user: an empty path shows
// why nothing can be printed, and a missing report file (a path holding
// "rpt", letter case ignored) beeps and shows which file is missing; other
// missing files answer false silently. Never raises an error.
bool CheckFileExists(const std::string& path);

}  // namespace petty
