#pragma once
// Opening a file with the desktop's program for its type (a scanned bill, the
// quick-help guide). When no program opens it, the user is told which file it
// is, so that it can be opened by hand.
#include <string>

namespace petty {

// Opens `path` (a file system path); false, after a message box naming the
// file and its path, when the desktop has no program that opens it.
bool openWithDesktop(const std::string& path);

}  // namespace petty
