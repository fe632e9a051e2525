#include "platform/gdiplus/codecs/bmp_codec.h"

#include <gtest/gtest.h>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/codec_test_support.h"
#include "platform/gdiplus/codecs/dib_reader.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

class BmpCodecTest : public CodecTest {};

// Packed DIBs written by hand: header, masks, colour table, pixels.
struct DibBuilder {
    std::vector<std::uint8_t> bytes;
    DibBuilder(std::uint32_t headerSize, std::int32_t width, std::int32_t height, std::uint16_t bits,
               std::uint32_t compression, std::uint32_t colours = 0) {
        PutU32(bytes, headerSize);
        PutU32(bytes, static_cast<std::uint32_t>(width));
        PutU32(bytes, static_cast<std::uint32_t>(height));
        PutU16(bytes, 1);
        PutU16(bytes, bits);
        PutU32(bytes, compression);
        PutU32(bytes, 0);
        PutU32(bytes, 3780);  // 96.012 dpi
        PutU32(bytes, 3780);
        PutU32(bytes, colours);
        PutU32(bytes, 0);
        bytes.resize(headerSize, 0);
    }
    DibBuilder& U32(std::uint32_t v) { return PutU32(bytes, v), *this; }
    DibBuilder& Raw(std::initializer_list<std::uint8_t> raw) { return bytes.insert(bytes.end(), raw), *this; }
};

struct DibCase {
    const char* name;
    std::vector<std::uint8_t> dib;
    PixelFormat format;
    std::vector<ARGB> pixels;  // row by row from the top
};

std::vector<DibCase> DibCases() {
    std::vector<DibCase> cases;
    // Two colours used of an 8-bit table: the pixels follow the two entries.
    cases.push_back({"ColourCountHonoured",
                     DibBuilder(40, 2, 2, 8, DibRgb, 2).U32(0x000000FF).U32(0x0000FF00)
                         .Raw({1, 0, 0, 0, 0, 1, 0, 0}).bytes,
                     PixelFormat8bppIndexed, {0xFF0000FF, 0xFF00FF00, 0xFF00FF00, 0xFF0000FF}});
    // A top-down 24-bit DIB: the first row in memory is the top one.
    cases.push_back({"TopDown", DibBuilder(40, 1, -2, 24, DibRgb).Raw({0, 0, 255, 0, 255, 0, 0, 0}).bytes,
                     PixelFormat24bppRGB, {0xFFFF0000, 0xFF0000FF}});
    // Bit fields after a 40-byte header: 565 is kept as it is.
    cases.push_back({"BitFields565", DibBuilder(40, 2, 1, 16, DibBitFields).U32(0xF800).U32(0x07E0).U32(0x001F)
                                         .Raw({0x00, 0xF8, 0x1F, 0x00}).bytes,
                     PixelFormat16bppRGB565, {0xFFFF0000, 0xFF0000FF}});
    // Masks no format holds (10 bits a channel) are unpacked.
    cases.push_back({"BitFields1010", DibBuilder(40, 1, 1, 32, DibBitFields).U32(0x3FF00000).U32(0x000FFC00)
                                          .U32(0x000003FF).U32(0x3FF00000).bytes,
                     PixelFormat32bppRGB, {0xFFFF0000}});
    // A V5 header holds the masks itself, alpha included.
    {
        DibBuilder v5(124, 1, 1, 32, DibBitFields);
        const std::uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
        for (int i = 0; i < 4; ++i)
            for (int b = 0; b < 4; ++b) v5.bytes[40 + 4 * i + b] = static_cast<std::uint8_t>(masks[i] >> (8 * b));
        cases.push_back({"V5Alpha", v5.Raw({0x30, 0x20, 0x10, 0x80}).bytes, PixelFormat32bppARGB, {0x80102030}});
    }
    // The 12-byte core header has 3-byte colour table entries.
    {
        std::vector<std::uint8_t> core;
        PutU32(core, 12);
        PutU16(core, 2);
        PutU16(core, 1);
        PutU16(core, 1);
        PutU16(core, 1);
        core.insert(core.end(), {0, 0, 0, 255, 255, 255, 0x40, 0, 0, 0});
        cases.push_back({"CoreHeader", core, PixelFormat1bppIndexed, {0xFF000000, 0xFFFFFFFF}});
    }
    // RLE8: a run of 3 on the bottom row, a delta up to the top row, a run of 1, end.
    cases.push_back({"Rle8", DibBuilder(40, 4, 2, 8, DibRle8, 3).U32(0).U32(0xFF0000).U32(0x00FF00)
                                 .Raw({3, 1, 0, 2, 0, 1, 1, 2, 0, 1}).bytes,
                     PixelFormat8bppIndexed,
                     {0xFF000000, 0xFF000000, 0xFF000000, 0xFF00FF00, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFF000000}});
    // RLE4: a run alternating two nibbles, end of line, an absolute run, end.
    cases.push_back({"Rle4", DibBuilder(40, 3, 2, 4, DibRle4, 2).U32(0).U32(0xFFFFFF)
                                 .Raw({3, 0x10, 0, 0, 0, 3, 0x01, 0x00, 0, 1}).bytes,
                     PixelFormat4bppIndexed, {0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}});
    return cases;
}

TEST_F(BmpCodecTest, PackedDibsOfEveryLayoutDecode) {
    for (const DibCase& c : DibCases()) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Bitmap> bitmap;
        ASSERT_EQ(DecodePackedDib(c.dib, bitmap), Ok);
        EXPECT_EQ(bitmap->GetRawFormat(), ImageFormatMemoryBMP);
        EXPECT_EQ(bitmap->GetPixelFormat(), c.format);
        EXPECT_EQ(PixelsOf(*bitmap), c.pixels);
        EXPECT_NEAR(bitmap->GetHorizontalResolution(), c.dib[0] == 12 ? 96.0 : 96.012, 0.001);
    }
}

TEST_F(BmpCodecTest, BadDibsAreRefused) {
    const std::vector<std::uint8_t> good = DibBuilder(40, 2, 2, 24, DibRgb).Raw({1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}).bytes;
    struct Bad {
        const char* name;
        std::vector<std::uint8_t> dib;
        Status status;
    };
    std::vector<Bad> cases = {
        {"ShortPixels", std::vector<std::uint8_t>(good.begin(), good.end() - 1), InvalidParameter},
        {"ShortHeader", std::vector<std::uint8_t>(good.begin(), good.begin() + 30), InvalidParameter},
        {"HeaderSize20", good, InvalidParameter},
        {"HugeDimensions", DibBuilder(40, 100000, 100000, 32, DibRgb).bytes, InvalidParameter},
        {"ZeroWidth", DibBuilder(40, 0, 2, 24, DibRgb).bytes, InvalidParameter},
        {"DepthOfThree", DibBuilder(40, 1, 1, 3, DibRgb).Raw({0, 0, 0, 0}).bytes, InvalidParameter},
        {"TooManyColours", DibBuilder(40, 1, 1, 8, DibRgb, 1000).bytes, InvalidParameter},
        {"TableMissing", DibBuilder(40, 1, 1, 8, DibRgb, 16).U32(0).bytes, InvalidParameter},
        {"TopDownRle", DibBuilder(40, 1, -1, 8, DibRle8).bytes, InvalidParameter},
        {"RleBrokenOff", DibBuilder(40, 4, 1, 8, DibRle8, 1).U32(0).Raw({0, 4, 1, 2}).bytes, InvalidParameter},
        {"GappedMask", DibBuilder(40, 1, 1, 32, DibBitFields).U32(0xF0F0).U32(0).U32(0).Raw({0, 0, 0, 0}).bytes,
         InvalidParameter},
        {"EmbeddedJpeg", DibBuilder(40, 1, 1, 0, 4).bytes, UnknownImageFormat},
    };
    cases[2].dib[0] = 20;
    for (const Bad& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Bitmap> bitmap;
        EXPECT_EQ(DecodePackedDib(c.dib, bitmap), c.status);
        EXPECT_FALSE(bitmap);
    }
}

TEST_F(BmpCodecTest, FileHeaderOffsetLocatesThePixels) {
    auto bitmap = Pattern(3, 2, PixelFormat24bppRGB);
    std::vector<std::uint8_t> file = Encode(*bitmap, kBmpCodec.clsid);
    // Room between the headers and the pixels, as some writers leave.
    const std::uint32_t offset = file[10] | file[11] << 8;
    file.insert(file.begin() + offset, 6, 0xEE);
    file[10] = static_cast<std::uint8_t>(offset + 6);
    auto decoded = MustDecode(file);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), PixelsOf(*bitmap));
}

TEST_F(BmpCodecTest, BmpEncoderTakesOneFrameOnly) {
    auto first = Pattern(2, 2, PixelFormat24bppRGB);
    ScratchFolder folder;
    const EncoderParameters multi = {EncoderParameter::Long(EncoderSaveFlag, EncoderValueMultiFrame)};
    ASSERT_EQ(first->Save(folder / "a.bmp", kBmpCodec.clsid, &multi), Ok);
    EXPECT_EQ(first->SaveAdd(*Pattern(2, 2, PixelFormat24bppRGB), {}), NotImplemented);
}

}  // namespace
}  // namespace gdiplus::codecs
