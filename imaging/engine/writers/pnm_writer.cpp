#include <array>
#include <string>
#include <vector>

#include "imaging/engine/writers/pnm_writer.h"
#include "platform/gdiplus/file_io.h"

namespace scanvelt {

namespace {

gdiplus::ARGB EntryOf(const PnmPixels& pixels, uint8_t index) {
    return index < pixels.palette.size() ? pixels.palette[index] : 0xFF000000u;
}

std::string HeaderOf(const char* magic, const PnmPixels& pixels, bool withMaximum) {
    std::string header = std::string(magic) + "\n" + std::to_string(pixels.width) + " " +
                         std::to_string(pixels.height) + "\n";
    if (withMaximum) header += "255\n";
    return header;
}

// The P4 byte of a byte of packed indexes: the bit of each pixel is the
// darkness of its colour.
std::array<uint8_t, 256> BitmapByteTable(const PnmPixels& pixels) {
    const bool dark0 = IsDarkColour(EntryOf(pixels, 0));
    const bool dark1 = IsDarkColour(EntryOf(pixels, 1));
    std::array<uint8_t, 256> table{};
    for (int32_t b = 0; b < 256; ++b) {
        const auto v = static_cast<uint8_t>(b);
        table[static_cast<size_t>(b)] = dark0 == dark1 ? (dark0 ? 0xFF : 0x00) : dark0 ? static_cast<uint8_t>(~v) : v;
    }
    return table;
}

void BitmapRow(const PnmPixels& pixels, const uint8_t* source, const std::array<uint8_t, 256>& table,
               std::vector<uint8_t>& row) {
    const size_t bytes = (static_cast<size_t>(pixels.width) + 7) / 8;
    for (size_t i = 0; i < bytes; ++i) row[i] = table[source[i]];
    if (const int32_t spare = pixels.width % 8; spare != 0) row[bytes - 1] &= static_cast<uint8_t>(0xFF00 >> spare);
}

void GreyRow(const PnmPixels& pixels, const uint8_t* source, const std::array<uint8_t, 256>& greens,
             std::vector<uint8_t>& row) {
    for (int32_t x = 0; x < pixels.width; ++x) row[static_cast<size_t>(x)] = greens[source[x]];
}

void ColourRow(const PnmPixels& pixels, const uint8_t* source, std::vector<uint8_t>& row) {
    uint8_t* out = row.data();
    if (pixels.depth == 24) {
        for (int32_t x = 0; x < pixels.width; ++x, source += 3, out += 3) {
            out[0] = source[2];
            out[1] = source[1];
            out[2] = source[0];
        }
        return;
    }
    for (int32_t x = 0; x < pixels.width; ++x, out += 3) {
        const gdiplus::ARGB entry = EntryOf(pixels, source[x]);
        out[0] = gdiplus::RedOf(entry);
        out[1] = gdiplus::GreenOf(entry);
        out[2] = gdiplus::BlueOf(entry);
    }
}

bool SoundInput(const PnmPixels& pixels) {
    if (pixels.width < 1 || pixels.height < 1) return false;
    const int64_t rowBytes = pixels.depth == 1 ? (int64_t{pixels.width} + 7) / 8
                             : pixels.depth == 8 ? int64_t{pixels.width}
                             : pixels.depth == 24 ? 3 * int64_t{pixels.width}
                                                  : -1;
    if (rowBytes < 0 || pixels.stride < rowBytes) return false;
    return static_cast<int64_t>(pixels.bytes.size()) >=
           int64_t{pixels.stride} * (pixels.height - 1) + rowBytes;
}

}  // namespace

bool IsDarkColour(gdiplus::ARGB colour) {
    return 0.299 * gdiplus::RedOf(colour) + 0.587 * gdiplus::GreenOf(colour) + 0.114 * gdiplus::BlueOf(colour) <
           128.0;
}

bool WritePnm(const std::string& path, const PnmPixels& pixels, int32_t flags) {
    if (!SoundInput(pixels)) return false;
    const bool bitmap = pixels.depth == 1;
    const bool grey = !bitmap && (flags & kPnmGreyFlag) == kPnmGreyFlag && pixels.depth <= 8;
    const char* magic = bitmap ? "P4" : grey ? "P5" : "P6";
    const size_t rowLength = bitmap ? (static_cast<size_t>(pixels.width) + 7) / 8
                             : grey ? static_cast<size_t>(pixels.width)
                                    : 3 * static_cast<size_t>(pixels.width);

    gdiplus::AtomicFileWriter file;
    if (file.Open(path) != gdiplus::Ok) return false;
    const std::string header = HeaderOf(magic, pixels, !bitmap);
    if (file.Write(std::span(reinterpret_cast<const uint8_t*>(header.data()), header.size())) != gdiplus::Ok) {
        return false;
    }
    const std::array<uint8_t, 256> bitTable = bitmap ? BitmapByteTable(pixels) : std::array<uint8_t, 256>{};
    std::array<uint8_t, 256> greens{};
    for (int32_t i = 0; i < 256; ++i) greens[static_cast<size_t>(i)] = gdiplus::GreenOf(EntryOf(pixels, static_cast<uint8_t>(i)));

    // Rows go out in batches, so a page costs few writes.
    constexpr size_t kBatchBytes = 1 << 20;
    std::vector<uint8_t> row(rowLength);
    std::vector<uint8_t> batch;
    batch.reserve(kBatchBytes + rowLength);
    for (int32_t y = 0; y < pixels.height; ++y) {
        const uint8_t* source = pixels.bytes.data() + static_cast<size_t>(y) * pixels.stride;
        if (bitmap) {
            BitmapRow(pixels, source, bitTable, row);
        } else if (grey) {
            GreyRow(pixels, source, greens, row);
        } else {
            ColourRow(pixels, source, row);
        }
        batch.insert(batch.end(), row.begin(), row.end());
        if (batch.size() >= kBatchBytes || y == pixels.height - 1) {
            if (file.Write(batch) != gdiplus::Ok) return false;
            batch.clear();
        }
    }
    return file.Commit() == gdiplus::Ok;
}

}  // namespace scanvelt
