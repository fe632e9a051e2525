#pragma once
// Files as the library reads and writes them: through its I/O callbacks over
// a C stream, so that paths never reach it (its own wide-path functions do
// nothing on Linux). Files are written under a temporary name beside the
// target and renamed into place only when the whole file was written.
#include <FreeImage.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

#include "platform/files/atomic_file_writer.h"

namespace mvimgplug {

// The library's I/O callbacks over a FILE* handle.
FreeImageIO* StreamIo();

// A file open for reading; closed when the last holder lets go of it.
class InputFile {
public:
    // Null when the file cannot be opened for reading (or is not a regular file).
    static std::shared_ptr<InputFile> Open(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The handle for StreamIo, positioned at the start of the file.
    fi_handle Rewound();
    std::FILE* Stream() { return stream_; }
    // The file's size in bytes; 0 when it cannot be told.
    uint64_t Size();

private:
    explicit InputFile(std::FILE* stream) : stream_(stream) {}
    std::FILE* stream_;
};

// A new file written whole or not at all: the system's atomic writer
// (platform/files) with a stdio stream for FreeImage's io over its temporary file.
class OutputFile {
public:
    OutputFile() = default;
    // Removes the temporary file unless Commit succeeded.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Open(const std::string& path);
    // The handle for StreamIo.
    fi_handle Handle() { return stream_; }
    bool Write(std::span<const uint8_t> bytes);
    // Flushes and closes the file and renames it into place.
    bool Commit();

private:
    files::AtomicFileWriter writer_;
    std::FILE* stream_ = nullptr;
};

}  // namespace mvimgplug
