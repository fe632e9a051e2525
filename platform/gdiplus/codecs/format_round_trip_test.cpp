// Every pixel format through the single-image encoders and back: the format
// the file brings back, its pixels and its resolution.
#include <gtest/gtest.h>

#include "platform/gdiplus/codecs/codec_test_support.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

struct RoundTrip {
    const KnownCodec* codec;
    PixelFormat written;
    PixelFormat read;
};

class FormatRoundTripTest : public CodecTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(FormatRoundTripTest, PixelsComeBackInTheExpectedFormat) {
    const auto [codec, written, read] = GetParam();
    auto bitmap = Pattern(7, 5, written, IsAlphaPixelFormat(written));
    bitmap->SetResolution(300, 150);
    auto decoded = MustDecode(Encode(*bitmap, codec->clsid));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->GetRawFormat(), codec->formatId);
    EXPECT_EQ(decoded->GetPixelFormat(), read);
    EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), PixelsOf(*bitmap));
    // Both formats keep pixels per metre: a few hundredths of a dot per inch off.
    EXPECT_NEAR(decoded->GetHorizontalResolution(), 300, 0.02);
    EXPECT_NEAR(decoded->GetVerticalResolution(), 150, 0.02);
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, FormatRoundTripTest,
    ::testing::Values(RoundTrip{&kBmpCodec, PixelFormat1bppIndexed, PixelFormat1bppIndexed},
                      RoundTrip{&kBmpCodec, PixelFormat4bppIndexed, PixelFormat4bppIndexed},
                      RoundTrip{&kBmpCodec, PixelFormat8bppIndexed, PixelFormat8bppIndexed},
                      RoundTrip{&kBmpCodec, PixelFormat16bppGrayScale, PixelFormat8bppIndexed},
                      RoundTrip{&kBmpCodec, PixelFormat16bppRGB555, PixelFormat16bppRGB555},
                      RoundTrip{&kBmpCodec, PixelFormat16bppRGB565, PixelFormat16bppRGB565},
                      RoundTrip{&kBmpCodec, PixelFormat16bppARGB1555, PixelFormat16bppARGB1555},
                      RoundTrip{&kBmpCodec, PixelFormat24bppRGB, PixelFormat24bppRGB},
                      RoundTrip{&kBmpCodec, PixelFormat32bppRGB, PixelFormat32bppRGB},
                      RoundTrip{&kBmpCodec, PixelFormat32bppARGB, PixelFormat32bppARGB},
                      RoundTrip{&kBmpCodec, PixelFormat32bppPARGB, PixelFormat32bppARGB},
                      RoundTrip{&kBmpCodec, PixelFormat48bppRGB, PixelFormat24bppRGB},
                      RoundTrip{&kBmpCodec, PixelFormat64bppARGB, PixelFormat32bppARGB},
                      RoundTrip{&kBmpCodec, PixelFormat64bppPARGB, PixelFormat32bppARGB}));

INSTANTIATE_TEST_SUITE_P(
    Png, FormatRoundTripTest,
    ::testing::Values(RoundTrip{&kPngCodec, PixelFormat1bppIndexed, PixelFormat1bppIndexed},
                      RoundTrip{&kPngCodec, PixelFormat4bppIndexed, PixelFormat4bppIndexed},
                      RoundTrip{&kPngCodec, PixelFormat8bppIndexed, PixelFormat8bppIndexed},
                      RoundTrip{&kPngCodec, PixelFormat16bppGrayScale, PixelFormat48bppRGB},
                      RoundTrip{&kPngCodec, PixelFormat16bppRGB555, PixelFormat24bppRGB},
                      RoundTrip{&kPngCodec, PixelFormat16bppARGB1555, PixelFormat32bppARGB},
                      RoundTrip{&kPngCodec, PixelFormat24bppRGB, PixelFormat24bppRGB},
                      RoundTrip{&kPngCodec, PixelFormat32bppRGB, PixelFormat24bppRGB},
                      RoundTrip{&kPngCodec, PixelFormat32bppARGB, PixelFormat32bppARGB},
                      RoundTrip{&kPngCodec, PixelFormat32bppPARGB, PixelFormat32bppARGB},
                      RoundTrip{&kPngCodec, PixelFormat48bppRGB, PixelFormat48bppRGB},
                      RoundTrip{&kPngCodec, PixelFormat64bppARGB, PixelFormat64bppARGB}));

}  // namespace
}  // namespace gdiplus::codecs
