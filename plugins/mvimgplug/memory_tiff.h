#pragma once
// TIFF files held in memory, through libtiff's client I/O. The plug-in's own
// libtiff handles report nothing on the standard streams: their errors and
// warnings go to handlers of their own, and a failure shows in the result.
#include <tiffio.h>

#include <cstdint>
#include <vector>

namespace mvimgplug {

class MemoryTiff {
public:
    MemoryTiff() = default;
    explicit MemoryTiff(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    ~MemoryTiff();
    MemoryTiff(const MemoryTiff&) = delete;
    MemoryTiff& operator=(const MemoryTiff&) = delete;

    // Opens the bytes with a libtiff mode ("w" starts them empty, "r" reads
    // them); null on failure. One open handle at a time.
    TIFF* Open(const char* mode);
    // Closes the handle, which writes out what it still holds.
    void Close();
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    static tmsize_t Read(thandle_t self, void* buffer, tmsize_t size);
    static tmsize_t Write(thandle_t self, void* buffer, tmsize_t size);
    static toff_t Seek(thandle_t self, toff_t offset, int whence);
    static int CloseProc(thandle_t self);
    static toff_t Size(thandle_t self);

    std::vector<uint8_t> bytes_;
    uint64_t position_ = 0;
    TIFF* tiff_ = nullptr;
};

}  // namespace mvimgplug
