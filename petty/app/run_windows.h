#pragma once
// The program's windows on a book folder, as the program runs them: the Qt
// front end, the scanner's dialogs, timers, clipboard, report output and
// printers installed, then the windows until the last one closes or the
// program ends.
#include <filesystem>

namespace petty {

// Needs the process's QApplication. The program's exit code; 1 when the
// program did not start (no book, or the book open elsewhere).
int runWindows(const std::filesystem::path& folder);

}  // namespace petty
