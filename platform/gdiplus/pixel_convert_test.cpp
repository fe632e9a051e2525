#include "platform/gdiplus/pixel_convert.h"

#include <gtest/gtest.h>

#include <vector>

namespace gdiplus {
namespace {

// Converts one ARGB pixel into `format` and gives the bytes written.
std::vector<std::uint8_t> Encode(ARGB colour, PixelFormat format) {
    std::vector<std::uint8_t> row(8, 0);
    const Argb64 wide = WidenArgb(colour);
    EncodePixels(&wide, 1, format, nullptr, row.data(), 0);
    row.resize(GetPixelFormatSize(format) / 8);
    return row;
}

ARGB Decode(std::vector<std::uint8_t> bytes, PixelFormat format) {
    Argb64 out;
    DecodePixels(bytes.data(), 0, 1, format, ColorPalette{}, &out);
    return NarrowArgb(out);
}

TEST(PixelConvert, EncodesEachFormatsLayout) {
    struct Case {
        ARGB colour;
        PixelFormat format;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {0xFF102030, PixelFormat24bppRGB, {0x30, 0x20, 0x10}},
        {0x80102030, PixelFormat32bppRGB, {0x30, 0x20, 0x10, 0xFF}},
        {0x80102030, PixelFormat32bppARGB, {0x30, 0x20, 0x10, 0x80}},
        {0x80FF4020, PixelFormat32bppPARGB, {16, 32, 128, 128}},
        {0x00FF4020, PixelFormat32bppPARGB, {0, 0, 0, 0}},
        {0xFFFF0000, PixelFormat16bppRGB555, {0x00, 0x7C}},
        {0xFF00FF00, PixelFormat16bppRGB565, {0xE0, 0x07}},
        {0x80FFFFFF, PixelFormat16bppARGB1555, {0xFF, 0xFF}},
        {0x7FFFFFFF, PixelFormat16bppARGB1555, {0xFF, 0x7F}},
        // Luminance of pure red: 0.299 x 65535.
        {0xFFFF0000, PixelFormat16bppGrayScale, {0x8B, 0x4C}},
        {0xFF123456, PixelFormat48bppRGB, {0x56, 0x56, 0x34, 0x34, 0x12, 0x12}},
        {0x80123456, PixelFormat64bppARGB, {0x56, 0x56, 0x34, 0x34, 0x12, 0x12, 0x80, 0x80}},
        {0x80FFFFFF, PixelFormat64bppPARGB, {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.colour << " as " << c.format);
        EXPECT_EQ(Encode(c.colour, c.format), c.bytes);
    }
}

TEST(PixelConvert, DecodesEachFormatsLayout) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        PixelFormat format;
        ARGB colour;
    } cases[] = {
        {{16, 32, 128, 128}, PixelFormat32bppPARGB, 0x80FF4020},
        {{9, 9, 9, 0}, PixelFormat32bppPARGB, 0x00000000},
        {{0x30, 0x20, 0x10, 0x00}, PixelFormat32bppRGB, 0xFF102030},
        // 5 and 6 bits widen by repeating their top bits.
        {{0x10, 0x42}, PixelFormat16bppRGB555, 0xFF848484},
        {{0x00, 0x04}, PixelFormat16bppRGB565, 0xFF008200},
        {{0x00, 0x7C}, PixelFormat16bppARGB1555, 0x00FF0000},
        {{0x34, 0x12}, PixelFormat16bppGrayScale, 0xFF121212},
        {{0x00, 0x00, 0x00, 0x00, 0x34, 0x12}, PixelFormat48bppRGB, 0xFF120000},
        {{0x00, 0x40, 0x00, 0x40, 0x00, 0x40, 0x00, 0x80}, PixelFormat64bppPARGB, 0x80808080},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.format);
        EXPECT_EQ(Decode(c.bytes, c.format), c.colour);
    }
}

TEST(PixelConvert, EightBitChannelsSurviveTheWidePivot) {
    for (std::uint32_t v = 0; v < 256; ++v) {
        const ARGB c = MakeARGB(static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(255 - v),
                                static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v / 2));
        EXPECT_EQ(NarrowArgb(WidenArgb(c)), c);
    }
}

// The row loops for the common pairs give what decoding to the wide pivot
// and encoding from it gives, for every channel value under every alpha.
TEST(PixelConvert, PremultipliedRowsMatchTheGeneralPath) {
    const PixelFormat formats[] = {PixelFormat32bppARGB, PixelFormat32bppRGB, PixelFormat32bppPARGB};
    std::vector<std::uint8_t> source;
    for (std::uint32_t a = 0; a < 256; ++a)
        for (std::uint32_t c = 0; c < 256; ++c)
            source.insert(source.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(255 - c),
                                         static_cast<std::uint8_t>(c / 2), static_cast<std::uint8_t>(a)});
    const std::int32_t count = static_cast<std::int32_t>(source.size() / 4);
    const ColorPalette none;
    for (PixelFormat from : formats) {
        for (PixelFormat to : formats) {
            if (from == to || (from != PixelFormat32bppPARGB && to != PixelFormat32bppPARGB)) continue;
            std::vector<std::uint8_t> direct(source.size()), general(source.size());
            PixelConverter(from, none, to, none).Convert(source.data(), 0, direct.data(), 0, count);
            std::vector<Argb64> pivot(static_cast<std::size_t>(count));
            DecodePixels(source.data(), 0, count, from, none, pivot.data());
            EncodePixels(pivot.data(), count, to, nullptr, general.data(), 0);
            EXPECT_EQ(direct, general) << std::hex << from << " to " << to;
        }
    }
}

TEST(PixelConvert, FiveBitChannelsRoundTrip) {
    for (std::uint32_t v5 = 0; v5 < 32; ++v5) {
        const std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(v5), 0};
        EXPECT_EQ(Encode(Decode(bytes, PixelFormat16bppRGB555), PixelFormat16bppRGB555), bytes) << v5;
    }
}

TEST(PixelConvert, NearestPaletteEntryWeighsAlphaAndPrefersTheLowestIndex) {
    ColorPalette palette;
    palette.Count = 5;
    palette.Entries = {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0x00000000, 0xFFFF0000};
    NearestPaletteEntry nearest(palette, 256);
    EXPECT_EQ(nearest.Find(0xFF200000), 0);
    EXPECT_EQ(nearest.Find(0xFFC01010), 1);  // entry 4 is the same colour: the lower index wins
    EXPECT_EQ(nearest.Find(0xFF10E010), 2);
    EXPECT_EQ(nearest.Find(0x10000000), 3);
    EXPECT_EQ(nearest.Find(0xFF808000), 1);  // as near to red as to green: the lower index
    EXPECT_EQ(nearest.Find(0xFF200000), 0);  // from the cache

    NearestPaletteEntry firstTwo(palette, 2);
    EXPECT_EQ(firstTwo.Find(0xFF00FF00), 0);
}

TEST(PixelConvert, IndexedToIndexedKeepsIndicesTheTargetCanAddress) {
    ColorPalette palette = DefaultPalette(PixelFormat4bppIndexed);
    const std::uint8_t eightBit[] = {1, 15, 9, 0};
    std::uint8_t fourBit[2] = {};
    PixelConverter down(PixelFormat8bppIndexed, palette, PixelFormat4bppIndexed, palette);
    down.Convert(eightBit, 0, fourBit, 0, 4);
    EXPECT_EQ(fourBit[0], 0x1F);
    EXPECT_EQ(fourBit[1], 0x90);

    // Into one bit only entries 0 and 1 can be addressed: white and red go to
    // dark red, the nearer of the two.
    std::uint8_t oneBit[1] = {};
    PixelConverter toOne(PixelFormat8bppIndexed, palette, PixelFormat1bppIndexed, palette);
    toOne.Convert(eightBit, 0, oneBit, 0, 4);
    EXPECT_EQ(oneBit[0], 0b1110'0000);
}

TEST(PixelConvert, CopyPixelBitsKeepsTheNeighbouringBits) {
    const std::uint8_t source[] = {0b1011'0110, 0b1100'0000};
    std::uint8_t target[] = {0xFF, 0xFF};
    CopyPixelBits(source, 2, target, 5, 6, 1);  // bits 110110 into positions 5-10
    EXPECT_EQ(target[0], 0b1111'1110);
    EXPECT_EQ(target[1], 0b1101'1111);

    std::uint8_t nibbles[] = {0x00, 0x00};
    const std::uint8_t fromNibbles[] = {0xAB, 0xCD};
    CopyPixelBits(fromNibbles, 1, nibbles, 0, 3, 4);
    EXPECT_EQ(nibbles[0], 0xBC);
    EXPECT_EQ(nibbles[1], 0xD0);
}

}  // namespace
}  // namespace gdiplus
