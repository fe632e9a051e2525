#pragma once
// Test helpers of the database layer, also used by the tests of the book.
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/jet/error.h"

namespace jet::testing {

// The engine's number of the error that f raises; 0 when it raises none.
inline int errorNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

// A fresh private folder under the system's temporary folder, removed with
// everything in it when the test ends.
class TestFolder {
public:
    TestFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "jet-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a test folder");
        path_ = pattern;
    }
    ~TestFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace jet::testing
