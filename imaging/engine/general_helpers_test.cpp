#include "imaging/engine/general_helpers.h"

#include "platform/win/testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <set>
#include <unistd.h>

namespace scanvelt {
namespace {

TEST(GuidFromString, ParsesFixedTextsAndGivesTheNullGuidOtherwise) {
    win::Guid jpegEncoder = GuidFromString("{557CF401-1A04-11D3-9A73-0000F81EF32E}");
    EXPECT_EQ(jpegEncoder.data1, 0x557CF401u);
    EXPECT_EQ(jpegEncoder.bytes()[0], 0x01);
    EXPECT_TRUE(GuidFromString("not a guid").isNull());
}

TEST(StringFromPointers, CopiesAndNullAddresses) {
    EXPECT_EQ(StringFromAnsiPtr(nullptr), "");
    EXPECT_EQ(StringFromAnsiPtr(""), "");
    EXPECT_EQ(StringFromAnsiPtr("Caf\xE9 \x80"), "Caf\u00E9 \u20AC");
    EXPECT_EQ(StringFromWidePtr(nullptr), "");
    EXPECT_EQ(StringFromWidePtr(u""), "");
    EXPECT_EQ(StringFromWidePtr(u"Caf\u00E9 \u20AC"), "Caf\u00E9 \u20AC");
}

TEST(ExistingFilePath, OnlyRegularFilesThatOpen) {
    win::testing::ScratchFolder scratch;
    std::string empty = scratch.write("Empty.bin", "");
    std::string some = scratch.write("Bills/Scan 1.JPG", "jpeg");
    EXPECT_EQ(ExistingFilePath(empty), empty) << "a file of any size";
    EXPECT_EQ(ExistingFilePath(some), some);
    std::string windowsStyle = scratch.path() + "\\bills\\scan 1.jpg";
    EXPECT_EQ(ExistingFilePath(windowsStyle), windowsStyle) << "the path comes back unchanged";
    EXPECT_EQ(ExistingFilePath(scratch.path()), "") << "a folder";
    EXPECT_EQ(ExistingFilePath(scratch.file("missing")), "");
    EXPECT_EQ(ExistingFilePath(""), "");
    std::string locked = scratch.write("locked.bin", "x");
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    if (::geteuid() != 0) {  // root opens it all the same
        EXPECT_EQ(ExistingFilePath(locked), "") << "does not open for reading";
    }
}

TEST(MaxMinDouble, Table) {
    struct Case { double a, b, max, min; } cases[] = {
        {1, 2, 2, 1}, {2, 1, 2, 1}, {-0.5, -0.25, -0.25, -0.5}, {3, 3, 3, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MaxDouble(c.a, c.b), c.max);
        EXPECT_EQ(MinDouble(c.a, c.b), c.min);
    }
}

TEST(DecimalPlaces, Table) {
    struct Case { float x; int32_t places; } cases[] = {
        {300.0f, 0}, {72.0f, 0}, {72.5f, 1}, {0.1f, 1}, {96.012f, 3}, {0.0f, 0}, {-72.25f, 2},
        {1e-30f, 30},  // 10^30 times it rounds to exactly 1 in single precision
        {std::numeric_limits<float>::infinity(), 0},
        {std::numeric_limits<float>::quiet_NaN(), 0},  // would never end
    };
    for (const auto& c : cases) EXPECT_EQ(DecimalPlaces(c.x), c.places) << c.x;
    EXPECT_LT(DecimalPlaces(std::numeric_limits<float>::denorm_min()), 80) << "tiny values end too";
}

TEST(RandomGuidString, ShapeAndNoRepeatsInATightLoop) {
    std::set<std::string> seen;
    for (int i = 0; i < 5000; ++i) {
        std::string guid = RandomGuidString();
        ASSERT_EQ(guid.size(), 36u);
        for (size_t p = 0; p < guid.size(); ++p) {
            if (p == 8 || p == 13 || p == 18 || p == 23) {
                ASSERT_EQ(guid[p], '-') << guid;
            } else {
                ASSERT_TRUE((guid[p] >= '0' && guid[p] <= '9') || (guid[p] >= 'A' && guid[p] <= 'F')) << guid;
            }
        }
        EXPECT_TRUE(seen.insert(guid).second) << "repeated within one clock tick: " << guid;
    }
    std::set<char> digitsUsed;
    for (const auto& guid : seen) digitsUsed.insert(guid.begin(), guid.end());
    EXPECT_EQ(digitsUsed.size(), 17u) << "all sixteen digits and the dash occur";
}

TEST(SafeChrW, Table) {
    struct Case { int32_t code; std::string text; } cases[] = {
        {65, "A"}, {0xE9, "\u00E9"}, {0x20AC, "\u20AC"}, {65535, "\uFFFF"},
        {-1, "\uFFFF"}, {-32768, "\u8000"},  // negative codes stand for code + 65536
        {0, std::string(1, '\0')},
        {0xD800, "\uFFFD"},  // a lone surrogate half
        {65536, ""}, {-32769, ""}, {INT32_MIN, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(SafeChrW(c.code), c.text) << c.code;
}

TEST(TrimSpacesAndLowerCase, Table) {
    struct Case { const char* text; const char* trimmed; const char* lower; } cases[] = {
        {"  Pn G ", "Pn G", "  pn g "}, {"    ", "", "    "}, {"", "", ""},
        {"\tTIF\t", "\tTIF\t", "\ttif\t"}, {"\xC3\x89t\xC3\xA9 ", "\xC3\x89t\xC3\xA9", "\xC3\x89t\xC3\xA9 "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimSpaces(c.text), c.trimmed) << c.text;
        EXPECT_EQ(LowerCaseAscii(c.text), c.lower) << c.text;
    }
}

TEST(HighLowWord, Table) {
    struct Case { int32_t value; uint16_t high, low; } cases[] = {
        {0x00060001, 6, 1}, {static_cast<int32_t>(0x02F800AF), 760, 175}, {-1, 65535, 65535},
        {0, 0, 0}, {static_cast<int32_t>(0x80000000), 0x8000, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HighWord(c.value), c.high);
        EXPECT_EQ(LowWord(c.value), c.low);
    }
}

TEST(ArrayCounts, CountTheElementsAndZeroForAnArrayNeverDimensioned) {
    const std::vector<std::string> texts(5);
    const int32_t longs[] = {1, 2, 3};
    const std::vector<double> doubles{0.5};
    const std::vector<uint8_t> none;
    EXPECT_EQ(StringArrayCount(texts), 5);
    EXPECT_EQ(LongArrayCount(longs), 3);
    EXPECT_EQ(DoubleArrayCount(doubles), 1);
    EXPECT_EQ(ByteArrayCount(none), 0);
    EXPECT_EQ(ByteArrayCount({}), 0);
}

}  // namespace
}  // namespace scanvelt
