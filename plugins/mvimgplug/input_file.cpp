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

// A name beside the target that no file has yet.
std::string TemporaryNameFor(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    return target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

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
    if (stream_ == nullptr) return;
    std::fclose(stream_);
    ::unlink(temporary_.c_str());
}

bool OutputFile::Open(const std::string& path) {
    if (path.empty() || stream_ != nullptr) return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temporary = TemporaryNameFor(path);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        stream_ = ::fdopen(fd, "wb");
        if (stream_ == nullptr) {
            ::close(fd);
            ::unlink(temporary.c_str());
            return false;
        }
        target_ = path;
        temporary_ = std::move(temporary);
        return true;
    }
    return false;
}

bool OutputFile::Write(std::span<const uint8_t> bytes) {
    return stream_ != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), stream_) == bytes.size();
}

bool OutputFile::Commit() {
    if (stream_ == nullptr) return false;
    const bool written = std::fflush(stream_) == 0 && ::fsync(::fileno(stream_)) == 0;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (written && closed && std::rename(temporary_.c_str(), target_.c_str()) == 0) return true;
    ::unlink(temporary_.c_str());
    return false;
}

}  // namespace mvimgplug
