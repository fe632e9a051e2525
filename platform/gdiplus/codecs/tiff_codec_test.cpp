#include "platform/gdiplus/codecs/tiff_codec.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <functional>
#include <regex>

#include "platform/gdiplus/file_io.h"

#include "platform/gdiplus/codecs/codec_test_support.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

class TiffCodecTest : public CodecTest {
protected:
    ScratchFolder folder_;
};

EncoderParameters Params(std::initializer_list<std::pair<Guid, std::uint32_t>> values) {
    EncoderParameters parameters;
    for (auto [guid, value] : values) parameters.push_back(EncoderParameter::Long(guid, value));
    return parameters;
}

std::vector<std::string> Matches(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1]);
    return found;
}

TEST_F(TiffCodecTest, ThreePagesBuiltWithTheSaveFlags) {
    auto bilevel = Pattern(16, 8, PixelFormat1bppIndexed);
    auto colour = Pattern(10, 6, PixelFormat24bppRGB);
    auto grey = MakeBitmap(5, 5, PixelFormat8bppIndexed);
    ColorPalette greys;
    greys.Count = 256;
    for (std::uint32_t i = 0; i < 256; ++i) greys.Entries[i] = MakeARGB(0xFF, i, i, i);
    ASSERT_EQ(grey->SetPalette(greys), Ok);
    SetPixels(*grey, std::vector<ARGB>(25, 0xFF404040));

    const auto path = folder_ / "three.tif";
    ASSERT_EQ(bilevel->Save(path, kTiffCodec.clsid,
                            &static_cast<const EncoderParameters&>(Params(
                                {{EncoderSaveFlag, EncoderValueMultiFrame}, {EncoderCompression, EncoderValueCompressionCCITT4}}))),
              Ok);
    ASSERT_EQ(bilevel->SaveAdd(*colour, Params({{EncoderSaveFlag, EncoderValueFrameDimensionPage},
                                                {EncoderCompression, EncoderValueCompressionLZW}})),
              Ok);
    ASSERT_EQ(bilevel->SaveAdd(*grey, Params({{EncoderSaveFlag, EncoderValueFrameDimensionPage},
                                              {EncoderCompression, EncoderValueCompressionNone}})),
              Ok);
    ASSERT_EQ(bilevel->SaveAdd(Params({{EncoderSaveFlag, EncoderValueFlush}})), Ok);

    int status = -1;
    const std::string info = RunCommand("tiffinfo " + path.string() + " 2>&1", &status);
    ASSERT_EQ(status, 0) << info;
    EXPECT_EQ(Matches(info, "TIFF Directory at offset (\\w+)").size(), 3u) << info;
    EXPECT_EQ(Matches(info, "Compression Scheme: ([^\\n]+)"),
              (std::vector<std::string>{"CCITT Group 4", "LZW", "None"}))
        << info;
    EXPECT_EQ(Matches(info, "Bits/Sample: (\\d+)"), (std::vector<std::string>{"1", "8", "8"})) << info;

    std::unique_ptr<Image> decoded;
    ASSERT_EQ(Image::FromFile(path, false, decoded), Ok);
    ASSERT_EQ(decoded->GetFrameCount(FrameDimensionPage), 3u);
    const Bitmap* pages[3] = {bilevel.get(), colour.get(), grey.get()};
    const PixelFormat formats[3] = {PixelFormat1bppIndexed, PixelFormat24bppRGB, PixelFormat8bppIndexed};
    for (std::uint32_t i : {1u, 2u, 0u}) {
        SCOPED_TRACE(i);
        ASSERT_EQ(decoded->SelectActiveFrame(FrameDimensionPage, i), Ok);
        EXPECT_EQ(decoded->GetPixelFormat(), formats[i]);
        EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), PixelsOf(*pages[i]));
    }
}

// A file large enough to be mapped when it is loaded: the pages decoded
// later come from the bytes the loading kept, not from the file, which may
// have changed (here, been emptied) in between.
TEST_F(TiffCodecTest, LaterPagesOfAMappedFileAreDecodedFromWhatWasLoaded) {
    auto first = Pattern(700, 600, PixelFormat24bppRGB);
    auto second = Pattern(600, 700, PixelFormat24bppRGB);
    const auto path = folder_ / "two.tif";
    const auto none = EncoderValueCompressionNone;
    ASSERT_EQ(first->Save(path, kTiffCodec.clsid,
                          &static_cast<const EncoderParameters&>(
                              Params({{EncoderSaveFlag, EncoderValueMultiFrame}, {EncoderCompression, none}}))),
              Ok);
    ASSERT_EQ(first->SaveAdd(*second, Params({{EncoderSaveFlag, EncoderValueLastFrame}, {EncoderCompression, none}})),
              Ok);
    ASSERT_GT(std::filesystem::file_size(path), std::uintmax_t{2} << 20);

    std::unique_ptr<Image> decoded;
    ASSERT_EQ(Image::FromFile(path, false, decoded), Ok);
    EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), PixelsOf(*first));
    std::filesystem::resize_file(path, 0);
    ASSERT_EQ(decoded->SelectActiveFrame(FrameDimensionPage, 1), Ok);
    EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), PixelsOf(*second));
}

struct TiffRoundTrip {
    PixelFormat written;
    std::uint32_t colourDepth;
    std::uint32_t compression;
    PixelFormat read;
};

class TiffRoundTripTest : public CodecTest, public ::testing::WithParamInterface<TiffRoundTrip> {};

TEST_P(TiffRoundTripTest, PixelsComeBackInTheExpectedFormat) {
    const TiffRoundTrip c = GetParam();
    auto bitmap = Pattern(9, 5, c.written, IsAlphaPixelFormat(c.written));
    bitmap->SetResolution(300, 200);
    EncoderParameters parameters = Params({{EncoderCompression, c.compression}});
    if (c.colourDepth) parameters.push_back(EncoderParameter::Long(EncoderColorDepth, c.colourDepth));
    auto decoded = MustDecode(Encode(*bitmap, kTiffCodec.clsid, parameters));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->GetRawFormat(), ImageFormatTIFF);
    EXPECT_EQ(decoded->GetPixelFormat(), c.read);
    EXPECT_FLOAT_EQ(decoded->GetHorizontalResolution(), 300);
    EXPECT_FLOAT_EQ(decoded->GetVerticalResolution(), 200);
    // The same conversion the layer makes gives the expected pixels.
    std::unique_ptr<Bitmap> expected;
    ASSERT_EQ(bitmap->CloneArea(Rect{0, 0, 9, 5}, c.read == PixelFormat48bppRGB && c.written == PixelFormat16bppGrayScale
                                                      ? PixelFormat16bppGrayScale
                                                      : c.read,
                                expected),
              Ok);
    EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), PixelsOf(*expected));
}

INSTANTIATE_TEST_SUITE_P(
    FormatsDepthsAndCompressions, TiffRoundTripTest,
    ::testing::Values(
        TiffRoundTrip{PixelFormat1bppIndexed, 0, EncoderValueCompressionCCITT3, PixelFormat1bppIndexed},
        TiffRoundTrip{PixelFormat1bppIndexed, 0, EncoderValueCompressionRle, PixelFormat1bppIndexed},
        TiffRoundTrip{PixelFormat24bppRGB, 1, EncoderValueCompressionCCITT4, PixelFormat1bppIndexed},
        TiffRoundTrip{PixelFormat4bppIndexed, 0, EncoderValueCompressionLZW, PixelFormat4bppIndexed},
        TiffRoundTrip{PixelFormat4bppIndexed, 1, EncoderValueCompressionLZW, PixelFormat1bppIndexed},
        TiffRoundTrip{PixelFormat24bppRGB, 4, EncoderValueCompressionNone, PixelFormat4bppIndexed},
        TiffRoundTrip{PixelFormat8bppIndexed, 0, EncoderValueCompressionLZW, PixelFormat8bppIndexed},
        TiffRoundTrip{PixelFormat24bppRGB, 8, EncoderValueCompressionLZW, PixelFormat8bppIndexed},
        TiffRoundTrip{PixelFormat16bppGrayScale, 0, EncoderValueCompressionLZW, PixelFormat48bppRGB},
        TiffRoundTrip{PixelFormat16bppRGB565, 0, EncoderValueCompressionLZW, PixelFormat24bppRGB},
        TiffRoundTrip{PixelFormat32bppRGB, 0, EncoderValueCompressionNone, PixelFormat24bppRGB},
        TiffRoundTrip{PixelFormat32bppARGB, 0, EncoderValueCompressionLZW, PixelFormat32bppARGB},
        TiffRoundTrip{PixelFormat24bppRGB, 32, EncoderValueCompressionLZW, PixelFormat32bppARGB},
        TiffRoundTrip{PixelFormat48bppRGB, 0, EncoderValueCompressionLZW, PixelFormat48bppRGB},
        TiffRoundTrip{PixelFormat24bppRGB, 48, EncoderValueCompressionNone, PixelFormat48bppRGB},
        TiffRoundTrip{PixelFormat64bppARGB, 0, EncoderValueCompressionLZW, PixelFormat64bppARGB},
        TiffRoundTrip{PixelFormat32bppARGB, 64, EncoderValueCompressionLZW, PixelFormat64bppARGB}));

TEST_F(TiffCodecTest, ParametersTheEncoderCannotHonourAreRefused) {
    auto colour = Pattern(4, 4, PixelFormat24bppRGB);
    for (const auto& parameters : {Params({{EncoderCompression, EncoderValueCompressionCCITT4}}),
                                   Params({{EncoderCompression, EncoderValueCompressionRle}}),
                                   Params({{EncoderCompression, 99}}), Params({{EncoderColorDepth, 12}})}) {
        std::vector<std::uint8_t> bytes;
        EXPECT_EQ(colour->Save(bytes, kTiffCodec.clsid, &parameters), InvalidParameter);
    }
}

TEST_F(TiffCodecTest, LaterPagesInheritTheFirstCompressionWhereTheyCan) {
    auto bilevel = Pattern(8, 8, PixelFormat1bppIndexed);
    const auto path = folder_ / "inherit.tif";
    const auto start = Params({{EncoderSaveFlag, EncoderValueMultiFrame}, {EncoderCompression, EncoderValueCompressionCCITT4}});
    ASSERT_EQ(bilevel->Save(path, kTiffCodec.clsid, &start), Ok);
    const auto page = Params({{EncoderSaveFlag, EncoderValueFrameDimensionPage}});
    ASSERT_EQ(bilevel->SaveAdd(*Pattern(8, 8, PixelFormat1bppIndexed), page), Ok);
    ASSERT_EQ(bilevel->SaveAdd(*Pattern(8, 8, PixelFormat24bppRGB), Params({{EncoderSaveFlag, EncoderValueLastFrame}})),
              Ok);
    const std::string info = RunCommand("tiffinfo " + path.string() + " 2>&1");
    EXPECT_EQ(Matches(info, "Compression Scheme: ([^\\n]+)"),
              (std::vector<std::string>{"CCITT Group 4", "CCITT Group 4", "LZW"}))
        << info;
}

// Files of libtiff's own making, in layouts our encoder does not write.
std::vector<std::uint8_t> WriteWithLibtiff(const std::filesystem::path& path,
                                           const std::function<void(TIFF*)>& write) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    write(tif);
    TIFFClose(tif);
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(ReadWholeFile(path, bytes), Ok);
    return bytes;
}

void Header(TIFF* tif, std::uint32_t w, std::uint32_t h, std::uint16_t bits, std::uint16_t samples,
            std::uint16_t photometric, std::uint16_t compression) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
}

TEST_F(TiffCodecTest, LayoutsOfOtherWritersDecode) {
    struct Case {
        const char* name;
        std::function<void(TIFF*)> write;
        PixelFormat format;
        std::vector<ARGB> pixels;
    };
    const std::vector<Case> cases = {
        {"PackBitsMinIsWhite",
         [](TIFF* t) {
             Header(t, 8, 1, 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_PACKBITS);
             std::uint8_t row[1] = {0xF0};
             TIFFWriteScanline(t, row, 0, 0);
         },
         PixelFormat1bppIndexed,
         {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}},
        {"Grey4Palette",
         [](TIFF* t) {
             Header(t, 2, 1, 4, 1, PHOTOMETRIC_PALETTE, COMPRESSION_NONE);
             std::vector<std::uint16_t> r(16, 0), g(16, 0), b(16, 0);
             r[1] = 0xFFFF;
             b[2] = 0xFFFF;
             TIFFSetField(t, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
             std::uint8_t row[1] = {0x12};
             TIFFWriteScanline(t, row, 0, 0);
         },
         PixelFormat4bppIndexed, {0xFFFF0000, 0xFF0000FF}},
        {"Grey16",
         [](TIFF* t) {
             Header(t, 1, 1, 16, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_ADOBE_DEFLATE);
             std::uint16_t row[1] = {0x8080};
             TIFFWriteScanline(t, row, 0, 0);
         },
         PixelFormat48bppRGB, {0xFF808080}},
        {"TiledRgb",
         [](TIFF* t) {
             Header(t, 20, 18, 8, 3, PHOTOMETRIC_RGB, COMPRESSION_LZW);
             TIFFSetField(t, TIFFTAG_TILEWIDTH, 16);
             TIFFSetField(t, TIFFTAG_TILELENGTH, 16);
             std::vector<std::uint8_t> tile(16 * 16 * 3);
             for (std::size_t i = 0; i < tile.size(); i += 3) tile[i] = 200;
             for (std::uint32_t n = 0; n < TIFFNumberOfTiles(t); ++n)
                 TIFFWriteEncodedTile(t, n, tile.data(), static_cast<tmsize_t>(tile.size()));
         },
         PixelFormat24bppRGB, std::vector<ARGB>(20 * 18, 0xFFC80000)},
        {"SeparatePlanes",
         [](TIFF* t) {
             Header(t, 2, 1, 8, 3, PHOTOMETRIC_RGB, COMPRESSION_NONE);
             TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_SEPARATE);
             std::uint8_t planes[3][2] = {{255, 0}, {0, 255}, {0, 0}};
             for (std::uint16_t s = 0; s < 3; ++s) TIFFWriteScanline(t, planes[s], 0, s);
         },
         PixelFormat32bppARGB, {0xFFFF0000, 0xFF00FF00}},
        {"Cmyk",
         [](TIFF* t) {
             Header(t, 1, 1, 8, 4, PHOTOMETRIC_SEPARATED, COMPRESSION_NONE);
             std::uint8_t row[4] = {0, 255, 255, 0};
             TIFFWriteScanline(t, row, 0, 0);
         },
         PixelFormat24bppRGB, {0xFFFF0000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto decoded = MustDecode(WriteWithLibtiff(folder_ / (std::string(c.name) + ".tif"), c.write));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->GetPixelFormat(), c.format);
        EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), c.pixels);
    }
}

TEST_F(TiffCodecTest, TagsBecomePropertyItemsAndTextTagsAreWritten) {
    auto bitmap = Pattern(4, 4, PixelFormat24bppRGB);
    ASSERT_EQ(bitmap->SetPropertyItem(Item(270, PropertyTagTypeASCII, Ascii("receipt 42"))), Ok);
    ASSERT_EQ(bitmap->SetPropertyItem(Item(305, PropertyTagTypeASCII, Ascii("scanner"))), Ok);
    auto decoded = MustDecode(Encode(*bitmap, kTiffCodec.clsid));
    ASSERT_TRUE(decoded);
    PropertyItem item;
    ASSERT_EQ(decoded->GetPropertyItem(270, item), Ok);
    EXPECT_EQ(item, Item(270, PropertyTagTypeASCII, Ascii("receipt 42")));
    ASSERT_EQ(decoded->GetPropertyItem(305, item), Ok);
    EXPECT_EQ(item, Item(305, PropertyTagTypeASCII, Ascii("scanner")));
    ASSERT_EQ(decoded->GetPropertyItem(256, item), Ok);  // ImageWidth, as GDI+ lists it
    EXPECT_EQ(item.value[0], 4);
}

}  // namespace
}  // namespace gdiplus::codecs
