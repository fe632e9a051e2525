#include "platform/vb/text_functions.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

struct TrimCase {
    std::string text;
    std::string trimmed;
    std::string leftTrimmed;
    std::string rightTrimmed;
};

class TrimTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimTest, RemovesBlanksOnlyAtTheirEnds) {
    const TrimCase& c = GetParam();
    EXPECT_EQ(trim(c.text), c.trimmed);
    EXPECT_EQ(ltrim(c.text), c.leftTrimmed);
    EXPECT_EQ(rtrim(c.text), c.rightTrimmed);
}

INSTANTIATE_TEST_SUITE_P(Cases, TrimTest,
                         ::testing::Values(TrimCase{"  a b  ", "a b", "a b  ", "  a b"},
                                           TrimCase{"   ", "", "", ""},
                                           TrimCase{"", "", "", ""},
                                           TrimCase{"x", "x", "x", "x"},
                                           // Tabs and line ends are not blanks to VB's Trim.
                                           TrimCase{"\tx\r\n", "\tx\r\n", "\tx\r\n", "\tx\r\n"},
                                           TrimCase{" \t x \n ", "\t x \n", "\t x \n ", " \t x \n"}));

TEST(CaseTest, ChangesAsciiLettersOnly) {
    EXPECT_EQ(ucase("Ab'1 z\xC3\xA9"), "AB'1 Z\xC3\xA9");  // é keeps its bytes
    EXPECT_EQ(lcase("C:\\Prog FILES\\Z\xC3\x89"), "c:\\prog files\\z\xC3\x89");
    EXPECT_EQ(ucase("@[`{"), "@[`{");  // the neighbours of the letters stay
    EXPECT_EQ(lcase("@[`{"), "@[`{");
    EXPECT_EQ(ucase(""), "");
}

}  // namespace
}  // namespace vb
