#pragma once
// Device-independent bitmaps as BMP files, packed DIBs and icon entries hold
// them: the header (any of the sizes in use), its bit-field masks and colour
// table, and pixels in 1, 4, 8, 16, 24 or 32 bits, uncompressed, RLE4, RLE8
// or in bit fields, rows bottom-up or top-down. Every size and offset is
// checked against the bytes there are.
#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/codecs/codec_support.h"

namespace gdiplus::codecs {

enum DibCompression : std::uint32_t {
    DibRgb = 0,
    DibRle8 = 1,
    DibRle4 = 2,
    DibBitFields = 3,
    DibAlphaBitFields = 6,
};

struct DibHeader {
    std::uint32_t headerSize = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;  // rows, whatever their order
    bool topDown = false;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = DibRgb;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    // Red, green, blue and alpha masks of a bit-field DIB.
    std::array<std::uint32_t, 4> masks{};
    // The colour table: where it starts, its entries (3 bytes each after a
    // 12-byte header, 4 otherwise) and how many of them the header claims.
    std::uint64_t tableOffset = 0;
    std::uint32_t tableEntrySize = 4;
    std::uint32_t tableEntries = 0;
    // First byte after header, masks and colour table: where a packed DIB's
    // pixels start.
    std::uint64_t endOfTable = 0;
};

// Reads the header that starts at `offset`. InvalidParameter for a header
// size that is not one in use, a header or table past the end of the bytes,
// zero or oversized dimensions, or a depth the compression does not allow;
// UnknownImageFormat for embedded JPEG or PNG pixels.
Status ReadDibHeader(const ByteView& bytes, std::uint64_t offset, DibHeader& header);

// Decodes the pixels that start at `pixelOffset` into a new bitmap with the
// header's palette and resolution. InvalidParameter when the pixels reach
// past the end of the bytes or the RLE data breaks off.
Status DecodeDibPixels(const ByteView& bytes, const DibHeader& header, std::uint64_t pixelOffset,
                       std::unique_ptr<Bitmap>& bitmap);

// Bytes in one uncompressed DIB row: the bits padded to 32-bit words.
std::uint64_t DibRowBytes(std::uint64_t width, std::uint32_t bitCount);

}  // namespace gdiplus::codecs
