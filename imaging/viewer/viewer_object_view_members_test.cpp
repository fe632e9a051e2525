// The view members of _MvViewer that turn the image and measure it, called
// by dispatch ID on an image twice as wide as high, red in its left half and
// blue in its right, at 96 x 72 dpi: each turn leaves its own size and puts
// the halves where it must, and each measure reads its own side.
#include <gtest/gtest.h>

#include "imaging/viewer/testing/viewer_tables.h"

namespace scanvelt::testing {
namespace {

using namespace com;

constexpr uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu;

uint32_t imagePixel(ViewerTable& t, int32_t x, int32_t y) {
    const gdiplus::Bitmap* bitmap = NativeBitmapOf(t.image);
    uint32_t color = 0;
    if (!bitmap || bitmap->GetPixel(x, y, color) != gdiplus::Ok) return 0;
    return color;
}

// The turned image is `width` x `height`, with `first` at the middle of its
// first half (left or top) and `second` at the middle of the other.
void expectTurned(ViewerTable& t, const VARIANT& r, int32_t width, int32_t height, uint32_t first, uint32_t second) {
    EXPECT_EQ(r.lVal, 0);
    EXPECT_EQ(t.get("ImageWidth").lVal, width);
    EXPECT_EQ(t.get("ImageHeight").lVal, height);
    if (width > height) {
        EXPECT_EQ(imagePixel(t, width / 4, height / 2), first);
        EXPECT_EQ(imagePixel(t, 3 * width / 4, height / 2), second);
    } else {
        EXPECT_EQ(imagePixel(t, width / 2, height / 4), first);
        EXPECT_EQ(imagePixel(t, width / 2, 3 * height / 4), second);
    }
}

const ViewerRow kViewRows[] = {
    {"Rotate90", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) { expectTurned(t, r, 600, 1200, kRed, kBlue); }},
    {"Rotate180", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) { expectTurned(t, r, 1200, 600, kBlue, kRed); }},
    {"Rotate270", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) { expectTurned(t, r, 600, 1200, kBlue, kRed); }},
    {"FlipX", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) { expectTurned(t, r, 1200, 600, kBlue, kRed); }},
    {"FlipX90", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) { expectTurned(t, r, 600, 1200, kRed, kBlue); }},
    {"FlipX180", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) { expectTurned(t, r, 1200, 600, kRed, kBlue); }},
    {"FlipX270", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) { expectTurned(t, r, 600, 1200, kBlue, kRed); }},
    // 1200 pixels at 96 dpi across, 600 at 72 dpi down.
    {"GetWidthMM", kMethod, {}, nullptr,
     [](ViewerTable&, const VARIANT& r) { EXPECT_NEAR(r.fltVal, 1200 / 96.0 * 25.4, 1e-3); }},
    {"GetHeightMM", kMethod, {}, nullptr,
     [](ViewerTable&, const VARIANT& r) { EXPECT_NEAR(r.fltVal, 600 / 72.0 * 25.4, 1e-3); }},
    {"GetTotalFrame", kMethod, {}, nullptr, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 1); }},
};
const bool kViewRowsRegistered = RegisterMemberTable("_MvViewer", kViewRows);

class ViewerViewMembers : public ViewerTable {};

TEST_F(ViewerViewMembers, EachTurnAndMeasureActsOnItsOwnSide) {
    ASSERT_TRUE(kViewRowsRegistered);
    for (const ViewerRow& row : kViewRows) {
        // Every row starts from the image as made.
        TearDown();
        SetUp();
        run(row);
    }
}

}  // namespace
}  // namespace scanvelt::testing
