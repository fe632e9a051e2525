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

TEST(IconTransparency, EveryDepthLoadsAsImageMagickReadsIt) {
    if (!fs::exists(kImageMagickConvert)) GTEST_SKIP() << "ImageMagick's convert is not installed (scripts/setup)";
    ScratchFolder scratch;
    for (const IconImage& icon : GeneratedIcons()) {
        SCOPED_TRACE(icon.name);
        const fs::path path = scratch.file(std::string(icon.name) + ".ico");
        const std::vector<uint8_t> file = IconFileOf(icon);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                   static_cast<std::streamsize>(file.size()));
        const std::vector<uint8_t> reference = ImageMagickRgba(path);
        ASSERT_EQ(reference.size(), size_t{icon.width} * icon.height * 4);
        EXPECT_EQ(PixelsDifferingFrom(reference, LoadedBgra(path)), 0);
    }
}

TEST(IconTransparency, PublicIconsLoadAsImageMagickReadsThem) {
    const std::vector<fs::path> icons = PublicIcons();
    if (icons.empty()) GTEST_SKIP() << "no public icons installed (scripts/setup installs imagemagick-6-doc)";
    if (!fs::exists(kImageMagickConvert)) GTEST_SKIP() << "ImageMagick's convert is not installed (scripts/setup)";
    for (const fs::path& path : icons) {
        SCOPED_TRACE(path.string());
        EXPECT_EQ(PixelsDifferingFrom(ImageMagickRgba(path), LoadedBgra(path)), 0);
    }
}

}  // namespace
}  // namespace mvimgplug::testing
