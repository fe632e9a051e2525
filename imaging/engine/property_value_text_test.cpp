#include "imaging/engine/property_value_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scanvelt {
namespace {

struct TextCase {
    const char* what;
    int32_t tagId;
    int32_t type;
    int32_t length;
    int32_t count;
    std::vector<uint8_t> bytes;
    std::string text;
};

class PropertyValueTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(PropertyValueTextTest, WritesTheValues) {
    const TextCase& c = GetParam();
    const auto text = PropertyValueText(c.tagId, c.type, c.length, c.count, c.bytes);
    ASSERT_TRUE(text.has_value()) << c.what;
    EXPECT_EQ(*text, c.text) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Types, PropertyValueTextTest,
    testing::Values(
        TextCase{"bytes", 1, 1, 3, 3, {1, 2, 3}, " 1,  2,  3"},
        TextCase{"ascii keeps its closing zero", 271, 2, 4, 1, {'A', 'b', 'c', 0}, std::string("Abc\0", 4)},
        TextCase{"ascii without bytes", 271, 2, 0, 1, {}, "0"},
        TextCase{"ansi characters", 271, 2, 2, 1, {0x80, 0xE9}, "\u20AC\u00E9"},
        TextCase{"user comment drops its header", 37510, 7, 13, 13,
                 {'A', 'S', 'C', 'I', 'I', ' ', ' ', ' ', 'h', 'e', 'l', 'l', 'o'}, "hello"},
        TextCase{"xml packets read as text", 700, 1, 3, 3, {'<', 'x', '>'}, "<x>"},
        TextCase{"short is unsigned", 1, 3, 2, 1, {0xFF, 0xFF}, " 65535"},
        TextCase{"sshort as well", 1, 8, 4, 2, {1, 0, 0xFF, 0xFF}, " 1,  65535"},
        TextCase{"long is signed", 1, 4, 8, 2, {10, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, " 10, -1"},
        TextCase{"rational whole", 282, 5, 8, 1, {72, 0, 0, 0, 1, 0, 0, 0}, " 72"},
        TextCase{"rational half", 282, 5, 8, 1, {1, 0, 0, 0, 2, 0, 0, 0}, " .5"},
        TextCase{"srational negative", 1, 10, 8, 1, {0xFF, 0xFF, 0xFF, 0xFF, 4, 0, 0, 0}, "-.25"},
        TextCase{"rational third", 1, 5, 8, 1, {1, 0, 0, 0, 3, 0, 0, 0}, " .333333333333333"},
        TextCase{"undefined as hex", 1, 7, 2, 2, {1, 255}, "01, FF"},
        TextCase{"long of 10000 bytes", 1, 4, 10000, 2500, {}, "10000 Byte"},
        TextCase{"double type", 1, 12, 8, 1, {0, 0, 0, 0, 0, 0, 0, 0}, "8 Byte"},
        TextCase{"unknown type", 1, 13, 5, 0, {1, 2, 3, 4, 5}, "5 Byte"},
        TextCase{"values beyond the bytes are left out", 1, 3, 6, 3, {1, 0, 2, 0}, " 1,  2"}));

TEST(PropertyValueText, RationalOverZeroIsAnErrorNotACrash) {
    const std::vector<uint8_t> bytes{1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(PropertyValueText(282, 5, 8, 1, bytes).has_value());
    EXPECT_FALSE(PropertyValueText(1, 10, 8, 1, bytes).has_value());
}

struct NumberCase {
    double value;
    const char* text;
};

class SignedNumberTextTest : public testing::TestWithParam<NumberCase> {};

TEST_P(SignedNumberTextTest, WritesLikeTheSystem) { EXPECT_EQ(SignedNumberText(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Numbers, SignedNumberTextTest,
                         testing::Values(NumberCase{0, " 0"}, NumberCase{72, " 72"}, NumberCase{-3, "-3"},
                                         NumberCase{0.5, " .5"}, NumberCase{-0.5, "-.5"},
                                         NumberCase{1234.5, " 1234.5"}, NumberCase{0.0001, " .0001"},
                                         NumberCase{0.00001, " 1E-05"}, NumberCase{1.5e-7, " 1.5E-07"},
                                         NumberCase{999999999999999.0, " 999999999999999"},
                                         NumberCase{1e15, " 1E+15"}, NumberCase{-2.5e20, "-2.5E+20"},
                                         NumberCase{2147483647, " 2147483647"}, NumberCase{0.1 + 0.2, " .3"}));

}  // namespace
}  // namespace scanvelt
