#include "plugins/mvimgplug/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>

namespace mvimgplug {

namespace {

std::FILE* StreamOf(fi_handle handle) { return static_cast<std::FILE*>(handle); }

unsigned DLL_CALLCONV ReadProc(void* buffer, unsigned size, unsigned count, fi_handle handle) {
    return static_cast<unsigned>(std::fread(buffer, size, count, StreamOf(handle)));
}

unsigned DLL_CALLCONV WriteProc(void* buffer, unsigned size, unsigned count, fi_handle handle) {
    return static_cast<unsigned>(std::fwrite(buffer, size, count, StreamOf(handle)));
}

int DLL_CALLCONV SeekProc(fi_handle handle, long offset, int origin) {
    return std::fseek(StreamOf(handle), offset, origin);
}

long DLL_CALLCONV TellProc(fi_handle handle) { return std::ftell(StreamOf(handle)); }


}  // namespace

FreeImageIO* StreamIo() {
    static FreeImageIO io{ReadProc, WriteProc, SeekProc, TellProc};
    return &io;
}

std::shared_ptr<InputFile> InputFile::Open(const std::string& path) {
    if (path.empty()) return nullptr;
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (stream == nullptr) return nullptr;
    struct stat info {};
    if (::fstat(::fileno(stream), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(stream);
        return nullptr;
    }
    return std::shared_ptr<InputFile>(new InputFile(stream));
}

InputFile::~InputFile() { std::fclose(stream_); }

uint64_t InputFile::Size() {
    struct stat info {};
    return ::fstat(::fileno(stream_), &info) == 0 && info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
}

fi_handle InputFile::Rewound() {
    std::rewind(stream_);
    return stream_;
}

OutputFile::~OutputFile() {
    if (stream_ != nullptr) std::fclose(stream_);
}

bool OutputFile::Open(const std::string& path) {
    if (path.empty() || stream_ != nullptr) return false;
    if (writer_.open(path)) return false;
    stream_ = std::fopen(writer_.temporaryPath().c_str(), "wb");
    if (stream_ != nullptr) return true;
    writer_.discard();
    return false;
}

bool OutputFile::Write(std::span<const uint8_t> bytes) {
    return stream_ != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), stream_) == bytes.size();
}

bool OutputFile::Commit() {
    if (stream_ == nullptr) return false;
    const bool written = std::fflush(stream_) == 0;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (written && closed && !writer_.commitWrittenByName(true)) return true;
    writer_.discard();
    return false;
}

}  // namespace mvimgplug
