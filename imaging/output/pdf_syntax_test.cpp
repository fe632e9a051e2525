#include "imaging/output/pdf_syntax.h"

#include <gtest/gtest.h>

namespace scanvelt {
namespace {

TEST(PdfSyntaxTest, NumbersAreRoundedToThreeDecimalsInTheirShortestForm) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {842, "842"},       {595.2f, "595.2"},  {1.0 / 3, "0.333"}, {-0.5, "-0.5"},   {0, "0"},
        {-0.0001, "0"},     {0.0005, "0"},      {0.0015, "0.002"},  {128.0 / 255, "0.502"},
        {1e-9, "0"},        {-12.25, "-12.25"}, {100000, "100000"}, {2.75f, "2.75"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatNumber(c.value), c.text) << c.value;
}

TEST(PdfSyntaxTest, FixedNumbersKeepTheirDecimals) {
    EXPECT_EQ(FormatFixed(595.2f, 2), "595.20");
    EXPECT_EQ(FormatFixed(0, 2), "0.00");
    EXPECT_EQ(FormatFixed(842, 2), "842.00");
    EXPECT_EQ(FormatFixed(-3.5, 2), "-3.50");
}

TEST(PdfSyntaxTest, HexStringsAreUpperCaseTwoDigitsPerByte) {
    EXPECT_EQ(HexString(std::string("\x00\x0F\xAB""A", 4)), "000FAB41");
    EXPECT_EQ(HexString(""), "");
}

TEST(PdfSyntaxTest, EscapesOfLiteralStrings) {
    EXPECT_EQ(EscapePdfString("Total (net)"), "Total \\(net\\)");
    EXPECT_EQ(EscapePdfString("a\\b\r\n"), "a\\\\b\\r\\n");
    EXPECT_EQ(EscapePdfStringBasic("a\\(b)\r\n"), "a\\\\\\(b\\)\r\n");
}

}  // namespace
}  // namespace scanvelt
