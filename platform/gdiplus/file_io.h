#pragma once
// Whole-file reading and the atomic writing of files: a file is written under
// a temporary name beside it and renamed into place, or removed on failure,
// so that a failed save never leaves half a file.
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "platform/files/atomic_file_writer.h"
#include "platform/gdiplus/status.h"

namespace gdiplus {

// FileNotFound for a missing file or folder, AccessDenied when it may not be
// read, Win32Error for other failures.
Status ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes);

// The system's one atomic writer (platform/files) with GDI+ status codes.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    // Removes the temporary file unless Commit succeeded.
    ~AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file beside `path`: FileNotFound when the folder
    // is missing, AccessDenied when it may not be written, Win32Error else.
    Status Open(const std::filesystem::path& path);
    Status Write(std::span<const std::uint8_t> bytes);
    // Flushes, closes and renames the file into place.
    Status Commit();

private:
    files::AtomicFileWriter writer_;
    bool open_ = false;
};

}  // namespace gdiplus
