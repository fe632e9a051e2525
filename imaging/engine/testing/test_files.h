#pragma once
// Files for the tests of the loaders and savers: a fresh folder per test,
// removed with everything in it at the end, and the byte forms a test reads
// files in.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/win/stream.h"

namespace scanvelt::testing_support {

class ScopedTestFolder {
public:
    explicit ScopedTestFolder(const std::string& prefix)
        : path_(std::filesystem::temp_directory_path() / UniqueName(prefix)) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScopedTestFolder() { std::filesystem::remove_all(path_); }
    ScopedTestFolder(const ScopedTestFolder&) = delete;
    ScopedTestFolder& operator=(const ScopedTestFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string PathOf(const std::string& name) const { return (path_ / name).string(); }
    size_t FileCount() const {
        return static_cast<size_t>(
            std::distance(std::filesystem::directory_iterator(path_), std::filesystem::directory_iterator()));
    }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        const std::string file = PathOf(name);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

private:
    // Suite, test and process in the name: test binaries run side by side
    // (ctest -j, a sanitizer build beside the normal one) never share a folder.
    static std::string UniqueName(const std::string& prefix) {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        return prefix + "_" + test->test_suite_name() + "_" + test->name() + "_" + std::to_string(::getpid());
    }

    std::filesystem::path path_;
};

// Points the engine's temporary folder (the "TMP" variable) at a folder for
// the life of a scope, so the temporary files a test leaves can be counted.
class ScopedTempFolderVariable {
public:
    explicit ScopedTempFolderVariable(const std::filesystem::path& folder) {
        if (const char* old = std::getenv("TMP")) old_ = old;
        setenv("TMP", folder.c_str(), 1);
    }
    ~ScopedTempFolderVariable() {
        if (old_) {
            setenv("TMP", old_->c_str(), 1);
        } else {
            unsetenv("TMP");
        }
    }
    ScopedTempFolderVariable(const ScopedTempFolderVariable&) = delete;
    ScopedTempFolderVariable& operator=(const ScopedTempFolderVariable&) = delete;

private:
    std::optional<std::string> old_;
};

inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A stream on global memory holding the bytes, positioned at its start.
inline std::shared_ptr<win::Stream> StreamOf(const std::vector<uint8_t>& bytes) {
    std::shared_ptr<win::Stream> stream;
    EXPECT_EQ(win::CreateStreamOnHGlobal(win::HGLOBAL{}, true, stream), win::S_OK);
    uint32_t written = 0;
    stream->Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &written);
    stream->Seek(0, win::SeekOrigin::Begin, nullptr);
    return stream;
}

}  // namespace scanvelt::testing_support
