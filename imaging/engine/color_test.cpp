#include "imaging/engine/color.h"

#include <gtest/gtest.h>

#include <bit>

namespace scanvelt {
namespace {

int32_t argb(uint32_t bits) { return std::bit_cast<int32_t>(bits); }

TEST(cColor, ANewColourIsTransparentBlack) {
    cColor color;
    EXPECT_EQ(color.GetValue(), 0);
    EXPECT_EQ(color.GetAlpha(), 0);
}

TEST(cColor, PackingTable) {
    struct Case { uint8_t a, r, g, b; uint32_t value; } cases[] = {
        {255, 255, 255, 255, 0xFFFFFFFF},  // -1, all bits set
        {128, 0, 0, 0, 0x80000000},        // the most negative value, no overflow
        {127, 255, 255, 255, 0x7FFFFFFF},
        {0, 1, 2, 3, 0x00010203},
        {255, 0, 0, 255, 0xFF0000FF},
        {0x12, 0x34, 0x56, 0x78, 0x12345678},
    };
    for (const auto& c : cases) {
        cColor color;
        color.FromARGB(c.a, c.r, c.g, c.b);
        EXPECT_EQ(color.GetValue(), argb(c.value));
        EXPECT_EQ(color.MakeARGB(c.a, c.r, c.g, c.b), argb(c.value));
        cColor unpacked;
        unpacked.FromARGBColor(argb(c.value));
        EXPECT_EQ(unpacked.GetAlpha(), c.a);
        EXPECT_EQ(unpacked.GetRed(), c.r);
        EXPECT_EQ(unpacked.GetGreen(), c.g);
        EXPECT_EQ(unpacked.GetBlue(), c.b);
    }
    cColor allSet;
    allSet.FromARGB(255, 255, 255, 255);
    EXPECT_EQ(allSet.GetValue(), -1);
}

TEST(cColor, FromRgbIsOpaque) {
    cColor color;
    color.FromRGB(1, 2, 3);
    EXPECT_EQ(color.GetValue(), argb(0xFF010203));
}

TEST(cColor, ColorrefTable) {
    struct Case { uint32_t colorref; uint32_t value; } cases[] = {
        {0x000000FF, 0xFFFF0000},  // pure red
        {0x00FF8040, 0xFF4080FF},
        {0x80000005, 0xFF050000},  // byte 3 ignored, alpha 255
        {0x00000000, 0xFF000000},
        {0xFFFFFFFF, 0xFFFFFFFF},
    };
    for (const auto& c : cases) {
        cColor fromRgbColor, fromColorref;
        fromRgbColor.FromRGBColor(argb(c.colorref));
        fromColorref.SetFromCOLORREF(argb(c.colorref));
        EXPECT_EQ(fromRgbColor.GetValue(), argb(c.value)) << std::hex << c.colorref;
        EXPECT_EQ(fromColorref.GetValue(), argb(c.value)) << std::hex << c.colorref;
    }
}

TEST(cColor, MakeArgbLeavesTheValueAlone) {
    cColor color;
    color.FromARGB(1, 2, 3, 4);
    EXPECT_EQ(color.MakeARGB(200, 100, 50, 25), argb(0xC8643219));
    EXPECT_EQ(color.GetValue(), argb(0x01020304));
    color.SetValue(-16776961);  // 0xFF0000FF
    EXPECT_EQ(color.GetAlpha(), 255);
    EXPECT_EQ(color.GetRed(), 0);
    EXPECT_EQ(color.GetGreen(), 0);
    EXPECT_EQ(color.GetBlue(), 255);
}

}  // namespace
}  // namespace scanvelt
