#include "platform/gdiplus/codecs/ico_codec.h"

#include <gtest/gtest.h>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/codec_test_support.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

class IcoCodecTest : public CodecTest {};

// An icon DIB: header with twice the height, 4-bit colours, then the AND mask.
std::vector<std::uint8_t> IconDib(std::uint32_t size, std::uint8_t index, bool maskFirstPixel) {
    std::vector<std::uint8_t> dib;
    PutU32(dib, 40);
    PutU32(dib, size);
    PutU32(dib, size * 2);
    PutU16(dib, 1);
    PutU16(dib, 4);
    dib.resize(40, 0);
    for (std::uint32_t i = 0; i < 16; ++i) PutU32(dib, i == 1 ? 0x00FF0000 : 0);  // entry 1 red
    const std::uint32_t colourStride = (size * 4 + 31) / 32 * 4, maskStride = (size + 31) / 32 * 4;
    for (std::uint32_t y = 0; y < size; ++y)
        for (std::uint32_t b = 0; b < colourStride; ++b) dib.push_back(static_cast<std::uint8_t>(index * 0x11));
    for (std::uint32_t y = 0; y < size; ++y)
        for (std::uint32_t b = 0; b < maskStride; ++b)
            dib.push_back(maskFirstPixel && y == size - 1 && b == 0 ? 0x80 : 0);  // the top row comes last
    return dib;
}

std::vector<std::uint8_t> IconFile(const std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>>& images) {
    std::vector<std::uint8_t> file;
    PutU16(file, 0);
    PutU16(file, 1);
    PutU16(file, static_cast<std::uint16_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (const auto& [size, data] : images) {
        file.push_back(static_cast<std::uint8_t>(size));
        file.push_back(static_cast<std::uint8_t>(size));
        file.insert(file.end(), {0, 0});
        PutU16(file, 1);
        PutU16(file, 4);
        PutU32(file, static_cast<std::uint32_t>(data.size()));
        PutU32(file, offset);
        offset += static_cast<std::uint32_t>(data.size());
    }
    for (const auto& image : images) file.insert(file.end(), image.second.begin(), image.second.end());
    return file;
}

TEST_F(IcoCodecTest, TheLargestImageIsTakenWithItsMask) {
    const auto file = IconFile({{16, IconDib(16, 0, false)}, {32, IconDib(32, 1, true)}});
    auto decoded = MustDecode(file);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->GetRawFormat(), ImageFormatIcon);
    EXPECT_EQ(decoded->GetWidth(), 32u);
    EXPECT_EQ(decoded->GetPixelFormat(), PixelFormat32bppARGB);
    ARGB p = 0;
    ASSERT_EQ(AsBitmap(*decoded).GetPixel(0, 0, p), Ok);
    EXPECT_EQ(AlphaOf(p), 0);  // masked out
    ASSERT_EQ(AsBitmap(*decoded).GetPixel(1, 0, p), Ok);
    EXPECT_EQ(p, 0xFFFF0000u);
    ASSERT_EQ(AsBitmap(*decoded).GetPixel(31, 31, p), Ok);
    EXPECT_EQ(p, 0xFFFF0000u);
}

TEST_F(IcoCodecTest, PngEntriesDecode) {
    auto png = Pattern(48, 48, PixelFormat32bppARGB, true);
    const auto file = IconFile({{16, IconDib(16, 1, false)}, {48, Encode(*png, kPngCodec.clsid)}});
    auto decoded = MustDecode(file);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->GetRawFormat(), ImageFormatIcon);
    EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), PixelsOf(*png));
}

TEST_F(IcoCodecTest, EntriesOutsideTheFileAreRefused) {
    auto file = IconFile({{16, IconDib(16, 1, false)}});
    file[6 + 12] = 0xFF;  // offset far past the end
    std::unique_ptr<Image> image;
    EXPECT_EQ(Decode(file, image), InvalidParameter);
    file = IconFile({{16, IconDib(16, 1, false)}});
    file.resize(file.size() - 10);  // the mask cut short: the size no longer fits
    EXPECT_EQ(Decode(file, image), InvalidParameter);
}

}  // namespace
}  // namespace gdiplus::codecs
