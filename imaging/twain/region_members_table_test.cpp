// The members that choose which pixels the next filter works on (the region
// of interest) and the one that gives the page another size, called by
// dispatch ID on a page of 40 x 30 pixels at 300 x 200 dpi whose every pixel
// differs: a filter after SetROI changes that rectangle only, after ResetROI
// the whole page; a resize keeps the page's content in place and its printed
// size.
#include <gtest/gtest.h>

#include "imaging/twain/testing/twain_tables.h"

namespace scanvelt::testing {
namespace {

using namespace com;

bool negated(int32_t image, int32_t x, int32_t y) {
    return (PixelAt(image, x, y) & 0xFFFFFF) == (~PageAt(x, y) & 0xFFFFFF);
}

class RegionTable : public TwainTable {
protected:
    void SetUp() override {
        page = testing_support::MakePage(40, 30);
        ASSERT_NE(page, 0);
        static_cast<TwainObject*>(twain)->control().setCurrentImage(page);
    }
    void TearDown() override {
        static_cast<TwainObject*>(twain)->control().setCurrentImage(0);
        ReleaseImage(page);
    }
    void negate() {
        VARIANT r = call("FxNegative");
        EXPECT_EQ(r.lVal, 0);
    }
    int32_t page = 0;
};

// 20 x 10 pixels from (5, 3): a width and a height of their own, away from the corner.
const struct {
    const char* member;
    std::vector<RowArgument> args;
} kRegionRows[] = {
    {"SetROI", {int32_t{5}, int32_t{3}, int32_t{20}, int32_t{10}}},
    {"ResetROI", {}},
};
const bool kRegionRowsRegistered = RegisterMemberTable("_Twain", kRegionRows);

TEST_F(RegionTable, AFilterChangesTheRegionOnlyUntilItIsReset) {
    ASSERT_TRUE(kRegionRowsRegistered);
    std::vector<VARIANT> args;
    for (const auto& a : kRegionRows[0].args) args.push_back(VariantOfArgument(a));
    VARIANT r = call("SetROI", std::move(args));
    VariantClear(&r);
    negate();
    for (const auto [x, y] : {std::pair{5, 3}, std::pair{24, 12}, std::pair{10, 7}})
        EXPECT_TRUE(negated(page, x, y)) << "inside " << x << "," << y;
    for (const auto [x, y] : {std::pair{4, 3}, std::pair{25, 12}, std::pair{5, 2}, std::pair{24, 13}, std::pair{0, 0}})
        EXPECT_EQ(PixelAt(page, x, y), PageAt(x, y)) << "outside " << x << "," << y;

    // Reset: the next filter takes the whole page, turning the region back.
    r = call("ResetROI");
    VariantClear(&r);
    negate();
    EXPECT_EQ(PixelAt(page, 10, 7), PageAt(10, 7));
    EXPECT_TRUE(negated(page, 0, 0));
    EXPECT_TRUE(negated(page, 39, 29));
}

// ---- ResizeImage -------------------------------------------------------------------

struct ResizeRow {
    const char* member;
    std::vector<RowArgument> args;
    int32_t width, height;
};
// Nearest neighbour (5): every pixel of the result is a pixel of the page.
const ResizeRow kResizeRows[] = {
    {"ResizeImage", {int32_t{80}, int32_t{15}, int32_t{5}}, 80, 15},
    {"ResizeImage", {int32_t{20}, int32_t{60}, int32_t{5}}, 20, 60},
};
const bool kResizeRowsRegistered = RegisterMemberTable("_Twain", kResizeRows);

TEST_F(RegionTable, AResizeGivesItsOwnWidthAndHeightWithTheContentInPlace) {
    ASSERT_TRUE(kResizeRowsRegistered);
    for (const ResizeRow& row : kResizeRows) {
        SCOPED_TRACE(std::to_string(row.width) + " x " + std::to_string(row.height));
        TearDown();
        SetUp();
        std::vector<VARIANT> args;
        for (const auto& a : row.args) args.push_back(VariantOfArgument(a));
        VARIANT r = call(row.member, std::move(args));
        EXPECT_EQ(r.lVal, 0);
        EXPECT_EQ(call("GetNativeImage").lVal, page) << "the page keeps its ID";
        ASSERT_EQ(testing_support::SizeOf(page), (std::pair<int32_t, int32_t>{row.width, row.height}));
        // The printed size stays: each resolution follows its own side's scale.
        EXPECT_EQ(testing_support::ResolutionOf(page),
                  (std::pair<float, float>{300.0f * row.width / 40, 200.0f * row.height / 30}));
        // The near corner comes from the page's near corner, the far one from next to its far one.
        EXPECT_EQ(PixelAt(page, 0, 0), PageAt(0, 0));
        const uint32_t far = PixelAt(page, row.width - 1, row.height - 1);
        bool nearTheFarCorner = false;
        for (int32_t y : {28, 29})
            for (int32_t x : {38, 39}) nearTheFarCorner = nearTheFarCorner || far == PageAt(x, y);
        EXPECT_TRUE(nearTheFarCorner) << std::hex << far;
    }
}

}  // namespace
}  // namespace scanvelt::testing
