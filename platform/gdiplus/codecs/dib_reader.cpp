#include "platform/gdiplus/codecs/dib_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace gdiplus::codecs {
namespace {

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

// OS/2 2.x headers may stop after their first fields: the 16-byte form
// (size, width, height, planes, bits) is the one writers use.
bool IsShortOs2HeaderSize(std::uint32_t size) { return size == 16; }

bool IsKnownHeaderSize(std::uint32_t size) {
    if (IsShortOs2HeaderSize(size)) return true;
    switch (size) {
    case 12:   // BITMAPCOREHEADER
    case 40:   // BITMAPINFOHEADER
    case 52:   // with the RGB masks inside
    case 56:   // with the alpha mask as well
    case 64:   // OS/2 2.x
    case 108:  // BITMAPV4HEADER
    case 124:  // BITMAPV5HEADER
        return true;
    default:
        return false;
    }
}

bool DepthAllowed(std::uint16_t bits, std::uint32_t compression) {
    switch (compression) {
    case DibRgb:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case DibRle8:
        return bits == 8;
    case DibRle4:
        return bits == 4;
    case DibBitFields:
    case DibAlphaBitFields:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

// A mask's shift and width; false for a mask whose bits are not contiguous.
bool MaskShape(std::uint32_t mask, std::uint32_t& shift, std::uint32_t& width) {
    if (mask == 0) {
        shift = width = 0;
        return true;
    }
    shift = static_cast<std::uint32_t>(std::countr_zero(mask));
    width = static_cast<std::uint32_t>(std::popcount(mask));
    return (mask >> shift) == ((width >= 32) ? 0xFFFFFFFFu : ((1u << width) - 1));
}

// The bitmap format the pixels go into; `unpack` tells that bit fields
// which no format holds as they are must be unpacked channel by channel.
PixelFormat FormatFor(const DibHeader& h, bool& unpack) {
    unpack = false;
    if (h.bitCount <= 8) {
        return h.bitCount == 1 ? PixelFormat1bppIndexed : h.bitCount == 4 ? PixelFormat4bppIndexed
                                                                            : PixelFormat8bppIndexed;
    }
    const auto& m = h.masks;
    const bool fields = h.compression == DibBitFields || h.compression == DibAlphaBitFields;
    if (h.bitCount == 16) {
        if (!fields) return PixelFormat16bppRGB555;
        if (m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F && m[3] == 0) return PixelFormat16bppRGB555;
        if (m[0] == 0xF800 && m[1] == 0x07E0 && m[2] == 0x001F && m[3] == 0) return PixelFormat16bppRGB565;
        if (m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F && m[3] == 0x8000) return PixelFormat16bppARGB1555;
    } else if (h.bitCount == 24) {
        return PixelFormat24bppRGB;
    } else if (h.bitCount == 32) {
        if (!fields) return PixelFormat32bppRGB;
        if (m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF) {
            if (m[3] == 0) return PixelFormat32bppRGB;
            if (m[3] == 0xFF000000) return PixelFormat32bppARGB;
        }
    }
    unpack = true;
    return m[3] != 0 ? PixelFormat32bppARGB : PixelFormat32bppRGB;
}

ColorPalette PaletteOf(const ByteView& bytes, const DibHeader& h) {
    ColorPalette palette;
    if (h.bitCount > 8) return palette;
    palette.Count = std::min<std::uint32_t>(h.tableEntries, 1u << h.bitCount);
    for (std::uint32_t i = 0; i < palette.Count; ++i) {
        const std::uint8_t* e = bytes.data() + h.tableOffset + std::uint64_t{i} * h.tableEntrySize;
        palette.Entries[i] = MakeARGB(0xFF, e[2], e[1], e[0]);
    }
    return palette;
}

// Scales a channel of `width` bits to 8 bits.
std::uint8_t Widen(std::uint32_t value, std::uint32_t width) {
    if (width == 0) return 0;
    if (width >= 8) return static_cast<std::uint8_t>(value >> (width - 8));
    const std::uint32_t max = (1u << width) - 1;
    return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
}

void UnpackBitFields(const std::uint8_t* src, std::uint32_t width, const DibHeader& h, std::uint8_t* dst) {
    std::array<std::uint32_t, 4> shift{}, bits{};
    for (int c = 0; c < 4; ++c) MaskShape(h.masks[c], shift[c], bits[c]);
    for (std::uint32_t x = 0; x < width; ++x) {
        std::uint32_t v = 0;
        if (h.bitCount == 16) {
            v = std::uint32_t{src[2 * x]} | std::uint32_t{src[2 * x + 1]} << 8;
        } else {
            std::memcpy(&v, src + 4 * x, 4);
        }
        std::uint8_t* p = dst + 4 * x;
        p[0] = Widen((v & h.masks[2]) >> shift[2], bits[2]);
        p[1] = Widen((v & h.masks[1]) >> shift[1], bits[1]);
        p[2] = Widen((v & h.masks[0]) >> shift[0], bits[0]);
        p[3] = h.masks[3] != 0 ? Widen((v & h.masks[3]) >> shift[3], bits[3]) : 0xFF;
    }
}

// Sets pixel x of an indexed row of 4 or 8 bits.
void PutIndex(std::uint8_t* row, std::uint32_t x, std::uint8_t index, std::uint16_t bitCount) {
    if (bitCount == 8) {
        row[x] = index;
    } else if (x % 2 == 0) {
        row[x / 2] = static_cast<std::uint8_t>((row[x / 2] & 0x0F) | (index << 4));
    } else {
        row[x / 2] = static_cast<std::uint8_t>((row[x / 2] & 0xF0) | (index & 0x0F));
    }
}

// RLE data draws from the bottom row up; pixels it skips stay index 0.
Status DecodeRle(const ByteView& data, const DibHeader& h, PixelRows& rows) {
    const bool four = h.compression == DibRle4;
    std::uint64_t at = 0;
    std::uint32_t x = 0, y = 0;  // y counts rows from the bottom
    auto put = [&](std::uint8_t index) {
        if (x < h.width && y < h.height) PutIndex(rows.Row(h.height - 1 - y), x, index, h.bitCount);
        ++x;
    };
    while (at < data.size()) {
        if (y >= h.height) return Ok;
        std::uint8_t count = 0, value = 0;
        if (!data.U8(at, count) || !data.U8(at + 1, value)) return InvalidParameter;
        at += 2;
        if (count > 0) {
            for (std::uint32_t i = 0; i < count && x < h.width; ++i)
                put(four ? static_cast<std::uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            return Ok;
        } else if (value == 2) {  // delta
            std::uint8_t dx = 0, dy = 0;
            if (!data.U8(at, dx) || !data.U8(at + 1, dy)) return InvalidParameter;
            at += 2;
            x += dx;
            y += dy;
        } else {  // absolute run of `value` pixels, padded to a 16-bit word
            const std::uint32_t bytes = four ? (value + 1u) / 2 : value;
            if (!data.Has(at, bytes)) return InvalidParameter;
            for (std::uint32_t i = 0; i < value; ++i) {
                const std::uint8_t b = data.data()[at + (four ? i / 2 : i)];
                put(four ? static_cast<std::uint8_t>(i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
            }
            at += bytes + (bytes % 2);
        }
    }
    // Data that ends without its end-of-bitmap mark keeps what it drew.
    return Ok;
}

}  // namespace

std::uint64_t DibRowBytes(std::uint64_t width, std::uint32_t bitCount) {
    return (width * bitCount + 31) / 32 * 4;
}

Status ReadDibHeader(const ByteView& bytes, std::uint64_t offset, DibHeader& h) {
    h = DibHeader{};
    if (!bytes.U32(offset, h.headerSize) || !IsKnownHeaderSize(h.headerSize)) return InvalidParameter;
    if (!bytes.Has(offset, h.headerSize)) return InvalidParameter;
    std::int64_t width = 0, height = 0;
    std::uint16_t planes = 0;
    if (h.headerSize == kCoreHeaderSize) {
        std::uint16_t w = 0, hh = 0;
        bytes.U16(offset + 4, w);
        bytes.U16(offset + 6, hh);
        bytes.U16(offset + 8, planes);
        bytes.U16(offset + 10, h.bitCount);
        width = w;
        height = hh;
        h.tableEntrySize = 3;
    } else {
        std::int32_t w = 0, hh = 0;
        bytes.I32(offset + 4, w);
        bytes.I32(offset + 8, hh);
        bytes.U16(offset + 12, planes);
        bytes.U16(offset + 14, h.bitCount);
        // A short OS/2 header leaves out the fields past its end: they are 0.
        const ByteView header = *bytes.Slice(offset, h.headerSize);
        header.U32(16, h.compression);
        header.U32(20, h.sizeImage);
        header.I32(24, h.xPelsPerMeter);
        header.I32(28, h.yPelsPerMeter);
        header.U32(32, h.tableEntries);
        // OS/2 2.x numbers its compressions 3 (Huffman 1D) and 4 (24-bit RLE)
        // where Windows has bit fields and JPEG: neither is read here.
        const bool os2 = h.headerSize == 64 || IsShortOs2HeaderSize(h.headerSize);
        if (os2 && (h.compression == 3 || h.compression == 4)) return UnknownImageFormat;
        width = w;
        height = hh;
    }
    // A bitmap has exactly one plane; files that say otherwise are damaged or made to mislead.
    if (planes != 1) return InvalidParameter;
    if (h.compression == 4 || h.compression == 5) return UnknownImageFormat;  // JPEG or PNG inside
    if (!DepthAllowed(h.bitCount, h.compression)) return InvalidParameter;
    h.topDown = height < 0;
    if (width <= 0 || height == 0 || height == INT32_MIN) return InvalidParameter;
    if (h.topDown && (h.compression == DibRle4 || h.compression == DibRle8)) return InvalidParameter;
    h.width = static_cast<std::uint32_t>(width);
    h.height = static_cast<std::uint32_t>(height < 0 ? -height : height);

    std::uint64_t next = offset + h.headerSize;
    if (h.compression == DibBitFields || h.compression == DibAlphaBitFields) {
        const std::uint32_t count = h.compression == DibAlphaBitFields ? 4 : 3;
        // Headers from 52 bytes on hold the masks; a 40-byte one is followed by them.
        const bool inside = h.headerSize >= 52;
        const std::uint64_t at = inside ? offset + kInfoHeaderSize : next;
        for (std::uint32_t c = 0; c < count; ++c)
            if (!bytes.U32(at + 4 * c, h.masks[c])) return InvalidParameter;
        if (inside && h.headerSize >= 56) bytes.U32(offset + kInfoHeaderSize + 12, h.masks[3]);
        if (!inside) next += 4 * count;
        for (std::uint32_t c = 0; c < 4; ++c) {
            std::uint32_t shift = 0, bits = 0;
            if (!MaskShape(h.masks[c], shift, bits)) return InvalidParameter;
            if (h.bitCount == 16 && (h.masks[c] >> 16) != 0) return InvalidParameter;
        }
    }
    const bool impliedTable = h.tableEntries == 0 && h.bitCount <= 8;
    if (impliedTable) {
        // As many as the depth addresses, or as the file holds.
        h.tableEntries = 1u << h.bitCount;
        if (bytes.size() > next) {
            h.tableEntries = static_cast<std::uint32_t>(
                std::min<std::uint64_t>(h.tableEntries, (bytes.size() - next) / h.tableEntrySize));
        }
    }
    if (h.tableEntries > 256 && h.bitCount <= 8) return InvalidParameter;
    h.tableOffset = next;
    const std::uint64_t tableBytes = std::uint64_t{h.tableEntries} * h.tableEntrySize;
    if (!bytes.Has(next, tableBytes)) return InvalidParameter;
    h.endOfTable = next + tableBytes;
    return Ok;
}

Status DecodeDibPixels(const ByteView& bytes, const DibHeader& h, std::uint64_t pixelOffset,
                       std::unique_ptr<Bitmap>& bitmap) {
    bool unpack = false;
    const PixelFormat format = FormatFor(h, unpack);
    const bool rle = h.compression == DibRle4 || h.compression == DibRle8;
    const std::uint64_t srcStride = DibRowBytes(h.width, h.bitCount);
    std::uint64_t needed = 0;
    if (!rle && (MulOverflows(srcStride, h.height, needed) || !bytes.Has(pixelOffset, needed)))
        return InvalidParameter;
    if (rle && pixelOffset > bytes.size()) return InvalidParameter;

    // Run-length data may claim any size: it is held to what its bytes can draw.
    if (rle) {
        if (Status s = CheckDecodedSize(h.width, h.height, GetPixelFormatSize(format), bytes.size() - pixelOffset);
            s != Ok)
            return s;
    }
    std::unique_ptr<Bitmap> result;
    if (Status s = NewDecodedBitmap(h.width, h.height, format, result); s != Ok) return s;
    if (IsIndexedPixelFormat(format)) {
        if (Status s = result->SetPalette(PaletteOf(bytes, h)); s != Ok) return s;
    }
    result->SetResolution(DpiFromPixelsPerMeter(h.xPelsPerMeter), DpiFromPixelsPerMeter(h.yPelsPerMeter));
    {
        PixelRows rows(*result);
        if (!rows.ok()) return GenericError;
        if (rle) {
            std::uint64_t length = bytes.size() - pixelOffset;
            if (h.sizeImage != 0) length = std::min<std::uint64_t>(length, h.sizeImage);
            if (Status s = DecodeRle(*bytes.Slice(pixelOffset, length), h, rows); s != Ok) return s;
        } else {
            const std::uint64_t rowBytes = (std::uint64_t{h.width} * h.bitCount + 7) / 8;
            for (std::uint32_t y = 0; y < h.height; ++y) {
                const std::uint32_t memoryRow = h.topDown ? y : h.height - 1 - y;
                const std::uint8_t* src = bytes.data() + pixelOffset + memoryRow * srcStride;
                if (unpack) {
                    UnpackBitFields(src, h.width, h, rows.Row(y));
                } else {
                    std::memcpy(rows.Row(y), src, rowBytes);
                }
            }
        }
    }
    bitmap = std::move(result);
    return Ok;
}

}  // namespace gdiplus::codecs
