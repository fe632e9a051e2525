#pragma once
// For tests of any folder: makes a folder the process's working folder for
// as long as it lives, so relative paths are read against it, then puts the
// old one back.
#include <filesystem>

namespace files::testing {

class WorkingFolder {
public:
    explicit WorkingFolder(const std::filesystem::path& folder) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~WorkingFolder() {
        std::error_code ignored;
        std::filesystem::current_path(old_, ignored);
    }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    std::filesystem::path old_;
};

}  // namespace files::testing
