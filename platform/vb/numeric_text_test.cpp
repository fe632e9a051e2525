#include "platform/vb/numeric_text.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vb {
namespace {

Locale withDecimal(char separator) {
    Locale l;
    l.decimalSeparator = separator;
    return l;
}

const Locale kPoint = withDecimal('.');
const Locale kComma = withDecimal(',');

TEST(NumericText, IsNumericAndCurrencyFromTextAgree) {
    // text, locale, amount in ten-thousandths (nullopt: not numeric)
    struct Case { const char* text; const Locale* locale; std::optional<int64_t> units; } cases[] = {
        {"12", &kPoint, 120000}, {" 12 ", &kPoint, 120000}, {"\t-12.5", &kPoint, -125000},
        {"+3", &kPoint, 30000}, {".5", &kPoint, 5000}, {"5.", &kPoint, 50000}, {"007", &kPoint, 70000},
        {"12.34565", &kPoint, 123456}, {"12.34575", &kPoint, 123458},   // fifth decimal: half to even
        {"12,5", &kComma, 125000}, {"12.5", &kComma, 125000},           // the point passes in every locale
        {"922337203685477.5807", &kPoint, INT64_MAX},
        {"", &kPoint, std::nullopt}, {"  ", &kPoint, std::nullopt}, {"-", &kPoint, std::nullopt},
        {".", &kPoint, std::nullopt}, {"abc", &kPoint, std::nullopt}, {"12a", &kPoint, std::nullopt},
        {"12,5", &kPoint, std::nullopt}, {"1,000", &kPoint, std::nullopt}, {"1.000,5", &kComma, std::nullopt},
        {"1 000", &kPoint, std::nullopt}, {"1.2.3", &kPoint, std::nullopt}, {"1e3", &kPoint, std::nullopt},
        {"&H10", &kPoint, std::nullopt}, {"$5", &kPoint, std::nullopt}, {"(5)", &kPoint, std::nullopt},
        {"5-", &kPoint, std::nullopt}, {"- 5", &kPoint, std::nullopt}, {"--5", &kPoint, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isNumeric(c.text, *c.locale), c.units.has_value()) << c.text;
        const auto got = currencyFromText(c.text, *c.locale);
        ASSERT_EQ(got.has_value(), c.units.has_value()) << c.text;
        if (got) { EXPECT_EQ(got->units(), *c.units) << c.text; }
    }
}

TEST(NumericText, CurrencyFromTextRefusesAmountsBeyondCurrency) {
    EXPECT_TRUE(isNumeric("922337203685477.5808", kPoint));
    EXPECT_FALSE(currencyFromText("922337203685477.5808", kPoint));
    EXPECT_FALSE(currencyFromText(std::string(30, '9'), kPoint));
}

TEST(NumericText, BoxNumberReadsTheLeadingNumber) {
    struct Case { const char* text; const Locale* locale; int64_t units; } cases[] = {
        {"", &kPoint, 0}, {"abc", &kPoint, 0}, {"-", &kPoint, 0}, {"250", &kPoint, 2500000},
        {"  -12.5 kg", &kPoint, -125000}, {"+3x", &kPoint, 30000}, {"1,000", &kPoint, 10000},
        {"1 000", &kPoint, 10000000}, {"12a", &kPoint, 120000}, {"1e3", &kPoint, 10000},
        {"0.00005", &kPoint, 0}, {"0.00015", &kPoint, 2}, {"1.99999", &kPoint, 20000},
        {"12,5", &kComma, 125000}, {"12.5", &kComma, 125000}, {"1.2.3", &kPoint, 12000},
        {"100.00", &kPoint, 1000000},
    };
    for (const auto& c : cases) {
        const auto got = boxNumber(c.text, *c.locale);
        ASSERT_TRUE(got) << c.text;
        EXPECT_EQ(got->units(), c.units) << c.text;
    }
    EXPECT_FALSE(boxNumber("99999999999999999999 kg", kPoint));
}

}  // namespace
}  // namespace vb
