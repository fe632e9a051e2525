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
// One program per book: the book file is locked for the run (an OS lock on
// the file itself, wherever its path leads, that ends with the process), and
// a second start on it says so and shows nothing. A book that can only be
// read (read-only media, file or folder) is locked shared, said so, and
// opens for reading. Stale temporary files of killed writes are cleared at start.
bool startProgram(const std::filesystem::path& folder);

// What a start on a book that can only be read tells the user.
std::string readOnlyBookMessage(const std::filesystem::path& programFolder);

// What a second start on a book folder tells the user.
std::string bookOpenElsewhereMessage(const std::filesystem::path& programFolder);

// The folder as the system reports a program folder: absolute, without a
// trailing separator.
std::filesystem::path programFolderOf(const std::filesystem::path& folder);

}  // namespace petty
