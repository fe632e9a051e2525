// CMYK pages of 8, 12 and 16 bits and CIE L*a*b* of 8 and 16, as other writers lay them out
// (both byte orders, interleaved or in planes, strips or tiles, with or
// without alpha), decoded and compared pixel by pixel with the colour worked
// out here from the definitions.
#include "platform/gdiplus/codecs/tiff_colour_spaces.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <array>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gdiplus/codecs/cie_reference_test_support.h"
#include "platform/gdiplus/codecs/codec_test_support.h"
#include "platform/gdiplus/file_io.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

// One pixel as it should come out: straight (not premultiplied) colour.
struct Want {
    std::array<int, 3> rgb;
    int alpha = 255;
};

struct Page {
    const char* name;
    std::uint16_t photometric;
    std::uint16_t bits;
    const char* mode = "wl";  // byte order of the file
    std::uint16_t extra = 0xFFFF;  // the ExtraSamples value; none when 0xFFFF
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    std::uint16_t compression = COMPRESSION_NONE;
    bool tiled = false;
    // Stored samples of each pixel, a row of `width` pixels, `height` rows.
    std::uint32_t width = 0, height = 0;
    std::vector<std::vector<std::uint32_t>> pixels{};
    std::vector<Want> want{};
};

std::uint32_t Max(std::uint16_t bits) { return (1u << bits) - 1; }
int Scaled(double fraction) { return static_cast<int>(std::lround(255 * fraction)); }

// Inks and alpha as fractions, stored as samples of `bits` bits (premultiplied
// for associated alpha), with the colour they should give.
void AddInks(Page& page, double c, double m, double y, double k, double alpha = 1) {
    const double max = Max(page.bits);
    const bool associated = page.extra == EXTRASAMPLE_ASSOCALPHA;
    std::vector<std::uint32_t> samples;
    for (double ink : {c, m, y, k})
        samples.push_back(static_cast<std::uint32_t>(std::lround(ink * (associated ? alpha : 1) * max)));
    if (page.extra != 0xFFFF) samples.push_back(static_cast<std::uint32_t>(std::lround(alpha * max)));
    page.pixels.push_back(samples);
    // The colour of the stored values, as the format defines them.
    auto back = [&](int s) {
        const double a = associated ? samples[4] / max : 1;
        return a == 0 ? 0 : samples[s] / max / a;
    };
    page.want.push_back({ReferenceRgbOfInks(back(0), back(1), back(2), back(3)),
                         page.extra == 0xFFFF ? 255 : Scaled(samples[4] / max)});
}

// L*a*b* stored as samples of `bits` bits in the page's encoding.
void AddLab(Page& page, double l, double a, double b, double alpha = 1) {
    const std::uint32_t max = Max(page.bits);
    const bool icc = page.photometric == PHOTOMETRIC_ICCLAB;
    auto opponent = [&](double v) {
        // CIELab: two's complement of the sample's width, 16-bit in 1/256; ICCLab: offset by half the range.
        const double units = page.bits == 8 ? v : v * 256;
        const auto n = static_cast<std::int64_t>(std::lround(icc ? units + (max + 1) / 2 : units));
        return static_cast<std::uint32_t>(n) & max;
    };
    std::vector<std::uint32_t> samples = {static_cast<std::uint32_t>(std::lround(l * max / 100)), opponent(a),
                                          opponent(b)};
    if (page.extra != 0xFFFF) samples.push_back(static_cast<std::uint32_t>(std::lround(alpha * max)));
    page.pixels.push_back(samples);
    // Back from the stored values, as the format defines them.
    auto signedOf = [&](std::uint32_t v) {
        if (icc) return (static_cast<double>(v) - (max + 1) / 2.0) / (page.bits == 8 ? 1 : 256);
        const double s = v > max / 2 ? static_cast<double>(v) - (max + 1.0) : static_cast<double>(v);
        return page.bits == 8 ? s : s / 256;
    };
    page.want.push_back({ReferenceSrgbOfLab(samples[0] * 100.0 / max, signedOf(samples[1]), signedOf(samples[2])),
                         page.extra == 0xFFFF ? 255 : Scaled(static_cast<double>(samples.back()) / max)});
}

void Fill(Page& page, void (*add)(Page&)) {
    add(page);
    page.width = static_cast<std::uint32_t>(page.pixels.size());
    page.height = 1;
}

std::vector<std::uint8_t> Write(const ScratchFolder& folder, const Page& page) {
    const std::string path = (folder / (std::string(page.name) + ".tif")).string();
    TIFF* tif = TIFFOpen(path.c_str(), page.mode);
    EXPECT_NE(tif, nullptr);
    if (!tif) return {};
    const auto samples = static_cast<std::uint16_t>(page.pixels[0].size());
    // Three rows, each the table of pixels rotated by one, in strips of two rows.
    const std::uint32_t height = 3;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, page.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, page.bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, page.photometric);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, page.compression);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, page.planar);
    if (page.photometric == PHOTOMETRIC_SEPARATED) TIFFSetField(tif, TIFFTAG_INKSET, INKSET_CMYK);
    if (page.extra != 0xFFFF) {
        std::uint16_t extra = page.extra;
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    const std::uint32_t planes = page.planar == PLANARCONFIG_SEPARATE ? samples : 1;
    const std::uint32_t perPixel = planes == 1 ? samples : 1;
    const std::uint32_t bits = page.bits, bytes = bits / 8;
    // The samples of plane `plane` of row `y`: 8 and 16 bits in the host's order as libtiff
    // takes them, other widths packed most significant bit first.
    auto row = [&](std::uint32_t y, std::uint32_t plane, std::uint32_t width) {
        std::vector<std::uint8_t> out((std::size_t{width} * perPixel * bits + 7) / 8, 0);
        for (std::uint32_t x = 0; x < page.width; ++x) {
            const auto& pixel = page.pixels[(x + y) % page.width];
            for (std::uint32_t s = 0; s < perPixel; ++s) {
                const std::uint32_t v = pixel[planes == 1 ? s : plane];
                const std::size_t index = std::size_t{x} * perPixel + s;
                if (bits == 8) {
                    out[index] = static_cast<std::uint8_t>(v);
                } else if (bits == 16) {
                    const auto w = static_cast<std::uint16_t>(v);
                    std::memcpy(&out[index * bytes], &w, 2);
                } else {
                    for (std::uint32_t b = 0; b < bits; ++b) {
                        const std::size_t bit = index * bits + b;
                        out[bit / 8] |= static_cast<std::uint8_t>(((v >> (bits - 1 - b)) & 1u) << (7 - bit % 8));
                    }
                }
            }
        }
        return out;
    };
    if (page.tiled) {
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, 16);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, 16);
        for (std::uint32_t plane = 0; plane < planes; ++plane) {
            for (std::uint32_t x0 = 0; x0 < page.width; x0 += 16) {
                std::vector<std::uint8_t> tile(static_cast<std::size_t>(TIFFTileSize(tif)), 0);
                const std::size_t tileRow = static_cast<std::size_t>(TIFFTileRowSize(tif));
                for (std::uint32_t y = 0; y < height; ++y) {
                    const auto r = row(y, plane, page.width);
                    const std::size_t from = std::size_t{x0} * perPixel * bytes;
                    std::memcpy(&tile[y * tileRow], r.data() + from, std::min(tileRow, r.size() - from));
                }
                EXPECT_GE(TIFFWriteTile(tif, tile.data(), x0, 0, 0, static_cast<std::uint16_t>(plane)), 0);
            }
        }
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 2);
        for (std::uint32_t plane = 0; plane < planes; ++plane) {
            for (std::uint32_t y = 0; y < height; ++y) {
                auto r = row(y, plane, page.width);
                EXPECT_EQ(TIFFWriteScanline(tif, r.data(), y, static_cast<std::uint16_t>(plane)), 1);
            }
        }
    }
    TIFFClose(tif);
    std::vector<std::uint8_t> file;
    EXPECT_EQ(ReadWholeFile(path, file), Ok);
    return file;
}

void InkTable(Page& p) {
    AddInks(p, 0, 0, 0, 0);         // paper
    AddInks(p, 0, 0, 0, 1);         // black
    AddInks(p, 1, 0, 0, 0);         // cyan
    AddInks(p, 0, 1, 1, 0);         // red
    AddInks(p, 0.5, 0.25, 0.75, 0.2, 0.6);
    AddInks(p, 0.3333, 0.6667, 0.1, 0.5, 0.25);
    AddInks(p, 0.01, 0.99, 0.5, 0.05, 0.9);
    AddInks(p, 0.123, 0.456, 0.789, 0.321, 0.75);
    AddInks(p, 0.9, 0.1, 0.2, 0.95, 0.0);
    AddInks(p, 0.2, 0.3, 0.4, 0.1, 0.5);
}

void LabTable(Page& p) {
    AddLab(p, 0, 0, 0);
    AddLab(p, 100, 0, 0);
    AddLab(p, 50, 0, 0, 0.5);  // the grey of middle lightness: sRGB 119, not lighter
    AddLab(p, 53.24, 80.09, 67.2);
    AddLab(p, 87.73, -86.18, 83.18, 0.25);
    AddLab(p, 32.3, 79.19, -107.86);
    AddLab(p, 75, -20, 30, 0.8);
    AddLab(p, 20, 10, -40);
    AddLab(p, 60, 40, 40);
    AddLab(p, 5, -3, 2, 0.1);  // the linear part of the curves near black
}

std::vector<Page> Pages() {
    constexpr std::uint16_t kInks = PHOTOMETRIC_SEPARATED, kCie = PHOTOMETRIC_CIELAB, kIcc = PHOTOMETRIC_ICCLAB;
    constexpr std::uint16_t kAlpha = EXTRASAMPLE_UNASSALPHA, kPlanes = PLANARCONFIG_SEPARATE;
    std::vector<Page> pages = {
        {.name = "cmyk8", .photometric = kInks, .bits = 8},
        {.name = "cmyk16-big-endian", .photometric = kInks, .bits = 16, .mode = "wb"},
        {.name = "cmyk16-little-endian-lzw", .photometric = kInks, .bits = 16, .compression = COMPRESSION_LZW},
        {.name = "cmyk16-alpha", .photometric = kInks, .bits = 16, .mode = "wb", .extra = kAlpha},
        {.name = "cmyk16-premultiplied", .photometric = kInks, .bits = 16, .extra = EXTRASAMPLE_ASSOCALPHA},
        {.name = "cmyk8-alpha", .photometric = kInks, .bits = 8, .extra = kAlpha},
        {.name = "cmyk16-planes", .photometric = kInks, .bits = 16, .mode = "wb", .planar = kPlanes,
         .compression = COMPRESSION_ADOBE_DEFLATE},
        {.name = "cmyk16-tiles-planes-alpha", .photometric = kInks, .bits = 16, .extra = kAlpha, .planar = kPlanes,
         .tiled = true},
        {.name = "cmyk12-alpha", .photometric = kInks, .bits = 12, .mode = "wb", .extra = kAlpha,
         .compression = COMPRESSION_LZW},
        {.name = "cmyk12-planes", .photometric = kInks, .bits = 12, .planar = kPlanes},
        {.name = "cmyk8-tiles", .photometric = kInks, .bits = 8, .tiled = true},
        {.name = "cielab8", .photometric = kCie, .bits = 8},
        {.name = "cielab16-big-endian", .photometric = kCie, .bits = 16, .mode = "wb"},
        {.name = "cielab16-little-endian", .photometric = kCie, .bits = 16},
        {.name = "icclab8", .photometric = kIcc, .bits = 8},
        {.name = "icclab16-big-endian", .photometric = kIcc, .bits = 16, .mode = "wb"},
        {.name = "cielab8-alpha-planes", .photometric = kCie, .bits = 8, .extra = kAlpha, .planar = kPlanes},
    };
    for (Page& p : pages) Fill(p, p.photometric == kInks ? InkTable : LabTable);
    return pages;
}

class TiffColourSpaces : public CodecTest {
protected:
    ScratchFolder folder_;
};

TEST_F(TiffColourSpaces, InksAndLabComeOutAsTheColourTheyDefine) {
    for (const Page& page : Pages()) {
        SCOPED_TRACE(page.name);
        auto decoded = MustDecode(Write(folder_, page));
        ASSERT_TRUE(decoded);
        const bool alpha = page.extra != 0xFFFF;
        EXPECT_EQ(decoded->GetPixelFormat(), alpha ? PixelFormat32bppARGB : PixelFormat24bppRGB);
        ASSERT_EQ(decoded->GetWidth(), page.width);
        ASSERT_EQ(decoded->GetHeight(), 3u);
        // Inks are scaled exactly; the L*a*b* reference takes a slightly different D65 white and matrix.
        const int tolerance = page.photometric == PHOTOMETRIC_SEPARATED && page.extra != EXTRASAMPLE_ASSOCALPHA ? 0 : 1;
        for (std::uint32_t y = 0; y < 3; ++y) {
            for (std::uint32_t x = 0; x < page.width; ++x) {
                const Want& want = page.want[(x + y) % page.width];
                ARGB p = 0;
                ASSERT_EQ(AsBitmap(*decoded).GetPixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), p), Ok);
                EXPECT_EQ(AlphaOf(p), want.alpha) << x << "," << y;
                if (want.alpha == 0) continue;
                EXPECT_NEAR(RedOf(p), want.rgb[0], tolerance) << x << "," << y;
                EXPECT_NEAR(GreenOf(p), want.rgb[1], tolerance) << x << "," << y;
                EXPECT_NEAR(BlueOf(p), want.rgb[2], tolerance) << x << "," << y;
            }
        }
    }
}

TEST(TiffColourSpaceConversions, InksScaleExactlyBetweenDepths) {
    // Half coverage of 16 bits is 32767.5 of 65535: the cases bracket it.
    struct Case {
        std::array<std::uint32_t, 4> cmyk;
        std::uint32_t inMax, outMax;
        std::array<std::uint32_t, 3> rgb;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, 65535, 255, {255, 255, 255}},
        {{65535, 0, 0, 0}, 65535, 255, {0, 255, 255}},
        {{0, 0, 0, 65535}, 65535, 255, {0, 0, 0}},
        // 255 x 32768 / 65535 = 127.50 19..., 255 x 32767 / 65535 = 127.49 6...
        {{32767, 32768, 0, 0}, 65535, 255, {128, 127, 255}},
        // (127 / 255)^2 of 255 = 63.25.
        {{128, 0, 0, 128}, 255, 255, {63, 127, 127}},
        {{0, 0, 0, 257}, 65535, 255, {254, 254, 254}},
        {{0, 0, 0, 1}, 255, 65535, {65278, 65278, 65278}},
    };
    for (const Case& c : cases) {
        std::uint32_t rgb[3];
        InksToRgb(c.cmyk.data(), c.inMax, c.outMax, rgb);
        EXPECT_EQ((std::array<std::uint32_t, 3>{rgb[0], rgb[1], rgb[2]}), c.rgb) << c.cmyk[0] << " " << c.cmyk[3];
    }
}

}  // namespace
}  // namespace gdiplus::codecs
