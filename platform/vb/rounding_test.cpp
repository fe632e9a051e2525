#include "platform/vb/rounding.h"

#include <gtest/gtest.h>

#include <limits>

namespace vb {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    struct Case { double in; double out; } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
        {2.4999999, 2}, {2.5000001, 3}, {-2.6, -3}, {7, 7}, {1e300, 1e300},
    };
    for (const auto& c : cases) EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
}

TEST(Rounding, CIntAndCLngRefuseWhatDoesNotFit) {
    EXPECT_EQ(cInt(32767.4), 32767);
    EXPECT_EQ(cInt(-32768.5), -32768);  // to even: -32768
    EXPECT_FALSE(cInt(32767.5));         // to even: 32768, too large
    EXPECT_FALSE(cInt(-32769));
    EXPECT_EQ(cLng(2147483647.0), 2147483647);
    EXPECT_EQ(cLng(12.5), 12);
    EXPECT_FALSE(cLng(2147483647.5));
    EXPECT_FALSE(cLng(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(cLng(std::numeric_limits<double>::infinity()));
}

}  // namespace
}  // namespace vb
