// Showing images: the events of a first display, the pixels drawn, the fit of
// a page per placement, the quality pass.
#include <gtest/gtest.h>

#include "imaging/viewer/testing/viewer_fixture.h"

namespace scanvelt::testing {
namespace {

using namespace com;

using ViewerDisplay = ViewerFixture;

constexpr uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;

TEST_F(ViewerDisplay, FirstImageRaisesItsEventsInOrder) {
    show(200, 150);
    int32_t image = makeImage(20, 10, [](int32_t, int32_t) { return 0xFF336699u; });
    EXPECT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
    EXPECT_EQ(events.events, (std::vector<DISPID>{22, 8, 10, 20, 9, 5, 2}));
    EXPECT_EQ(callLong("GetNativeImage"), image);
    // The same image again: nothing new to announce but the drawing.
    events.events.clear();
    EXPECT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
    EXPECT_EQ(events.events, (std::vector<DISPID>{10, 20}));
    ReleaseImage(image);
}

TEST_F(ViewerDisplay, CheckerAtZoomFourNearestGivesExactBlocks) {
    show(40, 40);
    put("ViewerQuality", MakeI4(0));
    int32_t image = makeImage(2, 2, [](int32_t x, int32_t y) { return (x + y) % 2 ? kWhite : kBlack; });
    ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
    ASSERT_EQ(callLong("SetZoom", {MakeR4(400)}), 0);
    EXPECT_EQ(get("ZOOM").dblVal, 4.0);
    // 8 x 8 pixels in the middle of the 40 x 40 face.
    EXPECT_EQ(callLong("GetImageLeft"), 16);
    EXPECT_EQ(callLong("GetImageTop"), 16);
    for (int32_t y = 0; y < 40; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
            uint32_t expected = 0xFF000000;  // the back colour around it
            if (x >= 16 && x < 24 && y >= 16 && y < 24) expected = ((x - 16) / 4 + (y - 16) / 4) % 2 ? kWhite : kBlack;
            ASSERT_EQ(pixel(x, y), expected) << x << "," << y;
        }
    }
    ReleaseImage(image);
}

TEST_F(ViewerDisplay, BackColourSurroundsTheImage) {
    put("BackColor", MakeI4(0x0000FF));  // red as a Windows colour
    show(30, 30);
    int32_t image = makeImage(10, 10, [](int32_t, int32_t) { return kWhite; });
    ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
    EXPECT_EQ(pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(pixel(15, 15), kWhite);
    ReleaseImage(image);
}

// A 2480 x 3508 page (A4 at 300 dpi) fitted into 400 x 300: zoom 300 / 3508,
// shown 212 x 300 pixels, placed by ImagePosition across the width.
TEST_F(ViewerDisplay, FitOfAnA4PagePerPlacement) {
    int32_t page = makeImage(2480, 3508, [](int32_t, int32_t) { return kWhite; }, 300, 300);
    struct Case { int32_t position; int32_t left; int32_t top; };
    const Case cases[] = {{0, 0, 0}, {1, 188, 0}, {2, 94, 0}, {4, 0, 0}, {5, 188, 0},
                          {6, 94, 0}, {7, 0, 0}, {8, 188, 0}, {9, 94, 0}};
    show(400, 300);
    put("ViewerQuality", MakeI4(0));
    put("ZoomMode", MakeI4(2));
    ASSERT_EQ(callLong("SetNativeImage", {MakeI4(page)}), 0);
    for (const Case& c : cases) {
        put("ImagePosition", MakeI4(c.position));
        EXPECT_DOUBLE_EQ(get("ZOOM").dblVal, 300.0 / 3508) << c.position;
        EXPECT_EQ(callLong("GetImageLeft"), c.left) << c.position;
        EXPECT_EQ(callLong("GetImageTop"), c.top) << c.position;
        EXPECT_EQ(get("HScrollVisible").boolVal, VARIANT_FALSE);
        EXPECT_EQ(get("VScrollVisible").boolVal, VARIANT_FALSE);
        // The page is drawn where the placement puts it, the back colour beside it.
        EXPECT_EQ(pixel(c.left + 106, 150), kWhite) << c.position;
        EXPECT_EQ(pixel(c.left == 0 ? 300 : c.left - 1, 150), 0xFF000000u) << c.position;
    }
    ReleaseImage(page);
}

// Fitted to the width, the page scrolls down: the vertical bar starts where
// ImageAlignment says.
TEST_F(ViewerDisplay, WidthFitOfAnA4PageScrollsByAlignment) {
    int32_t page = makeImage(2480, 3508, [](int32_t, int32_t) { return kWhite; }, 300, 300);
    struct Case { int32_t alignment; int32_t top; };
    const Case cases[] = {{4, 0}, {5, 0}, {6, 0}, {0, 121}, {1, 121}, {2, 121}, {7, 242}, {8, 242}, {9, 242}};
    put("ViewerQuality", MakeI4(0));
    for (const Case& c : cases) {
        put("ImageAlignment", MakeI4(c.alignment));
        show(400, 300);
        put("ZoomMode", MakeI4(3));
        ASSERT_EQ(callLong("SetNativeImage", {MakeI4(page)}), 0);
        EXPECT_DOUBLE_EQ(get("ZOOM").dblVal, 383.0 / 2480) << c.alignment;  // the width left of the bar
        EXPECT_EQ(callLong("GetVScrollBarMaxPosition"), 242);
        EXPECT_EQ(callLong("GetHScrollBarMaxPosition"), 0);
        EXPECT_EQ(callLong("GetVScrollBarPosition"), c.top) << c.alignment;
        EXPECT_EQ(callLong("GetImageTop"), -c.top) << c.alignment;
        EXPECT_EQ(callLong("GetImageLeft"), 0);
        call("ImageClosed");
        put("ZoomMode", MakeI4(1));
    }
    ReleaseImage(page);
}

TEST_F(ViewerDisplay, AutomaticQualityDrawsFastThenHighAfterTheTimer) {
    show(100, 100);
    put("ViewerQualityAuto", MakeBool(true));
    int32_t image = makeImage(50, 50, [](int32_t x, int32_t) { return x < 25 ? kBlack : kWhite; });
    ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
    ASSERT_EQ(callLong("SetZoom", {MakeR4(150)}), 0);
    EXPECT_EQ(get("ViewerQuality").lVal, 0);
    ASSERT_EQ(site.timers.count(kQualityTimerId), 1u);
    EXPECT_EQ(site.timers[kQualityTimerId], 1000u);
    events.events.clear();
    EXPECT_EQ(site.pump(*surface), 1);
    EXPECT_EQ(get("ViewerQuality").lVal, 4);
    EXPECT_EQ(events.events, (std::vector<DISPID>{10, 20}));
    // The second pass does not start the timer again.
    EXPECT_EQ(site.timers.count(kQualityTimerId), 0u);
    ReleaseImage(image);
}

TEST_F(ViewerDisplay, LockedControlDrawsNothingButAnnouncesTheNewImage) {
    show(30, 30);
    put("LockControl", MakeBool(true));
    int32_t image = makeImage(10, 10, [](int32_t, int32_t) { return kWhite; });
    ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
    EXPECT_EQ(events.events, (std::vector<DISPID>{22, 8, 9, 5, 2}));
    EXPECT_EQ(pixel(15, 15), 0xFF000000u);
    ReleaseImage(image);
}

TEST_F(ViewerDisplay, PixelAspectShortensTheShownHeight) {
    show(300, 300);
    int32_t image = makeImage(100, 100, [](int32_t, int32_t) { return kWhite; }, 100, 200);
    ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
    auto* object = static_cast<ViewerObject*>(static_cast<com::DispatchControl*>(viewer));
    EXPECT_EQ(object->control().displayWidth(), 100);
    EXPECT_EQ(object->control().displayHeight(), 50);
    int32_t x = 0, y = 0;
    object->control().CoordObjectToImage(150, 150, x, y);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(y, 50);
    ReleaseImage(image);
}

}  // namespace
}  // namespace scanvelt::testing
