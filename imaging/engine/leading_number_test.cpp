#include "imaging/engine/leading_number.h"

#include <gtest/gtest.h>

namespace scanvelt {
namespace {

struct NumberCase {
    const char* text;
    double value;
};

class LeadingNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumberTest, ReadsLikeVal) { EXPECT_DOUBLE_EQ(LeadingNumberOf(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Texts, LeadingNumberTest,
                         testing::Values(NumberCase{"6.1.0.0", 6.1}, NumberCase{"5.1.3102.5512", 5.1},
                                         NumberCase{"Unknown", 0}, NumberCase{"Undefined", 0}, NumberCase{"", 0},
                                         NumberCase{" 1 615 198th", 1615198}, NumberCase{"-12.5abc", -12.5},
                                         NumberCase{"+7", 7}, NumberCase{".5", 0.5}, NumberCase{"1e3x", 1000},
                                         NumberCase{"2D2", 200}, NumberCase{"3E", 3}, NumberCase{"&H1F", 31},
                                         NumberCase{"&o17", 15}, NumberCase{"&Hzz", 0}, NumberCase{"-", 0},
                                         NumberCase{".", 0}, NumberCase{"25,10", 25}));

}  // namespace
}  // namespace scanvelt
