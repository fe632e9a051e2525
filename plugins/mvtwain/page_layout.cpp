#include "plugins/mvtwain/page_layout.h"

#include <cmath>
#include <cstring>

namespace mvtwain {
namespace {

constexpr size_t kInfoHeaderBytes = 40;
constexpr size_t kFileHeaderBytes = 14;

void put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint16_t sample16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);  // SANE sends 16-bit samples in the host's order
    return v;
}

int paletteEntries(PageForm form) {
    switch (form) {
    case PageForm::Dib1: return 2;
    case PageForm::Dib8: return 256;
    default: return 0;
    }
}

}  // namespace

std::optional<PageLayout> PlanPage(const FrameParameters& p, int64_t linesRead) {
    if (p.pixelsPerLine <= 0 || p.bytesPerLine <= 0 || linesRead <= 0 || linesRead > INT32_MAX) return std::nullopt;
    PageLayout layout;
    layout.width = p.pixelsPerLine;
    layout.height = static_cast<int>(linesRead);
    layout.sourceStride = p.bytesPerLine;
    layout.depth = p.depth;
    layout.colour = p.format == FrameParameters::Format::Rgb;
    if (p.format != FrameParameters::Format::Gray && p.format != FrameParameters::Format::Rgb) return std::nullopt;
    const int channels = layout.colour ? 3 : 1;
    if (p.depth == 1 && !layout.colour) {
        layout.form = PageForm::Dib1;
        layout.bitsPerPixel = 1;
    } else if (p.depth == 8) {
        layout.form = layout.colour ? PageForm::Dib24 : PageForm::Dib8;
        layout.bitsPerPixel = 8 * channels;
    } else if (p.depth == 16) {
        layout.form = PageForm::Raw48;
        layout.bitsPerPixel = 48;
    } else {
        return std::nullopt;
    }
    // The line as read must hold every pixel.
    const uint64_t needed = (static_cast<uint64_t>(layout.width) * channels * p.depth + 7) / 8;
    if (needed > static_cast<uint64_t>(p.bytesPerLine)) return std::nullopt;
    const uint64_t rowBits = static_cast<uint64_t>(layout.width) * layout.bitsPerPixel;
    const uint64_t stride = (rowBits + 31) / 32 * 4;
    if (stride > INT32_MAX) return std::nullopt;
    layout.outputStride = static_cast<int>(stride);
    layout.headerBytes = layout.form == PageForm::Raw48 ? 0 : kInfoHeaderBytes + 4 * paletteEntries(layout.form);
    const uint64_t total = layout.headerBytes + stride * static_cast<uint64_t>(layout.height);
    const uint64_t input = static_cast<uint64_t>(p.bytesPerLine) * static_cast<uint64_t>(layout.height);
    if (total > kPageMemoryCeiling || input > kPageMemoryCeiling) return std::nullopt;
    layout.outputBytes = static_cast<size_t>(total);
    return layout;
}

bool BuildPage(const PageLayout& layout, std::span<const uint8_t> data, double dpi, std::span<uint8_t> out) {
    const uint64_t input = static_cast<uint64_t>(layout.sourceStride) * static_cast<uint64_t>(layout.height);
    if (data.size() < input || out.size() != layout.outputBytes) return false;
    uint8_t* o = out.data();
    // Every byte is written below (no pass over the whole page first): the
    // header, the palette with its reserved bytes, and each row's padding.
    if (layout.form != PageForm::Raw48) {
        const uint32_t perMetre =
            dpi > 0 && std::isfinite(dpi) && dpi < 1e6 ? static_cast<uint32_t>(std::lround(dpi / 0.0254)) : 0;
        const int entries = paletteEntries(layout.form);
        put32(o, kInfoHeaderBytes);
        put32(o + 4, static_cast<uint32_t>(layout.width));
        put32(o + 8, static_cast<uint32_t>(layout.height));  // positive: rows bottom-up
        put16(o + 12, 1);
        put16(o + 14, static_cast<uint16_t>(layout.bitsPerPixel));
        put32(o + 16, 0);  // uncompressed
        put32(o + 20, static_cast<uint32_t>(static_cast<uint64_t>(layout.outputStride) * layout.height));
        put32(o + 24, perMetre);
        put32(o + 28, perMetre);
        put32(o + 32, static_cast<uint32_t>(entries));
        put32(o + 36, 0);
        uint8_t* palette = o + kInfoHeaderBytes;
        for (int i = 0; i < entries; ++i) {
            const uint8_t level = static_cast<uint8_t>(entries == 2 ? i * 255 : i);
            palette[4 * i] = palette[4 * i + 1] = palette[4 * i + 2] = level;
            palette[4 * i + 3] = 0;
        }
    }
    uint8_t* pixels = o + layout.headerBytes;
    const size_t width = static_cast<size_t>(layout.width);
    for (int y = 0; y < layout.height; ++y) {
        const uint8_t* src = data.data() + static_cast<size_t>(y) * layout.sourceStride;
        // A DIB stores its rows bottom-up; a RAW buffer top-down.
        const int row = layout.form == PageForm::Raw48 ? y : layout.height - 1 - y;
        uint8_t* dst = pixels + static_cast<size_t>(row) * layout.outputStride;
        switch (layout.form) {
        case PageForm::Dib1: {
            // SANE's line art marks black with 1; the palette's entry 0 is black.
            const size_t bytes = (width + 7) / 8;
            for (size_t i = 0; i < bytes; ++i) dst[i] = static_cast<uint8_t>(~src[i]);
            if (width % 8) dst[bytes - 1] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
            break;
        }
        case PageForm::Dib8: std::memcpy(dst, src, width); break;
        case PageForm::Dib24:
            for (size_t x = 0; x < width; ++x) {
                dst[3 * x] = src[3 * x + 2];
                dst[3 * x + 1] = src[3 * x + 1];
                dst[3 * x + 2] = src[3 * x];
            }
            break;
        case PageForm::Raw48:
            // Blue, green, red, 16-bit little-endian each; grey goes into all three.
            for (size_t x = 0; x < width; ++x) {
                uint16_t r, g, b;
                if (layout.colour) {
                    r = sample16(src + 6 * x);
                    g = sample16(src + 6 * x + 2);
                    b = sample16(src + 6 * x + 4);
                } else {
                    r = g = b = sample16(src + 2 * x);
                }
                put16(dst + 6 * x, b);
                put16(dst + 6 * x + 2, g);
                put16(dst + 6 * x + 4, r);
            }
            break;
        }
        const size_t used = layout.form == PageForm::Dib1    ? (width + 7) / 8
                            : layout.form == PageForm::Dib8  ? width
                            : layout.form == PageForm::Dib24 ? 3 * width
                                                             : 6 * width;
        std::memset(dst + used, 0, static_cast<size_t>(layout.outputStride) - used);
    }
    return true;
}

size_t BmpFileHeaderBytes() { return kFileHeaderBytes; }

void WriteBmpFileHeader(std::span<const uint8_t> dib, std::span<uint8_t> header) {
    if (header.size() < kFileHeaderBytes || dib.size() < kInfoHeaderBytes) return;
    uint32_t colours = 0;
    for (int i = 0; i < 4; ++i) colours |= static_cast<uint32_t>(dib[32 + i]) << (8 * i);
    header[0] = 'B';
    header[1] = 'M';
    put32(header.data() + 2, static_cast<uint32_t>(kFileHeaderBytes + dib.size()));
    put32(header.data() + 6, 0);
    put32(header.data() + 10, static_cast<uint32_t>(kFileHeaderBytes + kInfoHeaderBytes + 4 * colours));
}

}  // namespace mvtwain
