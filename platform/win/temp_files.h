#pragma once
// The temporary folder and exclusive creation of new files in it.
#include <string>
#include <string_view>

namespace win {

// The temporary folder, without a trailing separator added: the environment
// variable "tmp", else "temp" (names without regard to case), else TMPDIR,
// else "/tmp". A variable that is empty, or 1,000 characters or longer,
// counts as not set.
std::string TempFolder();

enum class CreateNewFileResult {
    Created,    // the file did not exist and now does, empty, readable by its owner only
    NameTaken,  // something of that name exists (file, folder, hidden file, link); it is left alone
    Failed,     // the folder is missing, not writable, ...
};

// Creates `path` only when nothing of that name exists (O_CREAT | O_EXCL), so
// a file that appears between choosing a name and creating it is never
// overwritten.
CreateNewFileResult CreateNewFile(const std::string& path);

}  // namespace win
