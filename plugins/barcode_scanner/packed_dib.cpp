#include "plugins/barcode_scanner/packed_dib.h"

#include <array>
#include <cstring>

#include "platform/win/global_memory.h"

namespace barcode {
namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

uint32_t u32(std::span<const uint8_t> b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t u16(std::span<const uint8_t> b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

// ITU-R BT.601 weights in 1/256: what a scanner's grey conversion does.
uint8_t luma(uint8_t r, uint8_t g, uint8_t b) { return uint8_t((77 * r + 150 * g + 29 * b + 128) >> 8); }

}  // namespace

std::optional<GreyImage> GreyFromPackedDib(std::span<const uint8_t> dib) {
    if (dib.size() < 40) return std::nullopt;
    const uint32_t headerSize = u32(dib, 0);
    if (headerSize < 40 || headerSize > dib.size()) return std::nullopt;
    const int32_t width = int32_t(u32(dib, 4));
    const int32_t rawHeight = int32_t(u32(dib, 8));
    const uint16_t bits = u16(dib, 14);
    const uint32_t compression = u32(dib, 16);
    uint32_t colours = u32(dib, 32);
    if (width < 1 || width > kMaxDibSide || rawHeight == 0 || rawHeight < -kMaxDibSide || rawHeight > kMaxDibSide)
        return std::nullopt;
    const bool topDown = rawHeight < 0;
    const int32_t height = topDown ? -rawHeight : rawHeight;
    if (int64_t(width) * height > kMaxDibPixels) return std::nullopt;
    if (bits != 1 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
    // 32-bit DIBs may carry three channel masks after the header; they are
    // read as B, G, R, X whatever the masks say, as every caller writes them.
    if (compression != kBiRgb && !(compression == kBiBitfields && bits == 32)) return std::nullopt;

    size_t tableAt = headerSize;
    if (compression == kBiBitfields && headerSize == 40) tableAt += 12;
    std::array<uint8_t, 256> palette{};
    if (bits <= 8) {
        const uint32_t most = 1u << bits;
        if (colours == 0 || colours > most) colours = most;
        if (tableAt + size_t(colours) * 4 > dib.size()) return std::nullopt;
        for (uint32_t i = 0; i < colours; ++i) {
            const size_t at = tableAt + size_t(i) * 4;
            palette[i] = luma(dib[at + 2], dib[at + 1], dib[at]);
        }
        tableAt += size_t(colours) * 4;
    }
    const size_t stride = ((size_t(width) * bits + 31) / 32) * 4;
    if (tableAt > dib.size() || (dib.size() - tableAt) / stride < size_t(height)) return std::nullopt;

    GreyImage grey;
    grey.width = width;
    grey.height = height;
    grey.pixels.resize(size_t(width) * height);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = dib.data() + tableAt + stride * size_t(topDown ? y : height - 1 - y);
        uint8_t* out = grey.pixels.data() + size_t(y) * width;
        switch (bits) {
            case 1:
                for (int32_t x = 0; x < width; ++x) out[x] = palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 8:
                for (int32_t x = 0; x < width; ++x) out[x] = palette[row[x]];
                break;
            case 24:
                for (int32_t x = 0; x < width; ++x) out[x] = luma(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                break;
            default:
                for (int32_t x = 0; x < width; ++x) out[x] = luma(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
                break;
        }
    }
    return grey;
}

std::optional<GreyImage> GreyFromGlobalDib(uint32_t block) {
    const auto handle = win::HGLOBAL{block};
    const size_t size = win::GlobalSize(handle);
    const void* data = win::GlobalLock(handle);
    if (data == nullptr) return std::nullopt;
    std::optional<GreyImage> grey = GreyFromPackedDib({static_cast<const uint8_t*>(data), size});
    win::GlobalUnlock(handle);
    return grey;
}

}  // namespace barcode
