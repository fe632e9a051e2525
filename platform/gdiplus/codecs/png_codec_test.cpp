#include "platform/gdiplus/codecs/png_codec.h"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <optional>

#include "platform/gdiplus/codecs/codec_test_support.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

// A PNG written by libpng itself from raw rows, for the variants our encoder
// does not produce.
struct RawPng {
    int colorType;
    int depth;
    std::uint32_t width;
    std::vector<std::vector<std::uint8_t>> rows;  // as PNG stores them (16-bit big-endian)
    std::vector<png_color> palette = {};
    std::vector<png_byte> paletteAlpha = {};
    std::optional<png_color_16> transparent = {};
    bool interlaced = false;
};

std::vector<std::uint8_t> WriteWithLibpng(const RawPng& raw) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "libpng refused the test image";
        return {};
    }
    png_set_write_fn(png, &out, [](png_structp p, png_bytep d, png_size_t n) {
        auto* o = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
        o->insert(o->end(), d, d + n);
    }, nullptr);
    png_set_IHDR(png, info, raw.width, static_cast<png_uint_32>(raw.rows.size()), raw.depth, raw.colorType,
                 raw.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!raw.palette.empty()) png_set_PLTE(png, info, raw.palette.data(), static_cast<int>(raw.palette.size()));
    if (!raw.paletteAlpha.empty() || raw.transparent) {
        png_color_16 colour = raw.transparent.value_or(png_color_16{});
        png_set_tRNS(png, info, raw.paletteAlpha.empty() ? nullptr : raw.paletteAlpha.data(),
                     static_cast<int>(raw.paletteAlpha.size()), raw.transparent ? &colour : nullptr);
    }
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const auto& r : raw.rows) rows.push_back(const_cast<png_bytep>(r.data()));
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

struct PngVariant {
    const char* name;
    RawPng png;
    PixelFormat format;
    std::vector<ARGB> pixels;
};

class PngCodecTest : public CodecTest {};

TEST_F(PngCodecTest, EveryColourTypeAndDepthDecodes) {
    const std::vector<PngVariant> variants = {
        {"Grey1", {PNG_COLOR_TYPE_GRAY, 1, 3, {{0b10100000}}}, PixelFormat1bppIndexed,
         {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}},
        {"Grey2WithTransparentLevel", {PNG_COLOR_TYPE_GRAY, 2, 4, {{0b00011011}}, {}, {}, png_color_16{0, 0, 0, 0, 2}},
         PixelFormat4bppIndexed, {0xFF000000, 0xFF555555, 0x00AAAAAA, 0xFFFFFFFF}},
        {"Grey4", {PNG_COLOR_TYPE_GRAY, 4, 2, {{0x0F}}}, PixelFormat4bppIndexed, {0xFF000000, 0xFFFFFFFF}},
        {"Grey8", {PNG_COLOR_TYPE_GRAY, 8, 2, {{0x00, 0x80}}}, PixelFormat8bppIndexed, {0xFF000000, 0xFF808080}},
        {"Grey16", {PNG_COLOR_TYPE_GRAY, 16, 1, {{0x80, 0x00}}}, PixelFormat48bppRGB, {0xFF808080}},
        {"Grey16WithTransparentLevel", {PNG_COLOR_TYPE_GRAY, 16, 2, {{0x12, 0x34, 0xFF, 0xFF}}, {}, {},
                                        png_color_16{0, 0, 0, 0, 0x1234}},
         PixelFormat64bppARGB, {0x00121212, 0xFFFFFFFF}},
        {"GreyAlpha8", {PNG_COLOR_TYPE_GRAY_ALPHA, 8, 1, {{0x40, 0x80}}}, PixelFormat32bppARGB, {0x80404040}},
        {"GreyAlpha16", {PNG_COLOR_TYPE_GRAY_ALPHA, 16, 1, {{0x40, 0x00, 0xFF, 0xFF}}}, PixelFormat64bppARGB,
         {0xFF404040}},
        {"Palette2", {PNG_COLOR_TYPE_PALETTE, 2, 3, {{0b00011000}}, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}},
         PixelFormat4bppIndexed, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF}},
        {"Palette8WithAlpha", {PNG_COLOR_TYPE_PALETTE, 8, 2, {{0, 1}}, {{255, 0, 0}, {0, 0, 255}}, {0x40}},
         PixelFormat8bppIndexed, {0x40FF0000, 0xFF0000FF}},
        {"Rgb8WithTransparentColour", {PNG_COLOR_TYPE_RGB, 8, 2, {{1, 2, 3, 4, 5, 6}}, {}, {},
                                       png_color_16{0, 1, 2, 3, 0}},
         PixelFormat32bppARGB, {0x00010203, 0xFF040506}},
        {"Rgb16", {PNG_COLOR_TYPE_RGB, 16, 1, {{0xFF, 0xFF, 0x00, 0x00, 0x80, 0x00}}}, PixelFormat48bppRGB,
         {0xFFFF0080}},
        {"Rgba16", {PNG_COLOR_TYPE_RGB_ALPHA, 16, 1, {{0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}}},
         PixelFormat64bppARGB, {0x00FF0000}},
        {"InterlacedRgb8", {PNG_COLOR_TYPE_RGB, 8, 2, {{255, 0, 0, 0, 255, 0}, {0, 0, 255, 9, 9, 9}}, {}, {}, {}, true},
         PixelFormat24bppRGB, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF090909}},
    };
    for (const auto& v : variants) {
        SCOPED_TRACE(v.name);
        auto decoded = MustDecode(WriteWithLibpng(v.png));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->GetPixelFormat(), v.format);
        EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), v.pixels);
    }
}

TEST_F(PngCodecTest, LibpngReadsWhatWeWrite) {
    auto bitmap = Pattern(5, 3, PixelFormat32bppARGB, true);
    const std::vector<std::uint8_t> bytes = Encode(*bitmap, kPngCodec.clsid);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()));
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    ASSERT_EQ(image.width, 5u);
    ASSERT_EQ(image.height, 3u);
    std::vector<ARGB> read(15);
    std::memcpy(read.data(), pixels.data(), pixels.size());
    EXPECT_EQ(read, PixelsOf(*bitmap));
}

// Pages larger than the band the writer reads at a time, in every format it
// writes, with rows that end inside a byte: libpng reads back each pixel.
TEST_F(PngCodecTest, PagesWrittenBandByBandReadBackWhole) {
    const struct {
        std::int32_t width, height;
        PixelFormat format;
    } cases[] = {{8001, 300, PixelFormat1bppIndexed}, {1201, 500, PixelFormat4bppIndexed},
                 {601, 530, PixelFormat8bppIndexed},  {701, 613, PixelFormat24bppRGB},
                 {333, 420, PixelFormat32bppARGB},    {257, 300, PixelFormat48bppRGB}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        auto bitmap = Pattern(c.width, c.height, c.format);
        ASSERT_TRUE(bitmap);
        auto decoded = MustDecode(Encode(*bitmap, kPngCodec.clsid));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), PixelsOf(*bitmap));
    }
}

}  // namespace
}  // namespace gdiplus::codecs
