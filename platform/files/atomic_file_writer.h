#pragma once
// The one way this system writes a file: whole or not at all. The bytes go
// into a temporary file beside the target (one fixed naming pattern, hidden,
// same folder so the rename stays on one file system), which is flushed,
// synced, closed with its result checked, held against the size written,
// renamed over the target, and the folder synced so the rename survives a
// crash. On any failure the temporary file is removed and the target is left
// as it was. A program killed part-way leaves only a temporary file of the
// pattern, which removeStaleTemporaries() clears at the next start.
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace files {

// Read and write for the owner alone: the mode of every file written unless
// the caller asks for another.
inline constexpr mode_t kPrivateFileMode = 0600;

// The temporary name for `target`: ".<name>.part-<pid>-<random>" beside it.
std::filesystem::path temporaryNameFor(const std::filesystem::path& target);

// Whether `name` (a file name, no folder) is one of our temporary names.
bool isTemporaryName(std::string_view name);

class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    // Removes the temporary file unless commit() succeeded.
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file beside `target` with `mode` (before the
    // umask). The error is the system's (ENOENT: no such folder, EACCES, ...).
    // What the programs write is the user's own (a book folder holds private
    // data), so the default is 0600; a caller that shares a file says so.
    std::error_code open(const std::filesystem::path& target, mode_t mode = kPrivateFileMode);
    std::error_code write(const void* data, size_t size);
    std::error_code write(std::string_view bytes) { return write(bytes.data(), bytes.size()); }
    // Syncs, closes, checks the size, renames into place and syncs the folder.
    std::error_code commit();
    // Drops the temporary file; the target stays as it was.
    void discard();

    // For content written by another library that takes a file name (a PDF
    // or spreadsheet writer): the temporary file's name. Whatever it wrote
    // there is what commitWrittenByName() puts into place.
    const std::filesystem::path& temporaryPath() const { return temporary_; }
    // Closes our handle and commits the file as the other library left it,
    // refusing an empty one when `mayBeEmpty` is false.
    std::error_code commitWrittenByName(bool mayBeEmpty = false);

private:
    std::error_code finish(bool checkSize, bool mayBeEmpty);

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    uint64_t written_ = 0;
};

// Writes the whole of `bytes` as `target` through an AtomicFileWriter.
std::error_code writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                                    mode_t mode = kPrivateFileMode);

// Removes the temporary files (and folders built whole under a temporary
// name) of our pattern in `folder` (not below it) whose writing process is
// gone; returns how many were removed.
int removeStaleTemporaries(const std::filesystem::path& folder);

}  // namespace files
