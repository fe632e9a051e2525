#include "platform/gdiplus/codecs/codec_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace gdiplus::codecs {
namespace {

// Widths around the sixteen bytes the fast path takes at a time, so that
// every split between it and the plain loop is met.
TEST(CopySwappingRedBlueTest, SwapsTheFirstAndThirdByteOfEveryPixelAndNothingElse) {
    for (const std::uint32_t pixelBytes : {3u, 4u}) {
        for (std::size_t pixels = 0; pixels <= 23; ++pixels) {
            for (const bool inPlace : {false, true}) {
                // A guard byte after the row shows a write past its end.
                std::vector<std::uint8_t> from(pixels * pixelBytes + 1);
                for (std::size_t i = 0; i < from.size(); ++i) from[i] = static_cast<std::uint8_t>(7 * i + 1);
                std::vector<std::uint8_t> expected = from;
                for (std::size_t x = 0; x < pixels; ++x)
                    std::swap(expected[x * pixelBytes], expected[x * pixelBytes + 2]);
                std::vector<std::uint8_t> to = inPlace ? from : std::vector<std::uint8_t>(from.size(), 0xA5);
                if (!inPlace) expected.back() = 0xA5;
                CopySwappingRedBlue(inPlace ? to.data() : from.data(), to.data(), pixels, pixelBytes);
                EXPECT_EQ(to, expected) << pixelBytes << " bytes, " << pixels << " pixels, in place " << inPlace;
            }
        }
    }
}

}  // namespace
}  // namespace gdiplus::codecs
