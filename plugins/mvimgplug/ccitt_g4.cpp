#include "plugins/mvimgplug/ccitt_g4.h"

#include <algorithm>
#include <vector>

#include "platform/gdiplus/codecs/tiff_memory_file.h"

namespace mvimgplug {

namespace {

bool FitsRows(size_t available, int32_t width, int32_t height, int32_t stride) {
    if (width < 1 || height < 1) return false;
    const int64_t rowBytes = (static_cast<int64_t>(width) + 7) / 8;
    if (stride < rowBytes) return false;
    return (static_cast<int64_t>(height) - 1) * stride + rowBytes <= static_cast<int64_t>(available);
}

// libtiff codes the rows as the one strip of a min-is-white TIFF (whose set
// bits are black); that strip is the code.
bool WriteStrip(std::vector<uint8_t>& bytes, std::span<const uint8_t> rows, int32_t width, int32_t height,
                int32_t stride) {
    gdiplus::codecs::TiffMemoryFile file(bytes);
    TIFF* tiff = file.tiff();
    if (tiff == nullptr) return false;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(height));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tiff, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(height));
    const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
    // libtiff may change the row it is given.
    std::vector<uint8_t> row(rowBytes);
    bool written = true;
    for (int32_t y = 0; y < height && written; ++y) {
        const auto start = rows.begin() + static_cast<ptrdiff_t>(y) * stride;
        std::copy(start, start + static_cast<ptrdiff_t>(rowBytes), row.begin());
        written = TIFFWriteScanline(tiff, row.data(), static_cast<uint32_t>(y), 0) >= 0;
    }
    written = written && TIFFWriteDirectory(tiff) != 0;
    return file.Close() && written;
}

std::optional<std::vector<uint8_t>> ReadStrip(const std::vector<uint8_t>& bytes) {
    gdiplus::codecs::TiffMemoryFile file(bytes);
    TIFF* tiff = file.tiff();
    if (tiff == nullptr || TIFFNumberOfStrips(tiff) != 1) return std::nullopt;
    uint64_t* counts = nullptr;
    if (!TIFFGetField(tiff, TIFFTAG_STRIPBYTECOUNTS, &counts) || counts == nullptr || counts[0] == 0 ||
        counts[0] > bytes.size()) {
        return std::nullopt;
    }
    std::vector<uint8_t> code(static_cast<size_t>(counts[0]));
    const tmsize_t read = TIFFReadRawStrip(tiff, 0, code.data(), static_cast<tmsize_t>(code.size()));
    if (read != static_cast<tmsize_t>(code.size())) return std::nullopt;
    return code;
}

}  // namespace

std::optional<std::vector<uint8_t>> EncodeCcittG4(std::span<const uint8_t> rows, int32_t width, int32_t height,
                                                  int32_t stride) {
    if (!FitsRows(rows.size(), width, height, stride)) return std::nullopt;
    std::vector<uint8_t> bytes;
    if (!WriteStrip(bytes, rows, width, height, stride)) return std::nullopt;
    return ReadStrip(bytes);
}

}  // namespace mvimgplug
