#include "platform/vb/val.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vb {
namespace {

TEST(Val, ReadsTheNumberAtTheStartAsVbDoes) {
    struct Case { const char* text; double value; } cases[] = {
        {"", 0}, {"abc", 0}, {"-", 0}, {".", 0}, {"12", 12}, {"  12", 12}, {"12abc", 12},
        {"-12.5", -12.5}, {"+7", 7}, {".5", 0.5}, {"5.", 5}, {"1.2.3", 1.2}, {"1,5", 1},
        {"1 2 3", 123}, {" - 4 . 5", -4.5}, {"\t1\n2", 12},   // blanks, tabs, line feeds vanish
        {"1e3", 1000}, {"1.5E-2", 0.015}, {"2d2", 200}, {"1e", 1}, {"1e+", 1}, {"3e2x", 300},
        {"&H1F", 31}, {"&hff", 255}, {"&HFFFF", -1}, {"&H10000", 65536}, {"&HFFFFFFFF", -1},
        {"&O17", 15}, {"&Hxyz", 0}, {"&", 0}, {"&12", 0},
        {"0.1", 0.1}, {"123456789012.345", 123456789012.345},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(val(c.text), c.value) << c.text;
}

TEST(Val, NumbersBeyondADoubleReadAsInfinityOrZero) {
    EXPECT_EQ(val("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(val("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(val(std::string(400, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(val("1e-400"), 0.0);
    EXPECT_EQ(val("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(val("&H100000000"), std::numeric_limits<double>::infinity());
}

}  // namespace
}  // namespace vb
