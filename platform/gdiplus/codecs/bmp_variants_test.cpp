// BMP variants that writers other than the common ones make: short OS/2 2.x
// headers, colour tables shorter than the depth, bit fields of any width
// (2-3-1, 4-4-4-4 with alpha), each widened to 8 bits by scaling.
#include <gtest/gtest.h>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/codec_test_support.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

class BmpVariantsTest : public CodecTest {};

// A BMP file of a 2 x 1 image: header of `headerSize` bytes (the first
// `headerFields` bytes of the usual fields, zero-padded), then `extra` (masks
// or colour table), then the one row.
std::vector<std::uint8_t> Bmp(std::uint32_t headerSize, std::uint16_t bits, std::uint32_t compression,
                              const std::vector<std::uint8_t>& extra, const std::vector<std::uint8_t>& row,
                              std::uint32_t coloursUsed = 0) {
    std::vector<std::uint8_t> header;
    PutU32(header, headerSize);
    PutU32(header, 2);
    PutU32(header, 1);
    PutU16(header, 1);
    PutU16(header, bits);
    PutU32(header, compression);
    PutU32(header, 0);
    PutU32(header, 2835);
    PutU32(header, 2835);
    PutU32(header, coloursUsed);
    PutU32(header, 0);
    header.resize(headerSize, 0);
    std::vector<std::uint8_t> file = {'B', 'M'};
    PutU32(file, static_cast<std::uint32_t>(14 + header.size() + extra.size() + row.size()));
    PutU32(file, 0);
    PutU32(file, static_cast<std::uint32_t>(14 + header.size() + extra.size()));
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), extra.begin(), extra.end());
    file.insert(file.end(), row.begin(), row.end());
    return file;
}

std::vector<ARGB> PixelsOf(const std::vector<std::uint8_t>& file) {
    std::unique_ptr<Image> image;
    EXPECT_EQ(Decode(file, image), Ok);
    if (!image) return {};
    std::vector<ARGB> pixels(2);
    for (std::int32_t x = 0; x < 2; ++x) AsBitmap(*image).GetPixel(x, 0, pixels[x]);
    return pixels;
}

TEST_F(BmpVariantsTest, AShortOs2HeaderReadsItsFieldsAndTakesTheRestAsZero) {
    // 16 bytes: size, width, height, planes, bits; the 4-byte colour table follows.
    std::vector<std::uint8_t> table;
    for (std::uint32_t i = 0; i < 256; ++i) PutU32(table, i == 1 ? 0x00FF8000u : i == 2 ? 0x000000FFu : 0);
    const std::vector<ARGB> pixels = PixelsOf(Bmp(16, 8, 0, table, {1, 2, 0, 0}));
    EXPECT_EQ(pixels, (std::vector<ARGB>{0xFFFF8000, 0xFF0000FF}));
}

TEST_F(BmpVariantsTest, AColourTableShorterThanTheDepthEndsWhereThePixelsStart) {
    // 8 bits, colours-used 0, but only two entries before the pixels.
    std::vector<std::uint8_t> table;
    PutU32(table, 0x00102030);
    PutU32(table, 0x00405060);
    const std::vector<ARGB> pixels = PixelsOf(Bmp(64, 8, 0, table, {1, 0, 0, 0}));
    EXPECT_EQ(pixels, (std::vector<ARGB>{0xFF405060, 0xFF102030}));
}

TEST_F(BmpVariantsTest, BitFieldsOfAnyWidthAreScaledToEightBits) {
    struct Case {
        const char* name;
        std::uint32_t headerSize;
        std::array<std::uint32_t, 4> masks;
        std::uint16_t pixel;
        ARGB expected;
    };
    const Case cases[] = {
        // 2-3-1: red 0b10 of 3, green 0b101 of 7, blue 1 of 1.
        {"rgb231", 40, {0x0030, 0x000E, 0x0001, 0}, 0x0020 | 0x000A | 0x0001, 0xFFAAB6FF},
        // 4-4-4-4: alpha 0x8 of 15, red 0xF, green 0x0, blue 0x5.
        {"argb4444", 56, {0x0F00, 0x00F0, 0x000F, 0xF000}, 0x8F05, 0x88FF0055},
        // 5-6-5 the common way.
        {"rgb565", 40, {0xF800, 0x07E0, 0x001F, 0}, 0xFFFF, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> masks;
        if (c.headerSize == 40) {
            for (int i = 0; i < 3; ++i) PutU32(masks, c.masks[i]);
        }
        std::vector<std::uint8_t> file = Bmp(c.headerSize, 16, 3, masks,
                                             {static_cast<std::uint8_t>(c.pixel), static_cast<std::uint8_t>(c.pixel >> 8),
                                              0, 0});
        if (c.headerSize == 56) {
            for (int i = 0; i < 4; ++i) {
                for (int b = 0; b < 4; ++b) file[14 + 40 + 4 * i + b] = static_cast<std::uint8_t>(c.masks[i] >> (8 * b));
            }
        }
        EXPECT_EQ(PixelsOf(file)[0], c.expected);
    }
}

// An OS/2 2.x file as its writers lay it out: the full 64-byte header with
// its own fields past the Windows ones filled in (units, recording,
// rendering, halftoning sizes, colour encoding, an application's number),
// colours-used naming a short table of 4-byte entries (or, as some writers
// keep them, the 3-byte entries of OS/2 1.x), and a gap between the table and
// the pixels that the file header's offset skips (none after 3-byte entries,
// whose size only the offset tells). Rows bottom-up.
std::vector<std::uint8_t> Os2v2Bmp(std::uint16_t bits, std::uint32_t width, std::uint32_t height,
                                   const std::vector<ARGB>& table, std::uint32_t (*value)(std::uint32_t, std::uint32_t),
                                   std::uint32_t entryBytes = 4) {
    std::vector<std::uint8_t> header;
    PutU32(header, 64);
    PutU32(header, width);
    PutU32(header, height);
    PutU16(header, 1);
    PutU16(header, bits);
    PutU32(header, 0);  // no compression
    PutU32(header, 0);
    PutU32(header, 3780);
    PutU32(header, 3780);
    PutU32(header, static_cast<std::uint32_t>(table.size()));
    PutU32(header, static_cast<std::uint32_t>(table.size()));
    PutU16(header, 0);           // units: pixels per metre
    PutU16(header, 0);           // reserved
    PutU16(header, 0);           // recording: bottom-up
    PutU16(header, 1);           // rendering: error diffusion
    PutU32(header, 10);          // halftoning sizes
    PutU32(header, 20);
    PutU32(header, 0);           // colour encoding: RGB
    PutU32(header, 0x12345678);  // the application's own number
    std::vector<std::uint8_t> colours;
    for (ARGB c : table) {
        PutU32(colours, c & 0x00FFFFFF);
        colours.resize(colours.size() - 4 + entryBytes);
    }
    std::vector<std::uint8_t> gap(entryBytes == 4 ? 6 : 0, 0xEE);
    const std::uint32_t stride = (width * bits + 31) / 32 * 4;
    std::vector<std::uint8_t> pixels(std::size_t{stride} * height, 0);
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint8_t* row = pixels.data() + std::size_t{height - 1 - y} * stride;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t v = value(x, y);
            if (bits == 24) {
                row[3 * x] = static_cast<std::uint8_t>(v), row[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                row[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
            } else if (bits == 8) {
                row[x] = static_cast<std::uint8_t>(v);
            } else {
                row[x * bits / 8] |= static_cast<std::uint8_t>(v << (8 - bits - x * bits % 8));
            }
        }
    }
    const auto offset = static_cast<std::uint32_t>(14 + header.size() + colours.size() + gap.size());
    std::vector<std::uint8_t> file = {'B', 'M'};
    PutU32(file, static_cast<std::uint32_t>(offset + pixels.size()));
    PutU32(file, 0);
    PutU32(file, offset);
    for (std::vector<std::uint8_t>* part : {&header, &colours, &gap, &pixels})
        file.insert(file.end(), part->begin(), part->end());
    return file;
}

TEST_F(BmpVariantsTest, Os2v2FilesReadTheirShortTablesAndSkipTheirOwnFields) {
    const std::vector<ARGB> table = {0xFF102030, 0xFFC08040, 0xFF00FF7F};
    struct Case {
        const char* name;
        std::uint16_t bits;
        std::uint32_t (*value)(std::uint32_t, std::uint32_t);
        ARGB (*expected)(std::uint32_t, std::uint32_t, const std::vector<ARGB>&);
        std::uint32_t entryBytes = 4;
    };
    const Case cases[] = {
        {"pal8", 8, [](std::uint32_t x, std::uint32_t y) { return (x + y) % 3; },
         [](std::uint32_t x, std::uint32_t y, const std::vector<ARGB>& t) { return t[(x + y) % 3]; }},
        {"pal8-3byte", 8, [](std::uint32_t x, std::uint32_t y) { return (x + y) % 3; },
         [](std::uint32_t x, std::uint32_t y, const std::vector<ARGB>& t) { return t[(x + y) % 3]; }, 3},
        {"pal4", 4, [](std::uint32_t x, std::uint32_t y) { return (x + 2 * y) % 3; },
         [](std::uint32_t x, std::uint32_t y, const std::vector<ARGB>& t) { return t[(x + 2 * y) % 3]; }},
        {"pal4-3byte", 4, [](std::uint32_t x, std::uint32_t y) { return (x + 2 * y) % 3; },
         [](std::uint32_t x, std::uint32_t y, const std::vector<ARGB>& t) { return t[(x + 2 * y) % 3]; }, 3},
        {"pal1", 1, [](std::uint32_t x, std::uint32_t y) { return (x ^ y) & 1; },
         [](std::uint32_t x, std::uint32_t y, const std::vector<ARGB>& t) { return t[(x ^ y) & 1]; }},
        {"rgb24", 24, [](std::uint32_t x, std::uint32_t y) { return 0x010203u * (10 * x + 40 * y); },
         [](std::uint32_t x, std::uint32_t y, const std::vector<ARGB>&) { return 0xFF000000u | 0x010203u * (10 * x + 40 * y); }},
    };
    constexpr std::uint32_t kWidth = 5, kHeight = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<ARGB> used = c.bits == 24 ? std::vector<ARGB>{} : c.bits == 1 ? std::vector<ARGB>(table.begin(), table.begin() + 2) : table;
        std::unique_ptr<Image> image;
        ASSERT_EQ(Decode(Os2v2Bmp(c.bits, kWidth, kHeight, used, c.value, c.entryBytes), image), Ok);
        ASSERT_EQ(image->GetWidth(), kWidth);
        ASSERT_EQ(image->GetHeight(), kHeight);
        for (std::uint32_t y = 0; y < kHeight; ++y) {
            for (std::uint32_t x = 0; x < kWidth; ++x) {
                ARGB pixel = 0;
                AsBitmap(*image).GetPixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), pixel);
                EXPECT_EQ(pixel, c.expected(x, y, used)) << "x " << x << " y " << y;
            }
        }
    }
}

TEST_F(BmpVariantsTest, Os2HuffmanAndRle24AreNotReadAsWindowsCompressions) {
    std::unique_ptr<Image> image;
    EXPECT_EQ(Decode(Bmp(64, 1, 3, std::vector<std::uint8_t>(8, 0), {0, 0, 0, 0}), image), UnknownImageFormat);
    EXPECT_EQ(Decode(Bmp(64, 24, 4, {}, {0, 0, 0, 0}), image), UnknownImageFormat);
}

}  // namespace
}  // namespace gdiplus::codecs
