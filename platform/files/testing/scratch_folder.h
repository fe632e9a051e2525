#pragma once
// For tests of any folder: a fresh private folder under the system's
// temporary folder, removed with everything in it when the test ends.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace files::testing {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix = "scratch") {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a scratch folder");
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // Writes `content` to `name` (folders on the way are made) and returns its path.
    std::string write(const std::string& name, const std::string& content) const {
        const std::filesystem::path target = path_ / name;
        std::filesystem::create_directories(target.parent_path());
        std::ofstream(target, std::ios::binary) << content;
        return target.string();
    }

    // The names directly in the folder, in no particular order.
    std::vector<std::filesystem::path> names() const {
        std::vector<std::filesystem::path> result;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) result.push_back(entry.path().filename());
        return result;
    }

private:
    std::filesystem::path path_;
};

}  // namespace files::testing
