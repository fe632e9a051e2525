#pragma once
// What the plug-in's tests share: paths as the plug-in takes them, bitmap
// handles that are given back at the end of a scope, test pictures whose
// every pixel differs from its mirror image, and reading TIFF files with
// libtiff as an independent check.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/win/testing/scratch_folder.h"
#include "platform/win/text_encoding.h"
#include "plugins/mvimgplug/mvimgplug.h"

namespace mvimgplug::testing {

using win::testing::ScratchFolder;

// Format codes of the plug-in.
enum Format : int32_t {
    kUnknown = -1,
    kBmp = 0,
    kIco = 1,
    kJpeg = 2,
    kPbm = 7,
    kPbmRaw = 8,
    kPgm = 11,
    kPgmRaw = 12,
    kPng = 13,
    kPpm = 14,
    kPpmRaw = 15,
    kTarga = 17,
    kTiff = 18,
    kWbmp = 19,
    kXpm = 23,
    kGif = 25,
    kExr = 29,
    kJ2k = 30,
    kJp2 = 31,
};

inline constexpr int32_t kTiffJpegFlag = -32768;

inline std::u16string U16(const std::string& path) { return win::Utf8ToUtf16(path); }

// A bitmap handle that is unloaded at the end of the scope.
class Bitmap {
public:
    explicit Bitmap(MvimgplugHandle handle = 0) : handle_(handle) {}
    ~Bitmap() { MVIMGPLUG_Unload(handle_); }
    Bitmap(Bitmap&& other) noexcept : handle_(std::exchange(other.handle_, 0)) {}
    Bitmap& operator=(Bitmap&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    MvimgplugHandle get() const { return handle_; }
    explicit operator bool() const { return handle_ != 0; }

private:
    MvimgplugHandle handle_;
};

// Row y (from the top) of a bitmap as the plug-in hands it out.
inline std::vector<uint8_t> RowOf(MvimgplugHandle bitmap, uint32_t y) {
    const uint8_t* bits = MVIMGPLUG_GetBits(bitmap);
    const uint32_t pitch = MVIMGPLUG_GetPitch(bitmap);
    const uint32_t bytes = (MVIMGPLUG_GetWidth(bitmap) * MVIMGPLUG_GetBPP(bitmap) + 7) / 8;
    if (bits == nullptr) return {};
    return {bits + static_cast<size_t>(y) * pitch, bits + static_cast<size_t>(y) * pitch + bytes};
}

// The colour of pixel (x, y) of the test pictures (at most 64 x 48): red
// counts columns, green rows, blue both, so no two pixels agree and a picture
// turned upside down or mirrored differs from it. The gradients are gentle
// enough for lossy formats to keep them within a few levels.
inline uint8_t TestRed(uint32_t x, uint32_t) { return static_cast<uint8_t>(3 * x + 10); }
inline uint8_t TestGreen(uint32_t, uint32_t y) { return static_cast<uint8_t>(4 * y + 20); }
inline uint8_t TestBlue(uint32_t x, uint32_t y) { return static_cast<uint8_t>(2 * x + 2 * y + 5); }

// Top-down rows of a 24-bit test picture, B, G, R bytes, rows padded to 4 bytes.
inline std::vector<uint8_t> TestRows24(uint32_t width, uint32_t height, uint32_t& pitch) {
    pitch = (width * 3 + 3) & ~3u;
    std::vector<uint8_t> rows(static_cast<size_t>(pitch) * height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            uint8_t* p = &rows[y * pitch + 3 * x];
            p[0] = TestBlue(x, y);
            p[1] = TestGreen(x, y);
            p[2] = TestRed(x, y);
        }
    }
    return rows;
}

inline MvimgplugHandle NewTestBitmap24(uint32_t width, uint32_t height) {
    uint32_t pitch = 0;
    std::vector<uint8_t> rows = TestRows24(width, height, pitch);
    return MVIMGPLUG_ConvertFromRawBits(rows.data(), static_cast<int32_t>(width), static_cast<int32_t>(height),
                                        static_cast<int32_t>(pitch), 24, 0, 0, 0, 1);
}

// An 8-bit bitmap whose index at (x, y) is (x + 3y) mod 256, with a grey palette.
inline MvimgplugHandle NewTestBitmap8(uint32_t width, uint32_t height) {
    const uint32_t pitch = (width + 3) & ~3u;
    std::vector<uint8_t> rows(static_cast<size_t>(pitch) * height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) rows[y * pitch + x] = static_cast<uint8_t>(x + 3 * y);
    }
    MvimgplugHandle bitmap = MVIMGPLUG_ConvertFromRawBits(rows.data(), static_cast<int32_t>(width),
                                                          static_cast<int32_t>(height), static_cast<int32_t>(pitch), 8,
                                                          0, 0, 0, 1);
    // New bitmaps of the library start with a black palette.
    if (uint8_t* palette = MVIMGPLUG_GetPalette(bitmap)) {
        for (int i = 0; i < 256; ++i) std::memset(palette + 4 * i, i, 3);
    }
    return bitmap;
}

// Expects the bitmap (in any depth the plug-in can bring to 24 bits) to hold
// the test picture upright, within a tolerance for lossy formats.
inline void ExpectTestPicture24(MvimgplugHandle bitmap, uint32_t width, uint32_t height, int tolerance = 0) {
    ASSERT_EQ(MVIMGPLUG_GetWidth(bitmap), width);
    ASSERT_EQ(MVIMGPLUG_GetHeight(bitmap), height);
    Bitmap colour(MVIMGPLUG_ConvertTo24Bits(bitmap));
    ASSERT_TRUE(colour);
    int worst = 0;
    std::string where;
    for (uint32_t y = 0; y < height; ++y) {
        std::vector<uint8_t> row = RowOf(colour.get(), y);
        for (uint32_t x = 0; x < width; ++x) {
            const int expected[3] = {TestBlue(x, y), TestGreen(x, y), TestRed(x, y)};
            for (int c = 0; c < 3; ++c) {
                const int error = std::abs(row[3 * x + c] - expected[c]);
                if (error > worst) {
                    worst = error;
                    where = "x " + std::to_string(x) + " y " + std::to_string(y) + " channel " + std::to_string(c);
                }
            }
        }
    }
    EXPECT_LE(worst, tolerance) << "worst at " << where;
}

// A tag as a metadata search finds it.
struct FoundTag {
    std::string key;
    uint16_t type = 0;
    uint32_t count = 0;
    std::string value;
};

// Every tag of a model, by ID, through a whole search.
inline std::map<uint16_t, FoundTag> SearchAll(int32_t model, MvimgplugHandle bitmap) {
    std::map<uint16_t, FoundTag> found;
    MvimgplugHandle tag = 0;
    const MvimgplugHandle search = MVIMGPLUG_FindFirstMetadata(model, bitmap, &tag);
    if (search == 0) return found;
    do {
        MvimgplugTagRecord record;
        EXPECT_EQ(MVIMGPLUG_GetTagRecord(tag, &record), 1);
        found[record.id] = {record.key, record.type, record.count,
                            std::string(static_cast<const char*>(record.value), record.length)};
        EXPECT_STREQ(MVIMGPLUG_GetTagKey(tag), record.key);
    } while (MVIMGPLUG_FindNextMetadata(search, &tag) != 0);
    EXPECT_EQ(tag, 0u);
    MVIMGPLUG_FindCloseMetadata(search);
    return found;
}

inline std::string FileBytes(const std::string& path) {
    std::stringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}

// A TIFF file read by libtiff, as an independent check of what was written.
class TiffReader {
public:
    explicit TiffReader(const std::string& path) : tiff_(TIFFOpen(path.c_str(), "r")) {}
    ~TiffReader() {
        if (tiff_ != nullptr) TIFFClose(tiff_);
    }
    TiffReader(const TiffReader&) = delete;
    TiffReader& operator=(const TiffReader&) = delete;
    TIFF* get() const { return tiff_; }

    uint16_t Field16(uint32_t tag) const {
        uint16_t value = 0;
        TIFFGetFieldDefaulted(tiff_, tag, &value);
        return value;
    }
    uint32_t Field32(uint32_t tag) const {
        uint32_t value = 0;
        TIFFGetField(tiff_, tag, &value);
        return value;
    }
    // Every pixel as libtiff's 0xAABBGGRR, top row first.
    std::vector<uint32_t> Rgba() const {
        const uint32_t width = Field32(TIFFTAG_IMAGEWIDTH);
        const uint32_t height = Field32(TIFFTAG_IMAGELENGTH);
        std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
        if (!TIFFReadRGBAImageOriented(tiff_, width, height, pixels.data(), ORIENTATION_TOPLEFT, 0)) return {};
        return pixels;
    }

private:
    TIFF* tiff_;
};

}  // namespace mvimgplug::testing
