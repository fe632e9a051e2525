#include "platform/gdiplus/codecs/jpeg_codec.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/codec_test_support.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

class JpegCodecTest : public CodecTest {};

EncoderParameters Quality(std::int32_t q) { return {EncoderParameter::Long(EncoderQuality, static_cast<std::uint32_t>(q))}; }

// What libjpeg itself reads from a file: components and the first quantisation table.
struct JpegFacts {
    int components = 0;
    std::vector<unsigned> quantisation;
};

JpegFacts ReadWithLibjpeg(const std::vector<std::uint8_t>& bytes) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    JpegFacts facts;
    facts.components = info.num_components;
    for (int i = 0; i < DCTSIZE2; ++i) facts.quantisation.push_back(info.quant_tbl_ptrs[0]->quantval[i]);
    jpeg_destroy_decompress(&info);
    return facts;
}

TEST_F(JpegCodecTest, QualityIsClampedToOneToHundred) {
    auto bitmap = Pattern(16, 16, PixelFormat24bppRGB);
    const auto at100 = Encode(*bitmap, kJpegCodec.clsid, Quality(100));
    const auto at1 = Encode(*bitmap, kJpegCodec.clsid, Quality(1));
    const auto at75 = Encode(*bitmap, kJpegCodec.clsid, Quality(75));
    EXPECT_NE(at100, at1);
    struct Case {
        std::int32_t asked;
        const std::vector<std::uint8_t>& same;
    };
    for (const Case& c : {Case{150, at100}, Case{101, at100}, Case{0, at1}, Case{-5, at1}, Case{INT32_MIN, at1}}) {
        SCOPED_TRACE(c.asked);
        EXPECT_EQ(Encode(*bitmap, kJpegCodec.clsid, Quality(c.asked)), c.same);
    }
    EXPECT_EQ(Encode(*bitmap, kJpegCodec.clsid), at75);
    EXPECT_EQ(ReadWithLibjpeg(at100).quantisation, std::vector<unsigned>(DCTSIZE2, 1u));
    EXPECT_EQ(ReadWithLibjpeg(at1).quantisation[0], 255u);  // quality 1 scales the tables to their limit
}

TEST_F(JpegCodecTest, ColourAndGreyImagesRoundTrip) {
    struct Case {
        PixelFormat written;
        PixelFormat read;
        int components;
    };
    for (const Case& c : {Case{PixelFormat24bppRGB, PixelFormat24bppRGB, 3},
                          Case{PixelFormat32bppARGB, PixelFormat24bppRGB, 3},
                          Case{PixelFormat16bppGrayScale, PixelFormat8bppIndexed, 1}}) {
        SCOPED_TRACE(c.written);
        auto bitmap = MakeBitmap(8, 8, c.written);
        std::vector<ARGB> flat(64, 0xFF6699CC);
        if (c.components == 1) flat.assign(64, 0xFF777777);
        SetPixels(*bitmap, flat);
        bitmap->SetResolution(200, 300);
        const auto bytes = Encode(*bitmap, kJpegCodec.clsid, Quality(95));
        EXPECT_EQ(ReadWithLibjpeg(bytes).components, c.components);
        auto decoded = MustDecode(bytes);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->GetRawFormat(), ImageFormatJPEG);
        EXPECT_EQ(decoded->GetPixelFormat(), c.read);
        EXPECT_FLOAT_EQ(decoded->GetHorizontalResolution(), 200);
        EXPECT_FLOAT_EQ(decoded->GetVerticalResolution(), 300);
        for (ARGB p : PixelsOf(AsBitmap(*decoded))) {
            for (int shift : {0, 8, 16}) EXPECT_NEAR((p >> shift) & 0xFF, (flat[0] >> shift) & 0xFF, 2);
        }
    }
}

TEST_F(JpegCodecTest, GreyPaletteImageIsWrittenAsGrey) {
    auto bitmap = MakeBitmap(4, 4, PixelFormat8bppIndexed);
    ColorPalette grey;
    grey.Count = 256;
    for (std::uint32_t i = 0; i < 256; ++i) grey.Entries[i] = MakeARGB(0xFF, i, i, i);
    ASSERT_EQ(bitmap->SetPalette(grey), Ok);
    EXPECT_EQ(ReadWithLibjpeg(Encode(*bitmap, kJpegCodec.clsid)).components, 1);
}

TEST_F(JpegCodecTest, ExifPropertyItemsSurviveSaveAndLoad) {
    auto bitmap = Pattern(8, 8, PixelFormat24bppRGB);
    const std::vector<PropertyItem> items = {
        Item(271, PropertyTagTypeASCII, Ascii("Scanner Maker")),
        Item(272, PropertyTagTypeASCII, Ascii("Model 7")),
        Item(274, PropertyTagTypeShort, {6, 0}),
        Item(0x9003, PropertyTagTypeASCII, Ascii("2024:01:02 03:04:05")),
        Item(0x829A, PropertyTagTypeRational, Rationals({{1, 250}})),
        Item(0x9204, PropertyTagTypeSRational, Rationals({{0xFFFFFFFF, 3}})),
        Item(0x9286, PropertyTagTypeUndefined, {'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'h', 'i'}),
        Item(0x0001, PropertyTagTypeASCII, Ascii("N")),
        Item(0x0002, PropertyTagTypeRational, Rationals({{52, 1}, {30, 1}, {1234, 100}})),
        Item(0x882A, PropertyTagTypeSShort, {0xF0, 0xFF}),
    };
    for (const auto& item : items) ASSERT_EQ(bitmap->SetPropertyItem(item), Ok);
    // What describes the pixels' storage is the file's own business.
    ASSERT_EQ(bitmap->SetPropertyItem(Item(273, PropertyTagTypeLong, {1, 2, 3, 4})), Ok);

    auto decoded = MustDecode(Encode(*bitmap, kJpegCodec.clsid));
    ASSERT_TRUE(decoded);
    for (const auto& item : items) {
        SCOPED_TRACE(item.id);
        PropertyItem read;
        ASSERT_EQ(decoded->GetPropertyItem(item.id, read), Ok);
        EXPECT_EQ(read, item);
    }
    PropertyItem ignored;
    EXPECT_EQ(decoded->GetPropertyItem(273, ignored), PropertyNotFound);
    // The sub-IFD pointers are listed as GDI+ lists them.
    EXPECT_EQ(decoded->GetPropertyItem(0x8769, ignored), Ok);
    EXPECT_EQ(decoded->GetPropertyItem(0x8825, ignored), Ok);
}

// Rows of samples (`components` each, in `space`) handed to libjpeg at once,
// with the quality and, for a resolution above 0, a JFIF header stating it.
std::vector<std::uint8_t> EncodeWithLibjpeg(const std::vector<std::uint8_t>& samples, std::uint32_t width,
                                            std::uint32_t height, int components, J_COLOR_SPACE space, int quality,
                                            unsigned dpi = 0) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (dpi > 0) {
        info.write_JFIF_header = TRUE;
        info.density_unit = 1;
        info.X_density = info.Y_density = static_cast<UINT16>(dpi);
    }
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowBytes = std::size_t{width} * static_cast<std::size_t>(components);
    while (info.next_scanline < height) {
        JSAMPROW row = const_cast<std::uint8_t*>(samples.data() + info.next_scanline * rowBytes);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

TEST_F(JpegCodecTest, CmykWithAdobeMarkerDecodesToRgb) {
    // libjpeg writes an Adobe marker for CMYK, whose samples readers take as inverted.
    const std::uint8_t redInverted[4] = {255, 0, 0, 255};
    std::vector<std::uint8_t> samples;
    for (int x = 0; x < 8 * 8; ++x) samples.insert(samples.end(), redInverted, redInverted + 4);
    const std::vector<std::uint8_t> bytes = EncodeWithLibjpeg(samples, 8, 8, 4, JCS_CMYK, 100);

    auto decoded = MustDecode(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->GetPixelFormat(), PixelFormat24bppRGB);
    ARGB p = 0;
    ASSERT_EQ(AsBitmap(*decoded).GetPixel(3, 3, p), Ok);
    EXPECT_NEAR(RedOf(p), 255, 3);
    EXPECT_NEAR(GreenOf(p), 0, 3);
    EXPECT_NEAR(BlueOf(p), 0, 3);
}

// The encoder reads a page in bands; the file is the one libjpeg makes of the
// whole page at once, for colour, grey-ramp and other grey sources, at
// heights that do not end on a band.
TEST_F(JpegCodecTest, APageReadInBandsEncodesAsTheWholePage) {
    struct Case {
        PixelFormat format;
        std::int32_t width, height;
    };
    for (const Case& c : {Case{PixelFormat24bppRGB, 1201, 917}, Case{PixelFormat32bppARGB, 640, 1111},
                          Case{PixelFormat8bppIndexed, 2000, 700}, Case{PixelFormat16bppGrayScale, 900, 455},
                          Case{PixelFormat1bppIndexed, 3000, 601}}) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.format);
        auto page = MakeBitmap(c.width, c.height, c.format);
        ASSERT_TRUE(page);
        if (c.format == PixelFormat8bppIndexed) {
            ASSERT_EQ(page->SetPalette(GreyPalette(256)), Ok);
        }
        const bool grey = c.format != PixelFormat24bppRGB && c.format != PixelFormat32bppARGB;
        std::vector<ARGB> argb(static_cast<std::size_t>(c.width) * c.height);
        for (std::size_t i = 0; i < argb.size(); ++i) {
            const auto v = static_cast<std::uint8_t>((i % static_cast<std::size_t>(c.width)) * 3 + i / 977);
            const std::uint8_t level = c.format == PixelFormat1bppIndexed ? (v & 32 ? 255 : 0) : v;
            argb[i] = grey ? MakeARGB(0xFF, level, level, level) : MakeARGB(0xFF, v, static_cast<std::uint8_t>(i / 3000), static_cast<std::uint8_t>(v ^ 0x5A));
        }
        ASSERT_EQ(page->WritePixels(Rect{0, 0, c.width, c.height}, PixelFormat32bppARGB, c.width * 4, argb.data()), Ok);
        ASSERT_EQ(page->SetResolution(300, 300), Ok);
        // What the page holds, as the encoder takes it: blue samples of the
        // grey sources, blue-green-red of the colour ones.
        std::vector<std::uint8_t> samples;
        for (ARGB colour : argb) {
            samples.push_back(BlueOf(colour));
            if (grey) continue;
            samples.push_back(GreenOf(colour));
            samples.push_back(RedOf(colour));
        }
        const auto banded = Encode(*page, kJpegCodec.clsid, Quality(85));
        EXPECT_TRUE(banded == EncodeWithLibjpeg(samples, static_cast<std::uint32_t>(c.width),
                                                static_cast<std::uint32_t>(c.height), grey ? 1 : 3,
                                                grey ? JCS_GRAYSCALE : JCS_EXT_BGR, 85, 300));
    }
}

}  // namespace
}  // namespace gdiplus::codecs
