#include "platform/vb/currency.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>

#include "platform/vb/test_support.h"

namespace vb {
namespace {

TEST(Currency, SumsOfDecimalsAreExact) {
    Currency a = *Currency::fromDouble(0.1);
    Currency b = *Currency::fromDouble(0.2);
    EXPECT_EQ(a + b, *Currency::fromDouble(0.3));
    Currency total;
    for (int i = 0; i < 1000; ++i) total += *Currency::fromDouble(0.01);
    EXPECT_EQ(total, Currency::fromWhole(10));
}

TEST(Currency, FromDoubleRoundsHalvesToEven) {
    struct Case { double in; int64_t units; } cases[] = {
        {1.00005, 10000},   // half: to the even neighbour 1.0000
        {0.00015, 2},       // 1.5 ten-thousandths -> 2
        {0.00025, 2},       // 2.5 ten-thousandths -> 2 (even)
        {-0.00025, -2},
        {12.3456, 123456},
        {-7.5, -75000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Currency::fromDouble(c.in)->units(), c.units) << c.in;
    }
}

TEST(Currency, FromDecimalTextIsExact) {
    struct Case { const char* in; std::optional<int64_t> units; } cases[] = {
        {"0", 0}, {"-0.5", -5000}, {"+3", 30000}, {"12.34565", 123456}, {"12.34575", 123458},
        {"12.345650001", 123457}, {".5", 5000}, {"5.", 50000},
        {"922337203685477.5807", INT64_MAX}, {"-922337203685477.5808", INT64_MIN},
        {"922337203685477.5808", std::nullopt}, {"", std::nullopt}, {"-", std::nullopt},
        {"1,5", std::nullopt}, {"1e3", std::nullopt}, {" 1", std::nullopt},
    };
    for (const auto& c : cases) {
        auto got = Currency::fromDecimalText(c.in);
        ASSERT_EQ(got.has_value(), c.units.has_value()) << c.in;
        if (got) { EXPECT_EQ(got->units(), *c.units) << c.in; }
    }
}

TEST(Currency, FromDoubleRefusesValuesItCannotHold) {
    EXPECT_FALSE(Currency::fromDouble(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(Currency::fromDouble(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(Currency::fromDouble(1e16));
    EXPECT_TRUE(Currency::fromDouble(9e14));
}

TEST(Currency, FromDoubleIgnoresTheCLibraryLocale) {
    const locale_t comma = testing::commaNumericLocale();
    if (!comma) GTEST_SKIP() << "localedef could not make a German locale";
    testing::ScopedThreadLocale scope(comma);
    char probe[8];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    ASSERT_STREQ(probe, "0,5");  // the C library now writes a comma
    EXPECT_EQ(Currency::fromDouble(0.1), Currency::fromUnits(1000));
    EXPECT_EQ(Currency::fromDouble(-1234.56789), Currency::fromUnits(-12345679));
    EXPECT_EQ(Currency::fromDouble(0.00015), Currency::fromUnits(2));
}

}  // namespace
}  // namespace vb
