#pragma once
// The name a report file is written under before it is renamed into place:
// hidden, beside the file (so the rename stays on one file system), and of
// this process alone.
#include <unistd.h>

#include <filesystem>
#include <string>

namespace report {

inline std::filesystem::path temporaryNameFor(const std::filesystem::path& file) {
    return file.parent_path() / ("." + file.filename().string() + ".part-" + std::to_string(::getpid()));
}

}  // namespace report
