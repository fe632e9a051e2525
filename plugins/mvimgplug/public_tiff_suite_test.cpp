// The TIFF files of a public suite that Debian ships (golang-golang-x-image-dev:
// strips, tiles, palette, grey, 16-bit, CCITT, Deflate, LZW, PackBits) through
// the plug-in, compared pixel by pixel with what ImageMagick reads from them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gdiplus/codecs/icon_test_files.h"
#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/testing/plugin_test_support.h"

namespace mvimgplug::testing {
namespace {

namespace fs = std::filesystem;

const char* const kSuiteFolder = "/usr/share/gocode/src/golang.org/x/image/testdata";
using icon_test_files::ImageMagickRgba;
using icon_test_files::kImageMagickConvert;

// The bitmap as 32-bit BGRA, as the engine brings it to a standard bitmap.
Bitmap As32Bits(MvimgplugHandle bitmap) {
    const int32_t type = MVIMGPLUG_GetImageType(bitmap);
    if (type == 2) {
        Bitmap grey(MVIMGPLUG_ConvertToGreyscale(bitmap));
        return Bitmap(MVIMGPLUG_ConvertTo32Bits(grey.get()));
    }
    return Bitmap(MVIMGPLUG_ConvertTo32Bits(bitmap));
}

TEST(PublicTiffSuite, EveryFileLoadsAsTheReferenceReadsIt) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(kSuiteFolder, error)) {
        if (entry.path().extension() == ".tiff") files.push_back(entry.path());
    }
    if (files.empty()) GTEST_SKIP() << "the suite is not installed (scripts/setup installs golang-golang-x-image-dev)";
    if (!fs::exists(kImageMagickConvert)) GTEST_SKIP() << "ImageMagick's convert is not installed (scripts/setup)";
    std::sort(files.begin(), files.end());
    int matched = 0;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.string());
        Bitmap loaded(MVIMGPLUG_LoadU(kTiff, U16(path.string()).c_str(), 0));
        ASSERT_TRUE(loaded);
        Bitmap argb = As32Bits(loaded.get());
        ASSERT_TRUE(argb);
        const uint32_t width = MVIMGPLUG_GetWidth(argb.get()), height = MVIMGPLUG_GetHeight(argb.get());
        const std::vector<uint8_t> reference = ImageMagickRgba(path);
        ASSERT_EQ(reference.size(), size_t{width} * height * 4);
        int worst = 0;
        for (uint32_t y = 0; y < height; ++y) {
            const std::vector<uint8_t> row = RowOf(argb.get(), y);
            for (uint32_t x = 0; x < width; ++x) {
                const uint8_t* ours = &row[4 * x];  // B, G, R, A
                const uint8_t* theirs = &reference[(size_t{y} * width + x) * 4];
                worst = std::max({worst, std::abs(ours[2] - theirs[0]), std::abs(ours[1] - theirs[1]),
                                  std::abs(ours[0] - theirs[2]), std::abs(ours[3] - theirs[3])});
            }
        }
        // 16-bit samples are brought to 8 bits by dropping the low byte, the reference rounds.
        EXPECT_LE(worst, 1);
        if (worst <= 1) ++matched;
    }
    std::printf("public TIFF suite through the plug-in: %zu files, %d matched\n", files.size(), matched);
}

}  // namespace
}  // namespace mvimgplug::testing
