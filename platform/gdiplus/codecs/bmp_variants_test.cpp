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

TEST_F(BmpVariantsTest, Os2HuffmanAndRle24AreNotReadAsWindowsCompressions) {
    std::unique_ptr<Image> image;
    EXPECT_EQ(Decode(Bmp(64, 1, 3, std::vector<std::uint8_t>(8, 0), {0, 0, 0, 0}), image), UnknownImageFormat);
    EXPECT_EQ(Decode(Bmp(64, 24, 4, {}, {0, 0, 0, 0}), image), UnknownImageFormat);
}

}  // namespace
}  // namespace gdiplus::codecs
