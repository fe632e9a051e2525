// How the writers lay out what they are given: a TIFF of an opaque image
// carries no alpha channel and its LZW data is predicted; a grey or
// black-and-white source makes a grey JPEG.
#include <gtest/gtest.h>
#include <tiffio.h>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/codec_test_support.h"
#include "platform/gdiplus/codecs/tiff_memory_file.h"
#include "platform/gdiplus/encoder_parameters.h"

#include <algorithm>
#include <cstdlib>

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

class WriterLayoutTest : public CodecTest {};

struct TiffLayout {
    std::uint16_t samples = 0, predictor = 0, bits = 0;
};

TiffLayout LayoutOf(const std::vector<std::uint8_t>& bytes) {
    TiffMemoryFile file(bytes);
    TiffLayout layout;
    if (!file.tiff()) return layout;
    TIFFGetFieldDefaulted(file.tiff(), TIFFTAG_SAMPLESPERPIXEL, &layout.samples);
    TIFFGetFieldDefaulted(file.tiff(), TIFFTAG_PREDICTOR, &layout.predictor);
    TIFFGetFieldDefaulted(file.tiff(), TIFFTAG_BITSPERSAMPLE, &layout.bits);
    return layout;
}

TEST_F(WriterLayoutTest, AnOpaqueArgbImageBecomesAnRgbTiffWithPrediction) {
    const auto opaque = Pattern(40, 30, PixelFormat32bppARGB);
    const std::vector<std::uint8_t> bytes = Encode(*opaque, kTiffCodec.clsid);
    const TiffLayout layout = LayoutOf(bytes);
    EXPECT_EQ(layout.samples, 3);
    EXPECT_EQ(layout.predictor, PREDICTOR_HORIZONTAL);
    // Nothing is lost: every pixel comes back.
    const auto decoded = MustDecode(bytes);
    ASSERT_TRUE(decoded);
    PixelBuffer before, after;
    ASSERT_EQ(ReadPixels(*opaque, PixelFormat32bppARGB, before), Ok);
    ASSERT_EQ(ReadPixels(*decoded, PixelFormat32bppARGB, after), Ok);
    EXPECT_EQ(before.bytes, after.bytes);
}

TEST_F(WriterLayoutTest, AnImageWithTransparencyOrAnAskedDepthKeepsItsAlpha) {
    const auto clear = Pattern(40, 30, PixelFormat32bppARGB, true);
    EXPECT_EQ(LayoutOf(Encode(*clear, kTiffCodec.clsid)).samples, 4);
    const auto opaque = Pattern(40, 30, PixelFormat32bppARGB);
    const EncoderParameters depth32 = {EncoderParameter::Long(EncoderColorDepth, 32)};
    EXPECT_EQ(LayoutOf(Encode(*opaque, kTiffCodec.clsid, depth32)).samples, 4);
}

TEST_F(WriterLayoutTest, PaletteIndicesAreNotPredicted) {
    const auto indexed = Pattern(40, 30, PixelFormat8bppIndexed);
    const TiffLayout layout = LayoutOf(Encode(*indexed, kTiffCodec.clsid));
    EXPECT_EQ(layout.samples, 1);
    EXPECT_EQ(layout.predictor, PREDICTOR_NONE);
}

TEST_F(WriterLayoutTest, GreyAndBlackAndWhiteSourcesMakeAGreyJpeg) {
    for (PixelFormat format : {PixelFormat1bppIndexed, PixelFormat24bppRGB}) {
        SCOPED_TRACE(format);
        const auto source = Pattern(40, 30, format);
        const auto decoded = MustDecode(Encode(*source, kJpegCodec.clsid));
        ASSERT_TRUE(decoded);
        // Our decoder gives a one-component JPEG as 8-bit grey, a colour one as 24-bit RGB.
        EXPECT_EQ(decoded->GetPixelFormat(),
                  format == PixelFormat1bppIndexed ? PixelFormat8bppIndexed : PixelFormat24bppRGB);
    }
    // The black-and-white page keeps its black and white.
    const auto page = Pattern(16, 2, PixelFormat1bppIndexed);
    const auto decoded = MustDecode(Encode(*page, kJpegCodec.clsid));
    PixelBuffer before, after;
    ASSERT_EQ(ReadPixels(*page, PixelFormat32bppARGB, before), Ok);
    ASSERT_EQ(ReadPixels(*decoded, PixelFormat32bppARGB, after), Ok);
    int worst = 0;
    for (std::size_t i = 0; i < before.bytes.size(); ++i) worst = std::max(worst, std::abs(before.bytes[i] - after.bytes[i]));
    EXPECT_LT(worst, 64);
}

}  // namespace
}  // namespace gdiplus::codecs
