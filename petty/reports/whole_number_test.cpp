#include "petty/reports/whole_number.h"

#include <gtest/gtest.h>

namespace petty {
namespace {

TEST(PositiveWholeNumber, TakesDigitsOnlyFromOneToTheLargestVoucherNumber) {
    const std::pair<const char*, std::optional<int64_t>> cases[] = {
        {"1", 1},           {"42", 42},         {" 7 ", 7},         {"007", 7},
        {"2147483647", 2147483647},             {"2147483648", std::nullopt},
        {"", std::nullopt}, {"  ", std::nullopt}, {"0", std::nullopt}, {"-3", std::nullopt},
        {"+4", std::nullopt}, {"1.5", std::nullopt}, {"1e3", std::nullopt}, {"12a", std::nullopt},
        {"1 2", std::nullopt}, {"99999999999999999999999", std::nullopt},
    };
    for (const auto& [text, number] : cases) EXPECT_EQ(positiveWholeNumber(text), number) << "'" << text << "'";
}

}  // namespace
}  // namespace petty
