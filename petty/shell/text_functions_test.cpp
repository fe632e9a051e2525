#include "petty/shell/text_functions.h"

#include <gtest/gtest.h>

namespace petty {
namespace {

TEST(TextFunctionsTest, TrimRemovesBlanksOnlyAtBothEnds) {
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    EXPECT_EQ(trimBlanks("   "), "");
    EXPECT_EQ(trimBlanks("\tx\t"), "\tx\t");  // VB's Trim leaves tabs
}

TEST(TextFunctionsTest, CaseChangesAsciiLettersOnly) {
    EXPECT_EQ(upperCase("Ab'1 \xC3\xA9"), "AB'1 \xC3\xA9");
    EXPECT_EQ(lowerCase("C:\\Prog FILES\\"), "c:\\prog files\\");
}

}  // namespace
}  // namespace petty
