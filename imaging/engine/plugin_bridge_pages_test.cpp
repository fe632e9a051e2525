// Paged TIFF files through the plug-in route: one image whose pages stay in
// the plug-in, and a 1-bit min-is-white page that keeps its look.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/multi_page.h"
#include "imaging/engine/plugin_bridge.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/plugin_test_support.h"

namespace scanvelt {
namespace {

using testing_support::PixelsOf;
using testing_support::RegisteredImageCount;

// An uncompressed one-strip TIFF page, rows top first.
struct TiffPage {
    uint32_t width;
    uint32_t height;
    uint16_t bits;
    uint16_t photometric;  // 0 min-is-white, 1 min-is-black
    std::string rows;
};

std::string Le16(uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
std::string Le32(uint32_t v) { return Le16(static_cast<uint16_t>(v)) + Le16(static_cast<uint16_t>(v >> 16)); }

std::string Entry(uint16_t tag, uint16_t type, uint32_t value) {
    const std::string field = type == 3 ? Le16(static_cast<uint16_t>(value)) + Le16(0) : Le32(value);
    return Le16(tag) + Le16(type) + Le32(1) + field;
}

std::string TiffFile(const std::vector<TiffPage>& pages) {
    std::string file = std::string("II*\0", 4) + Le32(0);
    size_t link = 4;  // where the offset of the next IFD goes
    for (const TiffPage& page : pages) {
        const auto rowsAt = static_cast<uint32_t>(file.size());
        file += page.rows;
        if (file.size() % 2 != 0) file += '\0';
        file.replace(link, 4, Le32(static_cast<uint32_t>(file.size())));
        file += Le16(9) + Entry(256, 4, page.width) + Entry(257, 4, page.height) + Entry(258, 3, page.bits) +
                Entry(259, 3, 1) + Entry(262, 3, page.photometric) + Entry(273, 4, rowsAt) + Entry(277, 3, 1) +
                Entry(278, 4, page.height) + Entry(279, 4, static_cast<uint32_t>(page.rows.size()));
        link = file.size();
        file += Le32(0);
    }
    return file;
}

using PagedTiff = testing_support::WithBuildTreePlugin;

// Grey 4 x 2: 10, 20, 30, 40 on top, 50, 60, 70, 80 below. Min-is-white 8 x 2:
// 0b11110000 on top (black then white), 0b00001111 below.
const std::vector<TiffPage> kPages = {
    {4, 2, 8, 1, std::string("\x0A\x14\x1E\x28\x32\x3C\x46\x50", 8)},
    {8, 2, 1, 0, std::string("\xF0\x0F", 2)},
};

uint32_t Grey(uint8_t level) { return 0xFF000000u | level * 0x010101u; }

TEST_F(PagedTiff, BecomesOnePagedImageWithPageZeroSelected) {
    const std::string path = scratch_.write("two.tif", TiffFile(kPages));
    int32_t id = 0;
    ASSERT_EQ(LoadWithPlugin(id, path, false, true, true), OK);
    const ImageEntry* entry = FindImageEntry(id);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->MultiPageTiff);
    EXPECT_TRUE(entry->FramesNative);
    EXPECT_EQ(entry->PageCount, 2);
    EXPECT_EQ(entry->CurrentPage, 0);
    EXPECT_NE(entry->PluginFile, 0u);
    EXPECT_EQ(entry->FormatName, "TIFF");
    EXPECT_EQ(PixelsOf(id), (std::vector<uint32_t>{Grey(10), Grey(20), Grey(30), Grey(40), Grey(50), Grey(60),
                                                   Grey(70), Grey(80)}));

    // Switching pages releases the old page's image before the new one is imported.
    const int32_t images = RegisteredImageCount();
    ASSERT_EQ(SelectTiffPage(id, 1), OK);
    EXPECT_EQ(RegisteredImageCount(), images);
    EXPECT_EQ(FindImageEntry(id)->CurrentPage, 1);
    EXPECT_EQ(FindImageEntry(id)->PageImageIds[0], 0);
    EXPECT_EQ(PixelFormatOf(id), gdiplus::PixelFormat1bppIndexed);
    const uint32_t black = 0xFF000000, white = 0xFFFFFFFF;
    EXPECT_EQ(PixelsOf(id), (std::vector<uint32_t>{black, black, black, black, white, white, white, white,
                                                   white, white, white, white, black, black, black, black}));
    // Black, white palette: a set bit is white.
    gdiplus::ColorPalette palette;
    ASSERT_EQ(GetImagePalette(id, palette), OK);
    EXPECT_EQ(palette.Entries[0], black);
    EXPECT_EQ(palette.Entries[1], white);
    EXPECT_EQ(SelectTiffPage(id, 2), InvalidParameter);
    EXPECT_EQ(ReleaseImage(id), OK);
}

TEST_F(PagedTiff, ASinglePageTiffIsOneImage) {
    const std::string path = scratch_.write("one.tif", TiffFile({kPages[0]}));
    int32_t id = 0;
    ASSERT_EQ(LoadWithPlugin(id, path, false, true, true), OK);
    const ImageEntry* entry = FindImageEntry(id);
    ASSERT_NE(entry, nullptr);
    EXPECT_FALSE(entry->MultiPageTiff);
    EXPECT_EQ(entry->PluginFile, 0u);
    EXPECT_EQ(PixelFormatOf(id), gdiplus::PixelFormat8bppIndexed);
}

}  // namespace
}  // namespace scanvelt
