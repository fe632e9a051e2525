#include "imaging/twain/color_to_argb.h"

#include <gtest/gtest.h>

namespace scanvelt {
namespace {

struct ColourCase {
    uint32_t given;
    uint32_t expected;
};

TEST(ColorToArgb, ReadsWindowsRgbAsOpaqueAndKeepsArgb) {
    const ColourCase cases[] = {
        {0x000000FFu, 0xFFFF0000u},  // pure red as a Windows RGB value
        {0x0000FF00u, 0xFF00FF00u},  // green sits in the same byte either way
        {0x00FF0000u, 0xFF0000FFu},  // blue in bits 16-23 of a COLORREF
        {0x00123456u, 0xFF563412u},
        {0x00000000u, 0xFF000000u},  // black, not transparent black
        {0x00FFFFFFu, 0xFFFFFFFFu},
        {0x80FF0000u, 0x80FF0000u},  // alpha 128 with red: already ARGB
        {0xFF102030u, 0xFF102030u},
        {0x01000000u, 0x01000000u},  // the faintest alpha still marks ARGB
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<uint32_t>(ColorToArgb(static_cast<int32_t>(c.given))), c.expected)
            << std::hex << "given 0x" << c.given;
    }
}

}  // namespace
}  // namespace scanvelt
