// Icons through the plug-in keep their transparency: the AND mask of an
// indexed or 24-bit icon and the alpha of a 32-bit one come out as alpha,
// pixel for pixel as ImageMagick reads them, for icons of every depth written
// here and for the public icons Debian ships.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gdiplus/codecs/icon_test_files.h"
#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/testing/plugin_test_support.h"

namespace mvimgplug::testing {
namespace {

using namespace icon_test_files;
namespace fs = std::filesystem;

// The plug-in's reading of the icon as 32-bit BGRA rows, top first.
std::vector<uint8_t> LoadedBgra(const fs::path& path) {
    Bitmap loaded(MVIMGPLUG_LoadU(kIco, U16(path.string()).c_str(), 0));
    EXPECT_TRUE(loaded);
    if (!loaded) return {};
    Bitmap argb(MVIMGPLUG_ConvertTo32Bits(loaded.get()));
    if (!argb) return {};
    std::vector<uint8_t> out;
    for (uint32_t y = 0; y < MVIMGPLUG_GetHeight(argb.get()); ++y) {
        const std::vector<uint8_t> row = RowOf(argb.get(), y);
        out.insert(out.end(), row.begin(), row.begin() + 4 * MVIMGPLUG_GetWidth(argb.get()));
    }
    return out;
}

TEST(IconTransparency, EveryDepthAndThePublicIconsLoadAsImageMagickReadsThem) {
    if (!fs::exists(kImageMagickConvert)) GTEST_SKIP() << "ImageMagick's convert is not installed (scripts/setup)";
    ScratchFolder scratch;
    for (const auto& [path, differing] : IconsReadDifferentlyFromImageMagick(scratch.path(), LoadedBgra))
        EXPECT_EQ(differing, 0) << path;
}

}  // namespace
}  // namespace mvimgplug::testing
