#include "platform/win/gdi_palette.h"

#include "platform/win/gdi_object.h"

#include <gtest/gtest.h>

#include <vector>

namespace win {
namespace {

TEST(GdiPalette, EntriesComeBackAndCountsAreBounded) {
    std::vector<PaletteEntry> entries = {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 4}};
    HPALETTE palette = CreatePalette(entries);
    ASSERT_NE(palette, HPALETTE{});
    EXPECT_EQ(GetPaletteEntries(palette, 0, {}), 3u) << "an empty buffer asks for the count";
    std::vector<PaletteEntry> out(5);
    EXPECT_EQ(GetPaletteEntries(palette, 1, out), 2u);
    EXPECT_EQ(out[0], entries[1]);
    EXPECT_EQ(out[1], entries[2]);
    EXPECT_EQ(out[2], PaletteEntry{}) << "nothing written past the palette";
    EXPECT_EQ(GetPaletteEntries(palette, 3, out), 0u);
    EXPECT_TRUE(DeleteObject(handleValue(palette)));
    EXPECT_EQ(GetPaletteEntries(palette, 0, {}), 0u);
    EXPECT_EQ(CreatePalette({}), HPALETTE{});
}

}  // namespace
}  // namespace win
