#pragma once
// For tests: a fresh folder under the system's temporary folder, removed with
// everything in it when the test ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace win::testing {

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "scratch-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot create a scratch folder";
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    // Writes `content` to `name` (folders on the way are made) and returns its path.
    std::string write(const std::string& name, const std::string& content) const {
        std::filesystem::path target = std::filesystem::path(path_) / name;
        std::filesystem::create_directories(target.parent_path());
        std::ofstream(target, std::ios::binary) << content;
        return target.string();
    }

private:
    std::string path_;
};

// Sets an environment variable for one scope and restores it afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const char* value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) old_ = old, hadOld_ = true;
        if (value) ::setenv(name_.c_str(), value, 1);
        else ::unsetenv(name_.c_str());
    }
    ~ScopedEnvironment() {
        if (hadOld_) ::setenv(name_.c_str(), old_.c_str(), 1);
        else ::unsetenv(name_.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::string old_;
    bool hadOld_ = false;
};

}  // namespace win::testing
