#include "platform/vb/amount_text.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vb {
namespace {

TEST(AmountText, WritesOnlyTheDecimalsNeeded) {
    Locale comma;
    comma.decimalSeparator = ',';
    struct Case { int64_t units; const Locale* locale; const char* text; } cases[] = {
        {0, nullptr, "0"}, {15000000, nullptr, "1500"}, {125000, nullptr, "12.5"}, {-402500, nullptr, "-40.25"},
        {1, nullptr, "0.0001"}, {-1, nullptr, "-0.0001"}, {12345678, nullptr, "1234.5678"},
        {10010, nullptr, "1.001"}, {-5000, nullptr, "-0.5"}, {12345678900000, nullptr, "1234567890"},
        {125000, &comma, "12,5"}, {-12345678, &comma, "-1234,5678"},
        {INT64_MAX, nullptr, "922337203685477.5807"}, {INT64_MIN, nullptr, "-922337203685477.5808"},
    };
    const Locale point;
    for (const auto& c : cases)
        EXPECT_EQ(amountText(Currency::fromUnits(c.units), c.locale ? *c.locale : point), c.text) << c.units;
}

}  // namespace
}  // namespace vb
