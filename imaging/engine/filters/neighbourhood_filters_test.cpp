#include "imaging/engine/filters/neighbourhood_filters.h"

#include <gtest/gtest.h>

#include <vector>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt::filters {
namespace {

uint32_t Grey(int32_t v, uint32_t alpha = 0xFF) {
    return alpha << 24 | static_cast<uint32_t>(v) * 0x010101u;
}

// A width x height working copy of one grey value (Source the same).
FilterPixels Region(int32_t width, int32_t height, int32_t value = 0) {
    FilterPixels copy;
    copy.Width = width;
    copy.Height = height;
    copy.Pixels.assign(static_cast<size_t>(width) * height, Grey(value));
    copy.Source = copy.Pixels;
    return copy;
}

void Set(FilterPixels& copy, int32_t x, int32_t y, uint32_t pixel) {
    copy.Pixels[static_cast<size_t>(y) * copy.Width + x] = pixel;
    copy.Source[static_cast<size_t>(y) * copy.Width + x] = pixel;
}

int32_t At(const FilterPixels& copy, int32_t x, int32_t y) {
    return static_cast<int32_t>(copy.Pixels[static_cast<size_t>(y) * copy.Width + x] & 0xFF);
}

FilterArguments Amount(double amount) {
    FilterArguments arguments;
    arguments.amount = amount;
    return arguments;
}

FilterArguments Confidence(float confidence) {
    FilterArguments arguments;
    arguments.option1 = confidence;
    return arguments;
}

using Filter = bool (*)(FilterPixels&, const FilterArguments&);

TEST(NeighbourhoodFilters, ARegionTwoPixelsHighOrWideHasNoInteriorToChange) {
    for (const Filter filter : {&SmoothFilter, &SoftenFilter, &DespeckleFilter}) {
        for (const auto [w, h] : {std::pair{5, 2}, std::pair{2, 5}}) {
            FilterPixels copy = Region(w, h);
            Set(copy, 1, 1, Grey(250));
            const ArgbPixels before = copy.Pixels;
            filter(copy, Amount(50));
            EXPECT_EQ(copy.Pixels, before);
        }
    }
}

TEST(NeighbourhoodFilters, SmoothOfThreeByThreeChangesTheCentreFromItsEdgeNeighboursOnly) {
    FilterPixels copy = Region(3, 3);
    const int32_t values[9] = {200, 10, 200, 20, 30, 40, 200, 50, 200};
    for (int32_t i = 0; i < 9; ++i) Set(copy, i % 3, i / 3, Grey(values[i], 0x33));
    SmoothFilter(copy, Amount(0));
    EXPECT_EQ(copy.Pixels[4], Grey((10 + 20 + 30 + 40 + 50) / 5, 0x33));
    for (int32_t i : {0, 1, 2, 3, 5, 6, 7, 8}) EXPECT_EQ(At(copy, i % 3, i / 3), values[i]);
}

TEST(NeighbourhoodFilters, SmoothWorksInPlaceSoChangedNeighboursCarryOn) {
    FilterPixels copy = Region(7, 7);
    Set(copy, 3, 3, Grey(250));
    SmoothFilter(copy, Amount(0));
    EXPECT_EQ(At(copy, 3, 3), 70);
    EXPECT_EQ(At(copy, 3, 2), 50);  // above
    EXPECT_EQ(At(copy, 2, 3), 50);  // left
    EXPECT_EQ(At(copy, 4, 3), 16);  // right
    EXPECT_EQ(At(copy, 3, 4), 16);  // below
    EXPECT_EQ(At(copy, 4, 2), 10);  // the row above, to the right
    EXPECT_EQ(At(copy, 5, 2), 2);
    EXPECT_EQ(At(copy, 2, 4), 10);  // the column to the left, below
    EXPECT_EQ(At(copy, 2, 5), 2);
}

TEST(NeighbourhoodFilters, SoftenAt100IsSmoothAndAt1MovesFourPercent) {
    FilterPixels smoothed = Region(7, 7);
    Set(smoothed, 3, 3, Grey(250));
    FilterPixels softened = smoothed;
    SmoothFilter(smoothed, Amount(0));
    SoftenFilter(softened, Amount(100));
    EXPECT_EQ(softened.Pixels, smoothed.Pixels);

    FilterPixels centre = Region(3, 3);
    Set(centre, 1, 1, Grey(200));
    SoftenFilter(centre, Amount(1));
    EXPECT_EQ(At(centre, 1, 1), 192);  // (100 x 200) div 104
}

TEST(NeighbourhoodFilters, SoftenBeyond101FailsOnANegativeResultOrADivisionByZero) {
    FilterPixels negative = Region(3, 3, 10);
    Set(negative, 1, 1, Grey(200));
    EXPECT_THROW(SoftenFilter(negative, Amount(110)), EngineFailure);
    FilterPixels zero = Region(3, 3, 10);
    EXPECT_THROW(SoftenFilter(zero, Amount(105)), EngineFailure);
    FilterPixels low = Region(3, 3, 10);
    EXPECT_THROW(SoftenFilter(low, Amount(-2147483647.0)), EngineFailure);
}

TEST(NeighbourhoodFilters, DespeckleRemovesALoneWhitePixelButNotALineOnTheBorder) {
    FilterPixels copy = Region(5, 5);
    Set(copy, 2, 2, Grey(255, 0x44));
    for (int32_t y = 0; y < 5; ++y) Set(copy, 0, y, Grey(255));
    DespeckleFilter(copy, Amount(0));
    EXPECT_EQ(copy.Pixels[12], Grey(0, 0x44));  // alpha stays
    for (int32_t y = 0; y < 5; ++y) EXPECT_EQ(At(copy, 0, y), 255);
}

TEST(NeighbourhoodFilters, DespeckleTakesEachChannelsOwnMedianFromTheSource) {
    FilterPixels copy = Region(3, 3);
    const uint32_t block[9] = {0xFF010203, 0xFF090807, 0xFF050505, 0xFF020406, 0xFF070301,
                               0xFF080909, 0xFF030101, 0xFF040602, 0xFF060708};
    for (int32_t i = 0; i < 9; ++i) Set(copy, i % 3, i / 3, block[i]);
    copy.Pixels[4] = 0xFFFFFFFF;  // the working value is not read
    DespeckleFilter(copy, Amount(0));
    EXPECT_EQ(copy.Pixels[4], 0xFF050505u);
}

TEST(NeighbourhoodFilters, SortNineSortsAscending) {
    std::array<int32_t, 9> values{9, 1, 8, 2, 7, 3, 6, 4, 5};
    SortNine(values);
    EXPECT_EQ(values, (std::array<int32_t, 9>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

struct BlankCase {
    int32_t pixels;
    int32_t dark;
    float confidence;
    bool blank;
};

TEST(NeighbourhoodFilters, BlankTestComparesTheLightShareToOneDecimal) {
    const BlankCase cases[] = {
        {2000, 10, 99.0f, true},    // 99.5 %
        {2000, 20, 99.0f, false},   // exactly 99.0 %
        {1000, 9, 99.1f, true},     // single 99.1 lies below double 99.1
        {1000, 1, 99.9f, false},    // single 99.9 lies above double 99.9
        {1000, 0, 100.0f, false},   // strictly greater
    };
    for (const BlankCase& c : cases) {
        FilterPixels copy = Region(c.pixels, 1, 255);
        for (int32_t i = 0; i < c.dark; ++i) copy.Pixels[static_cast<size_t>(i) * 7 % c.pixels] = Grey(0);
        EXPECT_EQ(BlankPageTest(copy, Confidence(c.confidence)), c.blank) << c.pixels << " " << c.dark;
    }
}

TEST(NeighbourhoodFilters, BlankTestCountsGrey139AsDarkAnd140AsLight) {
    FilterPixels copy = Region(10, 1, 140);
    EXPECT_TRUE(BlankPageTest(copy, Confidence(99.0f)));
    copy.Pixels[3] = Grey(139);
    EXPECT_FALSE(BlankPageTest(copy, Confidence(99.0f)));
}

class BlankTestThroughDispatcher : public testing_support::EngineTest {
protected:
    double Test(int32_t id, RoiRect roi, float confidence) {
        double result = -1;
        EXPECT_EQ(ApplyFilter(kBlankTestCode, id, 0, roi, 0, 0, 0, confidence, 0, 0, result), OK);
        return result;
    }
};

TEST_F(BlankTestThroughDispatcher, A1BitImageCountsPaletteIndexZeroAsDarkAndIsNotChanged) {
    const int32_t id = testing_support::RegisterBitmap(10, 10, gdiplus::PixelFormat1bppIndexed);
    std::vector<uint32_t> white(100, 0xFFFFFFFFu);
    testing_support::SetPixels(id, white);
    ClearImageModified(id);
    EXPECT_EQ(Test(id, RoiRect{0, 0, 10, 10}, 99.0f), 1.0);
    white[5] = 0xFF000000u;
    testing_support::SetPixels(id, white);
    ClearImageModified(id);
    EXPECT_EQ(Test(id, RoiRect{0, 0, 10, 10}, 99.0f), 0.0);
    EXPECT_EQ(testing_support::PixelsOf(id), white);
    EXPECT_FALSE(FindImageEntry(id)->IsModified);
}

TEST_F(BlankTestThroughDispatcher, ALockFailureAnswersNotBlank) {
    const int32_t id = testing_support::RegisterBitmap(10, 10, gdiplus::PixelFormat24bppRGB);
    double result = 1.0;
    EXPECT_EQ(ApplyFilter(kBlankTestCode, id, 0, RoiRect{5, 5, 10, 10}, 0, 0, 0, 99.0, 0, 0, result), InvalidParameter);
    EXPECT_EQ(result, 0.0);
}

TEST_F(BlankTestThroughDispatcher, DespeckleAndSoftenRunThroughTheDispatcher) {
    const int32_t id = testing_support::RegisterBitmap(5, 5, gdiplus::PixelFormat24bppRGB);
    std::vector<uint32_t> speck(25, Grey(0));
    speck[12] = Grey(255);
    testing_support::SetPixels(id, speck);
    double unused = 0;
    ASSERT_EQ(ApplyFilter(kDespeckleCode, id, 0, RoiRect{0, 0, 5, 5}, 0, 0.5f, 1.0f, 0, 0, 0, unused), OK);
    EXPECT_EQ(testing_support::PixelsOf(id), std::vector<uint32_t>(25, Grey(0)));
    testing_support::SetPixels(id, speck);
    EXPECT_EQ(ApplyFilter(kSoftenCode, id, 105, RoiRect{0, 0, 5, 5}, 0, 0.5f, 1.0f, 0, 0, 0, unused), GenericError);
    EXPECT_EQ(testing_support::PixelsOf(id), speck);
}

}  // namespace
}  // namespace scanvelt::filters
