#pragma once
// How the program starts on a book folder, once a front end (the Qt one, or
// the scripted one of tests) is installed as the forms runtime's host and Ui.
#include <filesystem>
#include <string>

namespace petty {

// The first start in a folder without a book shows the new-book window
// (modal), which creates it. With a book there, the log-in window shows (not
// modal) and the caller runs the event loop; while the book's options were
// never stored, the quick configuration opens first in the main window. False
// when there is still no book (the user cancelled): nothing is shown then.
// One program per book: the book folder is locked for the run (an OS lock
// that ends with the process), and a second start on it says so and shows
// nothing. Stale temporary files of killed writes are cleared at start.
bool startProgram(const std::filesystem::path& folder);

// What a second start on a book folder tells the user.
std::string bookOpenElsewhereMessage(const std::filesystem::path& programFolder);

// The folder as the system reports a program folder: absolute, without a
// trailing separator.
std::filesystem::path programFolderOf(const std::filesystem::path& folder);

}  // namespace petty
