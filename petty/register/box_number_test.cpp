#include "petty/register/box_number.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace petty {
namespace {

struct BoxNumberCase {
    std::string text;
    int64_t units;   // the amount in ten-thousandths
    int32_t whole;
};

TEST(BoxNumberTest, ReadsTheNumberAtTheStartOfTheText) {
    const std::vector<BoxNumberCase> cases = {
        {"", 0, 0},           {"250", 2500000, 250},   {"12.5", 125000, 12},  {"13.5", 135000, 14},
        {"-40.25", -402500, -40}, {"57abc", 570000, 57}, {"abc", 0, 0},       {"0.00", 0, 0},
        {"7.00005", 70000, 7},
    };
    for (const BoxNumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(boxAmount(c.text).units(), c.units);
        EXPECT_EQ(boxWholeNumber(c.text), c.whole);
    }
}

TEST(BoxNumberTest, ANumberBeyondTheRangeReadsZero) {
    EXPECT_EQ(boxAmount("99999999999999999999").units(), 0);
    EXPECT_EQ(boxWholeNumber("99999999999"), 0);
}

}  // namespace
}  // namespace petty
