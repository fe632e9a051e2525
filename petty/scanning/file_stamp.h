#pragma once
// What a file was before a step wrote it, so that the step counts as stored
// only when it wrote the file itself: a file of the same name left by an
// earlier scan is never taken for the new one.
#include <cstdint>
#include <filesystem>

namespace petty {

struct FileStamp {
    bool exists = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t modifiedNs = 0;
    int64_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const std::filesystem::path& file);

// The file exists now and is not the one `before` describes.
bool writtenSince(const FileStamp& before, const std::filesystem::path& file);

}  // namespace petty
