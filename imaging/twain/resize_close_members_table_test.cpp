// The members that resize and close the current image, called by dispatch ID
// on a page of 40 x 30 pixels at 300 x 200 dpi: the size asked for on each
// side, the physical size kept (so each resolution scales by its own side),
// and the image gone once closed.
#include <gtest/gtest.h>

#include "imaging/engine/image_queries.h"
#include "imaging/twain/testing/twain_tables.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt::testing {
namespace {

using namespace com;

const ImageRow kResizeCloseRows[] = {
    // Twice as wide, half as high: 600 dpi across, 100 dpi down; the same ID,
    // pixel format and description.
    {"ResizeImage", {int32_t{80}, int32_t{15}, int32_t{5}},
     [](const ImageEffect& e) {
         EXPECT_EQ(e.result.lVal, 0);
         EXPECT_EQ(e.status, 0);
         EXPECT_EQ(e.after, e.before);
         EXPECT_EQ(testing_support::SizeOf(e.after), (std::pair<int32_t, int32_t>{80, 15}));
         EXPECT_EQ(PixelFormatOf(e.after), gdiplus::PixelFormat24bppRGB);
         testing_support::ExpectPageMetadata(e.after, 600.0f, 100.0f);
     }},
    // A width of 0 is refused and the page stays as it was.
    {"ResizeImage", {int32_t{0}, int32_t{15}, int32_t{5}},
     [](const ImageEffect& e) {
         EXPECT_NE(e.result.lVal, 0);
         EXPECT_EQ(e.status, e.result.lVal);
         EXPECT_EQ(e.after, e.before);
         EXPECT_EQ(testing_support::SizeOf(e.after), (std::pair<int32_t, int32_t>{40, 30}));
         EXPECT_EQ(PixelAt(e.after, 39, 29), PageAt(39, 29));
         testing_support::ExpectPageMetadata(e.after);
     }},
    // The current image is released and no longer current.
    {"CloseNativeImage", {},
     [](const ImageEffect& e) {
         EXPECT_EQ(e.result.lVal, 0);
         EXPECT_EQ(e.status, 0);
         EXPECT_EQ(e.after, 0);
         EXPECT_EQ(NativeBitmapOf(e.before), nullptr);
     }},
};
const bool kResizeCloseRowsRegistered = RegisterMemberTable("_Twain", kResizeCloseRows);

class ResizeCloseTable : public ImageMemberTable {};

TEST_F(ResizeCloseTable, EachMemberResizesOrClosesTheCurrentImage) {
    ASSERT_TRUE(kResizeCloseRowsRegistered);
    for (const ImageRow& row : kResizeCloseRows) run(row);
}

// Without a current image CloseNativeImage answers the last status and stores nothing.
TEST_F(ResizeCloseTable, CloseNativeImageWithoutAnImageAnswersTheLastStatus) {
    static_cast<TwainObject*>(twain)->control().setLastStatus(Aborted);
    EXPECT_EQ(call("CloseNativeImage").lVal, Aborted);
    EXPECT_EQ(call("GetStat").lVal, Aborted);
}

}  // namespace
}  // namespace scanvelt::testing
