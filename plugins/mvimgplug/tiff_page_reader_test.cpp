// TIFF pages of every common kind, written here with libtiff, as the plug-in
// decodes them: with an ICC profile (this binary runs under ASan, where a read
// of freed memory fails the test), associated alpha, CMYK with black, CIELab,
// BigTIFF, 12 and 16 bits, floating point with a predictor, and a page whose
// header claims more than the file can hold.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/gdiplus/codecs/cie_reference_test_support.h"
#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/testing/plugin_test_support.h"

namespace mvimgplug::testing {
namespace {

// Image types of the plug-in's bitmaps.
constexpr int32_t kStandard = 1;
constexpr int32_t kUint16 = 2;
constexpr int32_t kFloat = 6;
constexpr int32_t kRgb16 = 9;
constexpr int32_t kRgba16 = 10;
constexpr int32_t kRgbFloat = 11;

constexpr uint32_t kWidth = 6;
constexpr uint32_t kHeight = 4;

// A profile header of the right shape (size, signature "acsp") and no tags:
// the reader copies it whatever it says.
std::vector<uint8_t> IccProfile() {
    std::vector<uint8_t> profile(132, 0);
    profile[3] = 132;
    std::memcpy(&profile[12], "mntr", 4);
    std::memcpy(&profile[16], "RGB ", 4);
    std::memcpy(&profile[20], "XYZ ", 4);
    std::memcpy(&profile[36], "acsp", 4);
    return profile;
}

struct Page {
    uint16_t photometric = PHOTOMETRIC_RGB;
    uint16_t samples = 3;
    uint16_t bits = 8;
    uint16_t sampleFormat = SAMPLEFORMAT_UINT;
    uint16_t compression = COMPRESSION_ADOBE_DEFLATE;
    uint16_t predictor = PREDICTOR_NONE;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t extra = 0xFFFF;  // the ExtraSamples value; none when 0xFFFF
    bool icc = false;
    bool bigTiff = false;
    uint16_t inkSet = 0;
    // Sample s of pixel (x, y) as raw bytes of the sample's width.
    std::function<std::vector<uint8_t>(uint32_t x, uint32_t y, uint32_t s)> sample;
};

void Write(const std::string& path, const Page& page) {
    TIFF* tiff = TIFFOpen(path.c_str(), page.bigTiff ? "w8" : "w");
    ASSERT_NE(tiff, nullptr);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, page.samples);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, page.bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, page.sampleFormat);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, page.photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, page.planar);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, page.compression);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 2);
    if (page.predictor != PREDICTOR_NONE) TIFFSetField(tiff, TIFFTAG_PREDICTOR, page.predictor);
    if (page.inkSet != 0) TIFFSetField(tiff, TIFFTAG_INKSET, page.inkSet);
    if (page.extra != 0xFFFF) {
        uint16_t extra = page.extra;
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    if (page.icc) {
        std::vector<uint8_t> profile = IccProfile();
        TIFFSetField(tiff, TIFFTAG_ICCPROFILE, static_cast<uint32_t>(profile.size()), profile.data());
    }
    TIFFSetField(tiff, TIFFTAG_IMAGEDESCRIPTION, "receipt");
    const bool separate = page.planar == PLANARCONFIG_SEPARATE;
    for (uint16_t plane = 0; plane < (separate ? page.samples : 1); ++plane) {
        for (uint32_t y = 0; y < kHeight; ++y) {
            std::vector<uint8_t> row;
            // Samples narrower than a byte are packed, most significant bit first.
            uint32_t bitsInRow = 0;
            for (uint32_t x = 0; x < kWidth; ++x) {
                for (uint16_t s = separate ? plane : 0; s < (separate ? plane + 1 : page.samples); ++s) {
                    const std::vector<uint8_t> bytes = page.sample(x, y, s);
                    if (page.bits % 8 == 0) {
                        row.insert(row.end(), bytes.begin(), bytes.end());
                        continue;
                    }
                    const uint32_t value = bytes[0] << 8 | bytes[1];
                    for (int b = page.bits - 1; b >= 0; --b, ++bitsInRow) {
                        if (bitsInRow % 8 == 0) row.push_back(0);
                        row.back() |= static_cast<uint8_t>(((value >> b) & 1) << (7 - bitsInRow % 8));
                    }
                }
            }
            ASSERT_EQ(TIFFWriteScanline(tiff, row.data(), y, plane), 1);
        }
    }
    TIFFClose(tiff);
}

std::vector<uint8_t> Byte(uint32_t v) { return {static_cast<uint8_t>(v)}; }
std::vector<uint8_t> Word(uint32_t v) {
    const auto w = static_cast<uint16_t>(v);
    return {static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 8)};
}
// A 12-bit value for the packing above (high byte first).
std::vector<uint8_t> Twelve(uint32_t v) { return {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)}; }
std::vector<uint8_t> Double(double v) {
    std::vector<uint8_t> bytes(8);
    std::memcpy(bytes.data(), &v, 8);
    return bytes;
}

// The picture of every case: x and y give the colour.
uint32_t Red(uint32_t x, uint32_t) { return 30 * x + 20; }
uint32_t Green(uint32_t, uint32_t y) { return 50 * y + 10; }
uint32_t Blue(uint32_t x, uint32_t y) { return 10 * x + 20 * y + 40; }

struct Expected {
    int32_t type;
    uint32_t bpp;
    // Bytes of pixel (x, y) in the bitmap as the plug-in hands it out.
    std::function<std::vector<uint8_t>(uint32_t x, uint32_t y)> pixel;
    // Largest difference of any byte (un-premultiplying rounds).
    int tolerance = 0;
};

struct Case {
    const char* name;
    Page page;
    Expected expected;
};

std::vector<uint8_t> Bgr(uint32_t x, uint32_t y) {
    return {static_cast<uint8_t>(Blue(x, y)), static_cast<uint8_t>(Green(x, y)), static_cast<uint8_t>(Red(x, y))};
}

std::vector<uint8_t> Rgb16(uint32_t x, uint32_t y) {
    std::vector<uint8_t> out;
    for (uint32_t v : {Red(x, y) * 257, Green(x, y) * 257, Blue(x, y) * 257}) {
        const std::vector<uint8_t> w = Word(v);
        out.insert(out.end(), w.begin(), w.end());
    }
    return out;
}

std::vector<Case> Cases() {
    auto rgb8 = [](uint32_t x, uint32_t y, uint32_t s) { return Byte(s == 0 ? Red(x, y) : s == 1 ? Green(x, y) : Blue(x, y)); };
    std::vector<Case> cases;
    {
        Page p;
        p.icc = true;
        p.sample = rgb8;
        cases.push_back({"rgb8-deflate-icc", p, {kStandard, 24, Bgr}});
        p.bigTiff = true;
        cases.push_back({"rgb8-bigtiff", p, {kStandard, 24, Bgr}});
        p.bigTiff = false;
        p.planar = PLANARCONFIG_SEPARATE;
        p.compression = COMPRESSION_LZW;
        p.predictor = PREDICTOR_HORIZONTAL;
        cases.push_back({"rgb8-planar-lzw-predictor", p, {kStandard, 24, Bgr}});
    }
    {
        // 16-bit RGBA with an ICC profile: what made the library read freed memory.
        Page p;
        p.icc = true;
        p.samples = 4;
        p.bits = 16;
        p.extra = EXTRASAMPLE_UNASSALPHA;
        p.sample = [](uint32_t x, uint32_t y, uint32_t s) {
            return Word(s == 3 ? 0xFFFF : (s == 0 ? Red(x, y) : s == 1 ? Green(x, y) : Blue(x, y)) * 257);
        };
        cases.push_back({"rgba16-icc", p, {kRgba16, 64, [](uint32_t x, uint32_t y) {
                             std::vector<uint8_t> out = Rgb16(x, y);
                             out.push_back(0xFF);
                             out.push_back(0xFF);
                             return out;
                         }}});
    }
    {
        // Associated alpha of one half: the colour stored is half the colour meant.
        Page p;
        p.samples = 4;
        p.extra = EXTRASAMPLE_ASSOCALPHA;
        p.sample = [](uint32_t x, uint32_t y, uint32_t s) {
            return Byte(s == 3 ? 128 : ((s == 0 ? Red(x, y) : s == 1 ? Green(x, y) : Blue(x, y)) * 128 + 127) / 255);
        };
        cases.push_back({"rgba8-associated", p, {kStandard, 32, [](uint32_t x, uint32_t y) {
                             std::vector<uint8_t> out = Bgr(x, y);
                             out.push_back(128);
                             return out;
                         }, 1}});
    }
    {
        // CMYK: only K set, so every channel comes out as 255 - K; no alpha.
        Page p;
        p.photometric = PHOTOMETRIC_SEPARATED;
        p.inkSet = INKSET_CMYK;
        p.samples = 4;
        p.sample = [](uint32_t x, uint32_t y, uint32_t s) { return Byte(s == 3 ? 255 - Red(x, y) : 0); };
        auto grey = [](uint32_t x, uint32_t y) {
            const auto v = static_cast<uint8_t>(Red(x, y));
            return std::vector<uint8_t>{v, v, v};
        };
        cases.push_back({"cmyk8", p, {kStandard, 24, grey}});
        p.bits = 16;
        p.sample = [](uint32_t x, uint32_t y, uint32_t s) { return Word(s == 3 ? (255 - Red(x, y)) * 257 : 0); };
        cases.push_back({"cmyk16", p, {kRgb16, 48, [](uint32_t x, uint32_t) {
                             std::vector<uint8_t> out;
                             for (int c = 0; c < 3; ++c) {
                                 const std::vector<uint8_t> w = Word(Red(x, 0) * 257);
                                 out.insert(out.end(), w.begin(), w.end());
                             }
                             return out;
                         }}});
    }
    {
        Page p;
        p.photometric = PHOTOMETRIC_MINISBLACK;
        p.samples = 1;
        p.bits = 12;
        p.compression = COMPRESSION_NONE;
        p.sample = [](uint32_t x, uint32_t y, uint32_t) { return Twelve(Red(x, y) * 16); };
        cases.push_back({"grey12", p, {kUint16, 16, [](uint32_t x, uint32_t y) {
                             return Word((Red(x, y) * 16 * 65535 + 2047) / 4095);
                         }}});
    }
    {
        Page p;
        p.photometric = PHOTOMETRIC_MINISBLACK;
        p.samples = 1;
        p.bits = 64;
        p.sampleFormat = SAMPLEFORMAT_IEEEFP;
        p.predictor = PREDICTOR_FLOATINGPOINT;
        p.sample = [](uint32_t x, uint32_t y, uint32_t) { return Double(x * 0.25 + y * 0.5); };
        cases.push_back({"float64-predictor", p, {kFloat, 32, [](uint32_t x, uint32_t y) {
                             const float v = static_cast<float>(x * 0.25 + y * 0.5);
                             std::vector<uint8_t> out(4);
                             std::memcpy(out.data(), &v, 4);
                             return out;
                         }}});
    }
    return cases;
}

class TiffPages : public ::testing::TestWithParam<Case> {};

void ExpectPixels(MvimgplugHandle bitmap, const Expected& expected) {
    ASSERT_NE(bitmap, 0u);
    EXPECT_EQ(MVIMGPLUG_GetImageType(bitmap), expected.type);
    ASSERT_EQ(MVIMGPLUG_GetBPP(bitmap), expected.bpp);
    ASSERT_EQ(MVIMGPLUG_GetWidth(bitmap), kWidth);
    ASSERT_EQ(MVIMGPLUG_GetHeight(bitmap), kHeight);
    const uint32_t step = expected.bpp / 8;
    for (uint32_t y = 0; y < kHeight; ++y) {
        const std::vector<uint8_t> row = RowOf(bitmap, y);
        for (uint32_t x = 0; x < kWidth; ++x) {
            const std::vector<uint8_t> want = expected.pixel(x, y);
            ASSERT_EQ(want.size(), step);
            for (uint32_t b = 0; b < step; ++b) {
                EXPECT_NEAR(row[x * step + b], want[b], expected.tolerance) << "x " << x << " y " << y << " byte " << b;
            }
        }
    }
}

TEST_P(TiffPages, LoadAndLockGiveTheFilesPixels) {
    ScratchFolder scratch;
    const std::string path = scratch.file(std::string(GetParam().name) + ".tif");
    Write(path, GetParam().page);
    Bitmap loaded(MVIMGPLUG_LoadU(kTiff, U16(path).c_str(), 0));
    ExpectPixels(loaded.get(), GetParam().expected);
    // The file's description comes along as EXIF-main metadata (model 1).
    EXPECT_EQ(MVIMGPLUG_GetMetadataCount(1, loaded.get()), 1u);

    const MvimgplugHandle file = MVIMGPLUG_OpenFileU(U16(path).c_str());
    const MvimgplugHandle multi = MVIMGPLUG_OpenMultiBitmapU(kTiff, 0, file);
    ASSERT_NE(multi, 0u);
    const MvimgplugHandle page = MVIMGPLUG_LockPage(multi, 0);
    ExpectPixels(page, GetParam().expected);
    MVIMGPLUG_UnlockPage(multi, page, 1);
    EXPECT_EQ(MVIMGPLUG_GetWidth(page), 0u);
    MVIMGPLUG_CloseMultiBitmap(multi, 0);
    MVIMGPLUG_CloseFileHandle(file);
}

INSTANTIATE_TEST_SUITE_P(Kinds, TiffPages, ::testing::ValuesIn(Cases()),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (c == '-') c = '_';
                             }
                             return name;
                         });

TEST(TiffPageKinds, CieLabGreyOfMiddleLightnessIsNeutralSrgbGrey) {
    ScratchFolder scratch;
    const std::string path = scratch.file("lab.tif");
    Page p;
    p.photometric = PHOTOMETRIC_CIELAB;
    // L* 50 (128 of 255), a* = b* = 0: the grey of middle lightness, sRGB about 119.
    p.sample = [](uint32_t, uint32_t, uint32_t s) { return Byte(s == 0 ? 128 : 0); };
    Write(path, p);
    Bitmap loaded(MVIMGPLUG_LoadU(kTiff, U16(path).c_str(), 0));
    ASSERT_TRUE(loaded);
    ASSERT_EQ(MVIMGPLUG_GetBPP(loaded.get()), 24u);
    const std::vector<uint8_t> row = RowOf(loaded.get(), 0);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(row[c], 119, 1) << c;
}

// L*a*b* of every encoding the reader takes, in the colour the definitions give
// (the same the built-in decoder shows: both go through one conversion).
TEST(TiffPageKinds, LabPagesGiveTheSrgbOfTheirValues) {
    using gdiplus::codecs::testing_support::ReferenceSrgbOfLab;
    struct LabValue {
        double l, a, b;
    };
    static constexpr LabValue kValues[] = {{0, 0, 0},       {100, 0, 0},         {50, 0, 0},   {53.24, 80.09, 67.2},
                                           {87.73, -86.18, 83.18}, {32.3, 79.19, -107.86}, {75, -20, 30}, {5, -3, 2}};
    struct Encoding {
        const char* name;
        uint16_t photometric, bits;
    };
    for (const Encoding e : {Encoding{"cielab8", PHOTOMETRIC_CIELAB, 8}, Encoding{"cielab16", PHOTOMETRIC_CIELAB, 16},
                             Encoding{"icclab8", PHOTOMETRIC_ICCLAB, 8}}) {
        SCOPED_TRACE(e.name);
        const uint32_t max = e.bits == 8 ? 255 : 65535;
        const bool icc = e.photometric == PHOTOMETRIC_ICCLAB;
        // Stored samples: L* over the range; a*, b* two's complement (16 bits: in 1/256) or offset by half.
        auto stored = [&](uint32_t x, uint32_t y) {
            const LabValue& v = kValues[(x + y * kWidth) % std::size(kValues)];
            auto opponent = [&](double o) {
                const double units = e.bits == 8 ? o : o * 256;
                return static_cast<uint32_t>(std::lround(icc ? units + (max + 1) / 2 : units)) & max;
            };
            return std::vector<uint32_t>{static_cast<uint32_t>(std::lround(v.l * max / 100)), opponent(v.a),
                                         opponent(v.b)};
        };
        ScratchFolder scratch;
        const std::string path = scratch.file(std::string(e.name) + ".tif");
        Page p;
        p.photometric = e.photometric;
        p.bits = e.bits;
        p.sample = [&](uint32_t x, uint32_t y, uint32_t s) {
            return e.bits == 8 ? Byte(stored(x, y)[s]) : Word(stored(x, y)[s]);
        };
        Write(path, p);
        Bitmap loaded(MVIMGPLUG_LoadU(kTiff, U16(path).c_str(), 0));
        ASSERT_TRUE(loaded);
        ASSERT_EQ(MVIMGPLUG_GetBPP(loaded.get()), e.bits == 8 ? 24u : 48u);
        for (uint32_t y = 0; y < kHeight; ++y) {
            const std::vector<uint8_t> row = RowOf(loaded.get(), y);
            for (uint32_t x = 0; x < kWidth; ++x) {
                const std::vector<uint32_t> v = stored(x, y);
                auto opponent = [&](uint32_t o) {
                    if (icc) return (static_cast<double>(o) - (max + 1) / 2.0) / (e.bits == 8 ? 1 : 256);
                    const double s = o > max / 2 ? static_cast<double>(o) - (max + 1.0) : static_cast<double>(o);
                    return e.bits == 8 ? s : s / 256;
                };
                const auto want = ReferenceSrgbOfLab(v[0] * 100.0 / max, opponent(v[1]), opponent(v[2]));
                for (uint32_t c = 0; c < 3; ++c) {
                    // 8 bits: blue first; 16 bits: red first, each channel a word.
                    const double got = e.bits == 8 ? row[x * 3 + 2 - c] : (row[x * 6 + 2 * c] | row[x * 6 + 2 * c + 1] << 8) / 257.0;
                    EXPECT_NEAR(got, want[c], 1.0) << "x " << x << " y " << y << " channel " << c;
                }
            }
        }
    }
}

// Premultiplied inks are taken back before they are rendered.
TEST(TiffPageKinds, CmykWithAssociatedAlphaGivesTheColourOfItsInks) {
    using gdiplus::codecs::testing_support::ReferenceRgbOfInks;
    ScratchFolder scratch;
    const std::string path = scratch.file("cmyka.tif");
    Page p;
    p.photometric = PHOTOMETRIC_SEPARATED;
    p.inkSet = INKSET_CMYK;
    p.samples = 5;
    p.extra = EXTRASAMPLE_ASSOCALPHA;
    // Inks of x / 5 and y / 3 of full coverage at an alpha of 153 (0.6), stored premultiplied.
    auto ink = [](uint32_t x, uint32_t y, uint32_t s) { return s == 0 ? x / 5.0 : s == 1 ? y / 3.0 : s == 2 ? 0.5 : 0.2; };
    p.sample = [&](uint32_t x, uint32_t y, uint32_t s) {
        return Byte(s == 4 ? 153 : static_cast<uint32_t>(std::lround(ink(x, y, s) * 153)));
    };
    Write(path, p);
    Bitmap loaded(MVIMGPLUG_LoadU(kTiff, U16(path).c_str(), 0));
    ASSERT_TRUE(loaded);
    ASSERT_EQ(MVIMGPLUG_GetBPP(loaded.get()), 32u);
    for (uint32_t y = 0; y < kHeight; ++y) {
        const std::vector<uint8_t> row = RowOf(loaded.get(), y);
        for (uint32_t x = 0; x < kWidth; ++x) {
            const auto want = ReferenceRgbOfInks(ink(x, y, 0), ink(x, y, 1), ink(x, y, 2), ink(x, y, 3));
            EXPECT_EQ(row[x * 4 + 3], 153);
            for (uint32_t c = 0; c < 3; ++c) EXPECT_NEAR(row[x * 4 + 2 - c], want[c], 1) << x << " " << y << " " << c;
        }
    }
}

TEST(TiffPageKinds, APageClaimingMoreThanItsFileCanHoldIsRefusedAtOnce) {
    ScratchFolder scratch;
    const std::string path = scratch.file("claims.tif");
    // 60000 x 60000 RGB (10 GB) in a few hundred bytes; and 4000 x 4000 (48 MB), under
    // every ceiling but far beyond what a file this small can hold.
    for (uint32_t side : {60000u, 4000u}) {
        TIFF* tiff = TIFFOpen(path.c_str(), "w");
        ASSERT_NE(tiff, nullptr);
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, side);
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, side);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, side);
        std::vector<uint8_t> row(side * 3, 0);
        ASSERT_EQ(TIFFWriteScanline(tiff, row.data(), 0, 0), 1);
        TIFFClose(tiff);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(MVIMGPLUG_LoadU(kTiff, U16(path).c_str(), 0), 0u) << side;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << side;
    }
}

TEST(TiffPageKinds, APalettePageOfAMultiPageFileIsOpaque) {
    ScratchFolder scratch;
    const std::string path = scratch.file("palette.tif");
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    std::vector<uint16_t> red(16), green(16), blue(16);
    for (int i = 0; i < 16; ++i) red[i] = static_cast<uint16_t>(i * 4369);
    for (int page = 0; page < 2; ++page) {
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 4);
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 1);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 4);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
        TIFFSetField(tiff, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
        TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        const uint8_t row[2] = {0x0F, 0x5A};
        TIFFWriteScanline(tiff, const_cast<uint8_t*>(row), 0, 0);
        TIFFWriteDirectory(tiff);
    }
    TIFFClose(tiff);
    const MvimgplugHandle file = MVIMGPLUG_OpenFileU(U16(path).c_str());
    const MvimgplugHandle multi = MVIMGPLUG_OpenMultiBitmapU(kTiff, 0, file);
    ASSERT_EQ(MVIMGPLUG_GetPageCount(multi), 2);
    const MvimgplugHandle page = MVIMGPLUG_LockPage(multi, 1);
    ASSERT_NE(page, 0u);
    EXPECT_EQ(MVIMGPLUG_GetBPP(page), 4u);
    EXPECT_EQ(MVIMGPLUG_IsTransparent(page), 0);
    EXPECT_EQ(RowOf(page, 0), (std::vector<uint8_t>{0x0F, 0x5A}));
    const uint8_t* palette = MVIMGPLUG_GetPalette(page);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette[4 * 15 + 2], 255);  // red of entry 15
    MVIMGPLUG_UnlockPage(multi, page, 0);
    MVIMGPLUG_CloseMultiBitmap(multi, 0);
    MVIMGPLUG_CloseFileHandle(file);
}

}  // namespace
}  // namespace mvimgplug::testing
