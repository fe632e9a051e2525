#include "platform/gdiplus/guid.h"

#include <gtest/gtest.h>

#include "platform/gdiplus/frame.h"
#include "platform/gdiplus/image_format.h"

namespace gdiplus {
namespace {

// The registry texts under which hosts and savers name the layer's GUIDs.
struct GuidText {
    Guid guid;
    const char* text;
};

class GuidTextTest : public testing::TestWithParam<GuidText> {};

TEST_P(GuidTextTest, ReadsAndWritesTheRegistryText) {
    const GuidText& c = GetParam();
    EXPECT_EQ(win::FormatGuid(ToWinGuid(c.guid)), c.text);
    const auto parsed = win::ParseGuid(c.text);
    ASSERT_TRUE(parsed.has_value()) << c.text;
    EXPECT_EQ(FromWinGuid(*parsed), c.guid) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    KnownGuids, GuidTextTest,
    testing::Values(GuidText{kJpegCodec.clsid, "{557CF401-1A04-11D3-9A73-0000F81EF32E}"},
                    GuidText{kTiffCodec.clsid, "{557CF405-1A04-11D3-9A73-0000F81EF32E}"},
                    GuidText{ImageFormatMemoryBMP, "{B96B3CAA-0728-11D3-9D7B-0000F81EF32E}"},
                    GuidText{FrameDimensionPage, "{7462DC86-6180-4C7E-8E3F-EE7333A7A483}"},
                    GuidText{FrameDimensionTime, "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}"},
                    GuidText{Guid{}, "{00000000-0000-0000-0000-000000000000}"}));

TEST(Guid, ConversionKeepsTheMemoryLayout) {
    constexpr Guid guid{0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
    static_assert(FromWinGuid(ToWinGuid(guid)) == guid);
    const std::array<std::uint8_t, 16> bytes = ToWinGuid(guid).bytes();
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 16>{4, 3, 2, 1, 6, 5, 8, 7, 9, 10, 11, 12, 13, 14, 15, 16}));
}

}  // namespace
}  // namespace gdiplus
