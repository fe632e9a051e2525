#include "imaging/engine/image_resolution.h"

#include <gtest/gtest.h>

#include <string>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt {
namespace {

using testing_support::EngineTest;
using testing_support::RegisterBitmap;

struct RationalCase {
    float dpi;
    int32_t numerator;
    int32_t denominator;
};

class ResolutionRationalTest : public testing::TestWithParam<RationalCase> {};

TEST_P(ResolutionRationalTest, DecimalPlacesDecideTheDenominator) {
    const RationalCase c = GetParam();
    const auto bytes = ResolutionRational(c.dpi);
    int32_t numerator = 0;
    int32_t denominator = 0;
    for (int i = 3; i >= 0; --i) {
        numerator = (numerator << 8) | bytes[i];
        denominator = (denominator << 8) | bytes[4 + i];
    }
    EXPECT_EQ(numerator, c.numerator) << c.dpi;
    EXPECT_EQ(denominator, c.denominator) << c.dpi;
}

INSTANTIATE_TEST_SUITE_P(Values, ResolutionRationalTest,
                         testing::Values(RationalCase{300.0f, 300, 1}, RationalCase{72.5f, 725, 10},
                                         RationalCase{0.1f, 1, 10}, RationalCase{96.012f, 96012, 1000},
                                         RationalCase{0.0f, 0, 1}, RationalCase{1200.25f, 120025, 100}));

TEST(ResolutionRational, ANumeratorPast32BitsIsAFailure) {
    EXPECT_THROW(ResolutionRational(3.0e9f), EngineFailure);
}

using SetImageResolutionTest = EngineTest;

TEST_F(SetImageResolutionTest, WritesTheItemsAndTheResolutionAndMarks) {
    const int32_t id = RegisterBitmap(2, 2, gdiplus::PixelFormat24bppRGB);
    ASSERT_EQ(SetImageResolution(id, 72.5f, 300.0f, false), OK);
    EXPECT_EQ(testing_support::ResolutionOf(id), std::make_pair(72.5f, 300.0f));
    std::string x;
    std::string y;
    ASSERT_EQ(ExifTagValueText(id, 1, x), OK);
    ASSERT_EQ(ExifTagValueText(id, 2, y), OK);
    EXPECT_EQ(x, " 72.5");
    EXPECT_EQ(y, " 300");
    EXPECT_EQ(PropertyItemById(id, kTagXResolution)->ItemType(), 5);
    EXPECT_TRUE(FindImageEntry(id)->IsModified);
}

TEST_F(SetImageResolutionTest, LeftUnmarkedWhenAsked) {
    const int32_t id = RegisterBitmap(2, 2, gdiplus::PixelFormat24bppRGB);
    ASSERT_EQ(SetImageResolution(id, 200.0f, 200.0f, true), OK);
    EXPECT_FALSE(FindImageEntry(id)->IsModified);
}

TEST_F(SetImageResolutionTest, FailuresChangeNothing) {
    const int32_t id = RegisterBitmap(2, 2, gdiplus::PixelFormat24bppRGB);
    EXPECT_EQ(SetImageResolution(id + 1, 300.0f, 300.0f, false), InvalidParameter);
    EXPECT_EQ(SetImageResolution(id, 300.0f, 3.0e9f, false), GenericError);
    int32_t count = -1;
    ASSERT_EQ(GetImagePropertyCount(id, count), OK);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(testing_support::ResolutionOf(id), std::make_pair(96.0f, 96.0f));
    EXPECT_FALSE(FindImageEntry(id)->IsModified);
}

TEST_F(SetImageResolutionTest, SyncRewritesTheItemsFromTheResolution) {
    const int32_t id = RegisterBitmap(2, 2, gdiplus::PixelFormat24bppRGB);
    ASSERT_EQ(SetImageResolution(id, 150.0f, 150.0f, true), OK);
    ASSERT_EQ(SetPropertyItemLongs(id, kTagXResolution, "1", false, false), OK);  // out of step
    SyncResolutionTags(id);
    std::string x;
    ASSERT_EQ(ExifTagValueText(id, 1, x), OK);
    EXPECT_EQ(x, " 150");
    EXPECT_EQ(PropertyItemById(id, kTagXResolution)->ItemType(), 5);
    EXPECT_FALSE(FindImageEntry(id)->IsModified);
}

}  // namespace
}  // namespace scanvelt
