// Loading and saving whole bitmaps: round trips of the allowed formats,
// which rows come first, format detection and its allow-list, and files that
// are written completely or not at all.
#include <gtest/gtest.h>

#include <cstdlib>

#include <array>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/testing/plugin_test_support.h"

namespace mvimgplug::testing {
namespace {

// JPEG 2000's default of six resolution levels needs at least 32 pixels a side.
constexpr uint32_t kWidth = 64;
constexpr uint32_t kHeight = 48;

MvimgplugHandle Load(int32_t format, const std::string& path, int32_t flags = 0) {
    return MVIMGPLUG_LoadU(format, U16(path).c_str(), flags);
}

int32_t Save(int32_t format, MvimgplugHandle bitmap, const std::string& path, int32_t flags = 0) {
    return MVIMGPLUG_SaveU(format, bitmap, U16(path).c_str(), flags);
}

struct RoundTrip {
    const char* name;
    int32_t format;
    const char* extension;
    int32_t flags;
    int tolerance;
    // Icons come in a few sizes only.
    uint32_t width = kWidth;
    uint32_t height = kHeight;
};

class ColourRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(ColourRoundTrip, ComesBackUpright) {
    const RoundTrip& trip = GetParam();
    ScratchFolder scratch;
    const std::string path = scratch.file(std::string("picture.") + trip.extension);
    Bitmap picture(NewTestBitmap24(trip.width, trip.height));
    ASSERT_TRUE(picture);
    ASSERT_EQ(Save(trip.format, picture.get(), path, trip.flags), 1);

    // The PNM family shares one decoder, which the library names PBM.
    const bool pnm = trip.format == kPpm || trip.format == kPpmRaw;
    EXPECT_EQ(MVIMGPLUG_GetFileTypeU(U16(path).c_str(), 0), pnm ? kPbm : trip.format);
    Bitmap loaded(Load(trip.format, path));
    ASSERT_TRUE(loaded);
    ExpectTestPicture24(loaded.get(), trip.width, trip.height, trip.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ColourRoundTrip,
    ::testing::Values(RoundTrip{"Targa", kTarga, "tga", 0, 0}, RoundTrip{"PpmBinary", kPpmRaw, "ppm", 0, 0},
                      RoundTrip{"PpmText", kPpm, "ppm", 0, 0}, RoundTrip{"Icon", kIco, "ico", 0, 0, 32, 32},
                      RoundTrip{"TiffPlain", kTiff, "tif", 0, 0}, RoundTrip{"Xpm", kXpm, "xpm", 0, 0},
                      // A rate of 1:1 keeps JPEG 2000 close to lossless.
                      RoundTrip{"J2k", kJ2k, "j2k", 1, 2}, RoundTrip{"Jp2", kJp2, "jp2", 1, 2},
                      RoundTrip{"Jpeg", kJpeg, "jpg", 100, 10}),
    [](const ::testing::TestParamInfo<RoundTrip>& info) { return std::string(info.param.name); });

TEST(Files, GreyFormatsKeepTheirPixels) {
    ScratchFolder scratch;
    Bitmap grey(NewTestBitmap8(kWidth, kHeight));
    for (int32_t format : {kPgm, kPgmRaw}) {
        const std::string path = scratch.file("grey" + std::to_string(format) + ".pgm");
        ASSERT_EQ(Save(format, grey.get(), path), 1);
        Bitmap loaded(Load(format, path));
        ASSERT_TRUE(loaded);
        ASSERT_EQ(MVIMGPLUG_GetBPP(loaded.get()), 8u);
        for (uint32_t y = 0; y < kHeight; ++y) EXPECT_EQ(RowOf(loaded.get(), y), RowOf(grey.get(), y)) << y;
    }
}

// A 1-bit bitmap of four pixels a row: 0b1011 on top, 0b0100 below, 0b1111 at
// the bottom, whose palette gives bit 0 the colour `zero` and bit 1 `one`.
MvimgplugHandle NewOneBitBitmap(uint8_t zero, uint8_t one) {
    const std::vector<uint8_t> rows = {0xB0, 0, 0, 0, 0x40, 0, 0, 0, 0xF0, 0, 0, 0};
    MvimgplugHandle bitmap = MVIMGPLUG_ConvertFromRawBits(rows.data(), 4, 3, 4, 1, 0, 0, 0, 1);
    uint8_t* palette = MVIMGPLUG_GetPalette(bitmap);
    std::memset(palette, zero, 3);
    std::memset(palette + 4, one, 3);
    return bitmap;
}

// Whether pixel (x, y) of a 1-bit bitmap shows white.
bool IsWhite(MvimgplugHandle bitmap, uint32_t x, uint32_t y) {
    const int bit = (RowOf(bitmap, y)[0] >> (7 - x)) & 1;
    return MVIMGPLUG_GetPalette(bitmap)[4 * bit] == 255;
}

TEST(Files, OneBitFormatsKeepThePictureWhateverThePaletteSense) {
    ScratchFolder scratch;
    for (const auto& [zero, one] : {std::pair<uint8_t, uint8_t>{0, 255}, std::pair<uint8_t, uint8_t>{255, 0}}) {
        Bitmap bits(NewOneBitBitmap(zero, one));
        for (int32_t format : {kPbm, kPbmRaw, kWbmp}) {
            const std::string path = scratch.file("bits" + std::to_string(format));
            ASSERT_EQ(Save(format, bits.get(), path), 1) << format;
            Bitmap loaded(Load(format, path));
            ASSERT_TRUE(loaded) << format;
            ASSERT_EQ(MVIMGPLUG_GetBPP(loaded.get()), 1u);
            for (uint32_t y = 0; y < 3; ++y) {
                for (uint32_t x = 0; x < 4; ++x) {
                    EXPECT_EQ(IsWhite(loaded.get(), x, y), IsWhite(bits.get(), x, y))
                        << "format " << format << " palette " << int{zero} << " x " << x << " y " << y;
                }
            }
        }
    }
}

TEST(Files, AFileWrittenTopRowFirstIsReadUpright) {
    // A text PPM lists its rows from the top: red on top, blue below.
    ScratchFolder scratch;
    const std::string path = scratch.write("two-rows.ppm", "P3\n1 2\n255\n255 0 0\n0 0 255\n");
    Bitmap loaded(Load(kPpm, path));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(RowOf(loaded.get(), 0), (std::vector<uint8_t>{0, 0, 255}));
    EXPECT_EQ(RowOf(loaded.get(), 1), (std::vector<uint8_t>{255, 0, 0}));
}

TEST(Files, AFileWrittenBottomRowFirstIsReadUpright) {
    // An uncompressed 24-bit TGA with the origin at the bottom left: its first
    // row in the file is the bottom one (blue), the second the top one (red).
    std::string tga(18, '\0');
    tga[2] = 2;
    tga[12] = 1;
    tga[14] = 2;
    tga[16] = 24;
    tga += std::string("\xFF\x00\x00", 3) + std::string("\x00\x00\xFF", 3);
    ScratchFolder scratch;
    const std::string path = scratch.write("two-rows.tga", tga);
    Bitmap loaded(Load(kTarga, path));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(RowOf(loaded.get(), 0), (std::vector<uint8_t>{0, 0, 255}));
    EXPECT_EQ(RowOf(loaded.get(), 1), (std::vector<uint8_t>{255, 0, 0}));
}

TEST(Files, SavedFilesHoldTheTopRowWhereTheFormatWantsIt) {
    // A binary PPM's first pixel is the top left one.
    ScratchFolder scratch;
    const std::string path = scratch.file("saved.ppm");
    Bitmap picture(NewTestBitmap24(kWidth, kHeight));
    ASSERT_EQ(Save(kPpmRaw, picture.get(), path), 1);
    const std::string bytes = FileBytes(path);
    const std::string pixels = bytes.substr(bytes.size() - 3 * kWidth * kHeight);
    EXPECT_EQ(static_cast<uint8_t>(pixels[0]), TestRed(0, 0));
    EXPECT_EQ(static_cast<uint8_t>(pixels[1]), TestGreen(0, 0));
    EXPECT_EQ(static_cast<uint8_t>(pixels[3 * kWidth + 1]), TestGreen(0, 1));
    // The bitmap itself is left as it was.
    ExpectTestPicture24(picture.get(), kWidth, kHeight);
}

TEST(Files, RawBitsGivenBottomUpEndUpright) {
    uint32_t pitch = 0;
    std::vector<uint8_t> rows = TestRows24(kWidth, kHeight, pitch);
    std::vector<uint8_t> bottomUp;
    for (uint32_t y = kHeight; y-- > 0;) bottomUp.insert(bottomUp.end(), &rows[y * pitch], &rows[(y + 1) * pitch]);
    Bitmap picture(MVIMGPLUG_ConvertFromRawBits(bottomUp.data(), kWidth, kHeight, static_cast<int32_t>(pitch), 24, 0,
                                                0, 0, 0));
    ExpectTestPicture24(picture.get(), kWidth, kHeight);
}

TEST(Files, InfoHeaderDescribesATopDownDib) {
    Bitmap grey(NewTestBitmap8(kWidth, kHeight));
    const auto* info = static_cast<const uint8_t*>(MVIMGPLUG_GetInfo(grey.get()));
    ASSERT_NE(info, nullptr);
    int32_t size = 0, width = 0, height = 0, colours = 0;
    uint16_t bits = 0;
    std::memcpy(&size, info, 4);
    std::memcpy(&width, info + 4, 4);
    std::memcpy(&height, info + 8, 4);
    std::memcpy(&bits, info + 14, 2);
    std::memcpy(&colours, info + 32, 4);
    EXPECT_EQ(size, 40);
    EXPECT_EQ(width, static_cast<int32_t>(kWidth));
    EXPECT_EQ(height, -static_cast<int32_t>(kHeight));
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(colours, 256);
    // The palette follows the header: grey entry 200 is (200, 200, 200).
    EXPECT_EQ(info[40 + 4 * 200], 200);
    EXPECT_EQ(info[40 + 4 * 200 + 2], 200);
}

TEST(Files, InfoOfASixteenBitBitmapCarriesItsMasks) {
    struct Case {
        std::array<uint32_t, 3> masks;
    };
    for (const Case& c : {Case{{0xF800, 0x07E0, 0x001F}}, Case{{0x7C00, 0x03E0, 0x001F}}}) {
        const std::vector<uint8_t> rows(4 * 2, 0x5A);
        Bitmap sixteen(MVIMGPLUG_ConvertFromRawBits(rows.data(), 2, 2, 4, 16, c.masks[0], c.masks[1], c.masks[2], 1));
        ASSERT_NE(sixteen.get(), 0u);
        const auto* info = static_cast<const uint8_t*>(MVIMGPLUG_GetInfo(sixteen.get()));
        ASSERT_NE(info, nullptr);
        uint32_t compression = 0;
        std::array<uint32_t, 3> masks{};
        std::memcpy(&compression, info + 16, 4);
        std::memcpy(masks.data(), info + 40, 12);
        EXPECT_EQ(compression, 3u);
        EXPECT_EQ(masks, c.masks);
    }
}

TEST(Files, ContentDecidesTheTypeAndOnlyAllowedFormatsAreNamed) {
    ScratchFolder scratch;
    Bitmap picture(NewTestBitmap24(kWidth, kHeight));
    const std::string tiff = scratch.file("content-is-tiff.tga");
    ASSERT_EQ(Save(kTiff, picture.get(), tiff), 1);
    EXPECT_EQ(MVIMGPLUG_GetFileTypeU(U16(tiff).c_str(), 0), kTiff);

    struct Case {
        const char* name;
        std::string bytes;
        int32_t expected;
    };
    const std::vector<Case> cases = {
        // The PNM family shares one decoder, which the library names PBM.
        {"raw.ppm", "P6\n1 1\n255\n\x01\x02\x03", kPbm},
        {"text.pgm", "P2\n1 1\n255\n7\n", kPbm},
        // PNG, BMP and GIF are read by the engine's own decoders, never here.
        {"picture.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), kUnknown},
        {"picture.bmp", std::string("BM\x3a\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0", 18), kUnknown},
        {"picture.gif", "GIF89a\x01\0\x01\0\0\0\0", kUnknown},
        {"noise.tif", "this is not an image at all", kUnknown},
    };
    for (const Case& c : cases) {
        const std::string path = scratch.write(c.name, c.bytes);
        EXPECT_EQ(MVIMGPLUG_GetFileTypeU(U16(path).c_str(), 0), c.expected) << c.name;
    }
    EXPECT_EQ(MVIMGPLUG_GetFileTypeU(U16(scratch.file("missing.tif")).c_str(), 0), kUnknown);
    EXPECT_EQ(MVIMGPLUG_GetFileTypeU(nullptr, 0), kUnknown);
}

TEST(Files, EmptyAndShortFilesAreNoImageAndTheirProbeReadsOnlyWhatTheyHold) {
    ScratchFolder scratch;
    for (const std::string& bytes : {std::string(), std::string("B"), std::string("II*"), std::string("P6\n")}) {
        const std::string path = scratch.write("short.tif", bytes);
        EXPECT_EQ(MVIMGPLUG_GetFileTypeU(U16(path).c_str(), 0), kUnknown) << bytes.size();
    }
    // A whole small image is still told by its content.
    EXPECT_EQ(MVIMGPLUG_GetFileTypeU(U16(scratch.write("tiny.pgm", "P2\n1 1\n255\n7\n")).c_str(), 0), kPbm);
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "valgrind does not run programs built with the address sanitizer";
#else
    if (std::system("valgrind --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "valgrind is not installed";
    const std::string command = std::string("valgrind --quiet --error-exitcode=99 ") + SHORT_FILE_PROBE + " " +
                                scratch.path() + " 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
#endif
}

TEST(Files, NamesGiveTheFormatsOfTheAllowList) {
    const std::vector<std::pair<std::string, int32_t>> cases = {
        {"a.tga", kTarga},  {"b.TIF", kTiff},   {"c.tiff", kTiff}, {"d.jp2", kJp2},     {"e.j2k", kJ2k},
        {"f.exr", kExr},    {"g.ico", kIco},    {"h.pbm", kPbm},   {"i.xpm", kXpm},     {"j.jpeg", kJpeg},
        {"k.wbmp", kWbmp},  {"l.png", kUnknown}, {"m.bmp", kUnknown}, {"n.gif", kUnknown}, {"o.psd", kUnknown},
        {"p.nothing", kUnknown},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(MVIMGPLUG_GetFIFFromFilenameU(U16("/some/folder/" + name).c_str()), expected) << name;
    }
}

TEST(Files, FormatsOutsideTheAllowListAreNeitherLoadedNorSaved) {
    ScratchFolder scratch;
    Bitmap picture(NewTestBitmap24(kWidth, kHeight));
    const std::string path = scratch.file("picture.png");
    for (int32_t format : std::vector<int32_t>{kBmp, kPng, kGif, 20, 34, 99, -1}) {
        EXPECT_EQ(Save(format, picture.get(), path), 0) << format;
        EXPECT_EQ(Load(format, path), 0u) << format;
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Files, Utf16PathsReachTheFileSystem) {
    ScratchFolder scratch;
    const std::string path = scratch.file("bild-\xC3\xBC\xE2\x82\xAC-\xF0\x9F\x98\x80.tga");
    Bitmap picture(NewTestBitmap24(kWidth, kHeight));
    ASSERT_EQ(Save(kTarga, picture.get(), path), 1);
    EXPECT_TRUE(std::filesystem::exists(path));
    Bitmap loaded(Load(kTarga, path));
    ExpectTestPicture24(loaded.get(), kWidth, kHeight);

    // A lone surrogate names no file.
    const char16_t lone[] = {u'/', 0xD800, u'x', 0};
    EXPECT_EQ(MVIMGPLUG_LoadU(kTarga, lone, 0), 0u);
}

TEST(Files, AFailedSaveLeavesNeitherTheTargetChangedNorATemporaryFile) {
    ScratchFolder scratch;
    const std::string path = scratch.write("kept.wbmp", "old content");
    Bitmap colour(NewTestBitmap24(kWidth, kHeight));
    // WBMP holds 1-bit pictures only.
    EXPECT_EQ(Save(kWbmp, colour.get(), path), 0);
    EXPECT_EQ(FileBytes(path), "old content");
    EXPECT_EQ(Save(kTarga, colour.get(), scratch.file("no-such-folder/picture.tga")), 0);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path())) {
        ++files;
        EXPECT_EQ(entry.path().filename(), "kept.wbmp");
    }
    EXPECT_EQ(files, 1u);
}

TEST(Files, ASavedFileReplacesTheOldOne) {
    ScratchFolder scratch;
    const std::string path = scratch.write("replaced.tga", "old content");
    Bitmap picture(NewTestBitmap24(kWidth, kHeight));
    ASSERT_EQ(Save(kTarga, picture.get(), path), 1);
    Bitmap loaded(Load(kTarga, path));
    ExpectTestPicture24(loaded.get(), kWidth, kHeight);
}

TEST(Files, FloatPicturesGoThroughOpenExr) {
    ScratchFolder scratch;
    const std::string path = scratch.file("float.exr");
    Bitmap picture(NewTestBitmap24(kWidth, kHeight));
    Bitmap floats(MVIMGPLUG_ConvertToRGBF(picture.get()));
    ASSERT_TRUE(floats);
    EXPECT_EQ(MVIMGPLUG_GetImageType(floats.get()), 11);  // float RGB
    ASSERT_EQ(Save(kExr, floats.get(), path), 1);
    EXPECT_EQ(MVIMGPLUG_GetFileTypeU(U16(path).c_str(), 0), kExr);
    Bitmap loaded(Load(kExr, path));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(MVIMGPLUG_GetImageType(loaded.get()), 11);
    Bitmap mapped(MVIMGPLUG_TmoReinhard05(loaded.get(), 0.0, 0.0));
    ASSERT_TRUE(mapped);
    EXPECT_EQ(MVIMGPLUG_GetBPP(mapped.get()), 24u);
    // Tone mapping keeps the order of brightness: the bottom right is the brightest corner.
    EXPECT_GT(RowOf(mapped.get(), kHeight - 1)[3 * (kWidth - 1) + 1], RowOf(mapped.get(), 0)[1]);
}

}  // namespace
}  // namespace mvimgplug::testing
