#include "platform/win/guid.h"

#include <gtest/gtest.h>

namespace win {
namespace {

TEST(Guid, ParsesTheRegistryFormIntoItsFields) {
    auto guid = ParseGuid("{557CF401-1A04-11D3-9A73-0000F81EF32E}");
    ASSERT_TRUE(guid);
    EXPECT_EQ(guid->data1, 0x557CF401u);
    EXPECT_EQ(guid->data2, 0x1A04u);
    EXPECT_EQ(guid->data3, 0x11D3u);
    std::array<uint8_t, 8> data4 = {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E};
    EXPECT_EQ(guid->data4, data4);
    std::array<uint8_t, 16> bytes = {0x01, 0xF4, 0x7C, 0x55, 0x04, 0x1A, 0xD3, 0x11,
                                     0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E};
    EXPECT_EQ(guid->bytes(), bytes) << "the first three fields lie little-endian";
    EXPECT_EQ(Guid::fromBytes(bytes), *guid);
}

TEST(Guid, RoundTripsInUpperCase) {
    struct Case { const char* in; const char* out; } cases[] = {
        {"{00020400-0000-0000-C000-000000000046}", "{00020400-0000-0000-C000-000000000046}"},
        {"{b96b3cae-0728-11d3-9d7b-0000f81ef32e}", "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}"},
        {"{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}", "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"},
        {"{00000000-0000-0000-0000-000000000000}", "{00000000-0000-0000-0000-000000000000}"},
    };
    for (const auto& c : cases) {
        auto guid = ParseGuid(c.in);
        ASSERT_TRUE(guid) << c.in;
        EXPECT_EQ(FormatGuid(*guid), c.out);
    }
    EXPECT_TRUE(ParseGuid("{00000000-0000-0000-0000-000000000000}")->isNull());
}

TEST(Guid, RefusesMalformedText) {
    for (const char* bad : {
             "", "557CF401-1A04-11D3-9A73-0000F81EF32E",       // no braces
             "{557CF401-1A04-11D3-9A73-0000F81EF32E",          // no closing brace
             "{557CF401-1A04-11D3-9A730000F81EF32E0}",         // dash moved
             "{557CF4G1-1A04-11D3-9A73-0000F81EF32E}",         // not hex
             "{557CF401-1A04-11D3-9A73-0000F81EF32E} ",        // trailing blank
             "{557CF401+1A04-11D3-9A73-0000F81EF32E}",
             "{-557CF40-1A04-11D3-9A73-0000F81EF32E}",
         }) {
        EXPECT_FALSE(ParseGuid(bad)) << bad;
    }
}

}  // namespace
}  // namespace win
