#pragma once
// The program keeps its paths in Windows form ("C:\...\" strings built from
// the program folder, with "\" separators and any letter case); on Linux each
// is resolved against the file system here, names matched without regard to
// letter case, so the strings the windows show and compare stay as they were.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace petty {

// The folder with one "\" behind it, unless it already ends in a separator.
std::string withFolderSeparator(std::string_view folder);
// The folder's own name, whichever separator ends it ("/books/Acme\\" -> "Acme").
std::string folderName(std::string_view folder);

// The path as the user is shown it: the platform's separator in place of every "\".
std::string shownPath(std::string_view path);

// The file system path that a path of the program names ("\" and "/" both
// separate; every name is matched without regard to letter case, the exact
// spelling first). Names that match nothing are kept as written.
std::filesystem::path resolveProgramPath(std::string_view path);

// The first ordinary file that a directory-listing pattern finds (the
// program looks for its cursor and help files this way): "*" and "?" in the last name are wildcards,
// letter case is ignored, a pattern that ends in a separator finds any file in
// that folder, and folders and hidden files (names starting with ".") are
// never found. nullopt when nothing matches or the folder cannot be read.
std::optional<std::filesystem::path> findOrdinaryFile(std::string_view pattern);

}  // namespace petty
