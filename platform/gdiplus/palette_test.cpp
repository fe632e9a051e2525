#include "platform/gdiplus/palette.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace gdiplus {
namespace {

bool Contains(const ColorPalette& p, ARGB c) {
    return std::find(p.Entries.begin(), p.Entries.begin() + p.Count, c) != p.Entries.begin() + p.Count;
}

TEST(Palette, DefaultPalettesOfTheIndexedFormats) {
    const ColorPalette one = DefaultPalette(PixelFormat1bppIndexed);
    EXPECT_EQ(one.Count, 2u);
    EXPECT_EQ(one.Entries[0], 0xFF000000u);
    EXPECT_EQ(one.Entries[1], 0xFFFFFFFFu);

    const ColorPalette four = DefaultPalette(PixelFormat4bppIndexed);
    EXPECT_EQ(four.Count, 16u);
    EXPECT_EQ(four.Entries[7], 0xFF808080u);
    EXPECT_EQ(four.Entries[9], 0xFFFF0000u);
    EXPECT_EQ(four.Entries[15], 0xFFFFFFFFu);

    const ColorPalette eight = DefaultPalette(PixelFormat8bppIndexed);
    EXPECT_EQ(eight.Count, 256u);
    EXPECT_EQ(eight.Flags, static_cast<std::uint32_t>(PaletteFlagsHalftone));
    EXPECT_TRUE(std::equal(four.Entries.begin(), four.Entries.begin() + 16, eight.Entries.begin()));
    EXPECT_EQ(eight.Entries[40], 0xFF000000u);
    EXPECT_EQ(eight.Entries[41], 0xFF000033u);
    EXPECT_EQ(eight.Entries[255], 0xFFFFFFFFu);
    for (ARGB corner : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF00FFFFu, 0xFFFF00FFu, 0xFFFFFF00u, 0xFF336699u})
        EXPECT_TRUE(Contains(eight, corner)) << std::hex << corner;

    EXPECT_EQ(DefaultPalette(PixelFormat24bppRGB).Count, 0u);
}

TEST(Palette, EqualityLooksOnlyAtTheCountedEntries) {
    ColorPalette a = DefaultPalette(PixelFormat1bppIndexed);
    ColorPalette b = a;
    b.Entries[5] = 0x12345678;
    EXPECT_EQ(a, b);
    b.Entries[1] = 0xFFFEFEFE;
    EXPECT_NE(a, b);
    EXPECT_EQ(ColorPalette::SizeFor(2), 16u);
    EXPECT_EQ(ColorPalette::SizeFor(256), 1032u);
}

}  // namespace
}  // namespace gdiplus
