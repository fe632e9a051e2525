// The scroll bars: their ranges, what each press on them does to the view,
// and the position members.
#include <gtest/gtest.h>

#include "imaging/viewer/testing/viewer_fixture.h"

namespace scanvelt::testing {
namespace {

using namespace com;

// A 1000 x 800 image at zoom 1 in a 400 x 300 face: both bars show, the
// horizontal one 383 wide at the bottom, the vertical one 283 high.
class ViewerScrolling : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        show(400, 300);
        image = makeImage(1000, 800, [](int32_t x, int32_t y) {
            return 0xFF000000u | static_cast<uint32_t>((x & 0xFF) << 16) | static_cast<uint32_t>((y & 0xFF) << 8) |
                   static_cast<uint32_t>(x >> 8);
        });
        ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
        events.events.clear();
    }
    void TearDown() override {
        ReleaseImage(image);
        ViewerFixture::TearDown();
    }
    int32_t h() { return callLong("GetHScrollBarPosition"); }
    int32_t v() { return callLong("GetVScrollBarPosition"); }
    void click(int32_t x, int32_t y) {
        surface->MouseDown(kControlButtonLeft, 0, x, y);
        surface->MouseUp(kControlButtonLeft, 0, x, y);
    }
    // The view shows image pixel (x + h, y + v) at face pixel (x, y).
    void expectViewAt(int32_t hValue, int32_t vValue) {
        for (auto [x, y] : {std::pair{0, 0}, {200, 100}, {382, 282}}) {
            int32_t ix = x + hValue, iy = y + vValue;
            uint32_t expected = 0xFF000000u | static_cast<uint32_t>((ix & 0xFF) << 16) |
                                static_cast<uint32_t>((iy & 0xFF) << 8) | static_cast<uint32_t>(ix >> 8);
            EXPECT_EQ(pixel(x, y), expected) << x << "," << y;
        }
    }
    int32_t image = 0;
};

TEST_F(ViewerScrolling, RangesAndStartFollowTheAlignment) {
    EXPECT_EQ(callLong("GetHScrollBarMaxPosition"), 617);  // 1000 - 400 + 17
    EXPECT_EQ(callLong("GetVScrollBarMaxPosition"), 517);  // 800 - 300 + 17
    EXPECT_EQ(h(), 308);                                   // half of 617, halves to even
    EXPECT_EQ(v(), 258);
    EXPECT_EQ(get("HScrollVisible").boolVal, VARIANT_TRUE);
    EXPECT_EQ(get("VScrollVisible").boolVal, VARIANT_TRUE);
    expectViewAt(308, 258);
}

TEST_F(ViewerScrolling, EachPressOnABarMovesTheViewAsTheBarSays) {
    struct Action { const char* what; int32_t x, y; int32_t h, v; };
    // Horizontal bar: arrows at 0..16 and 366..382, track between; vertical
    // bar: arrows at 0..16 and 266..282.
    const Action actions[] = {
        {"right arrow", 375, 290, 309, 258},
        {"left arrow", 5, 290, 308, 258},
        {"track right of the thumb", 360, 290, 358, 258},
        {"track left of the thumb", 20, 290, 308, 258},
        {"down arrow", 390, 275, 308, 259},
        {"up arrow", 390, 5, 308, 258},
        {"track below the thumb", 390, 260, 308, 308},
        {"track above the thumb", 390, 20, 308, 258},
        {"corner", 390, 290, 308, 258},
    };
    for (const Action& a : actions) {
        events.events.clear();
        bool moves = a.h != h() || a.v != v();
        click(a.x, a.y);
        EXPECT_EQ(h(), a.h) << a.what;
        EXPECT_EQ(v(), a.v) << a.what;
        EXPECT_EQ(callLong("GetImageLeft"), -a.h) << a.what;
        EXPECT_EQ(callLong("GetImageTop"), -a.v) << a.what;
        if (moves) {
            EXPECT_EQ(events.events, (std::vector<DISPID>{10, 20, 3})) << a.what;
        } else {
            EXPECT_TRUE(events.events.empty()) << a.what;
        }
        expectViewAt(a.h, a.v);
    }
}

TEST_F(ViewerScrolling, PagesStopAtTheEnds) {
    for (int i = 0; i < 20; ++i) click(360, 290);
    EXPECT_EQ(h(), 617);
    click(375, 290);
    EXPECT_EQ(h(), 617);
    for (int i = 0; i < 20; ++i) click(20, 290);
    EXPECT_EQ(h(), 0);
    expectViewAt(0, 258);
}

TEST_F(ViewerScrolling, DraggingTheThumbFollowsThePointer) {
    const ScrollBar& bar = static_cast<ViewerObject*>(static_cast<DispatchControl*>(viewer))->control().hScroll();
    int32_t grab = bar.thumbStart() + bar.thumbLength() / 2;
    surface->MouseDown(kControlButtonLeft, 0, grab, 290);
    EXPECT_TRUE(site.captured);
    surface->MouseMove(kControlButtonLeft, 0, grab + 50, 290);
    int32_t moved = h();
    EXPECT_GT(moved, 308);
    surface->MouseMove(kControlButtonLeft, 0, 10000, 290);  // past the end
    EXPECT_EQ(h(), 617);
    surface->MouseUp(kControlButtonLeft, 0, 10000, 290);
    EXPECT_FALSE(site.captured);
    surface->MouseMove(kControlButtonLeft, 0, 0, 290);  // released: no longer follows
    EXPECT_EQ(h(), 617);
    expectViewAt(617, 258);
}

TEST_F(ViewerScrolling, PositionMembersClampAndAnnounce) {
    call("SetHScrollBarPosition", {MakeI4(-5)});
    EXPECT_EQ(h(), 0);
    call("SetHScrollBarPosition", {MakeI4(5000)});
    EXPECT_EQ(h(), 617);
    events.events.clear();
    call("SetHScrollBarPosition", {MakeI4(617)});
    EXPECT_TRUE(events.events.empty());  // no change, nothing raised
    call("SetVScrollBarPosition", {MakeI4(100)});
    EXPECT_EQ(v(), 100);
    expectViewAt(617, 100);
    events.events.clear();
    call("SetHVScrollBarPosition", {MakeI4(10), MakeI4(20)});
    // Each bar moves the offsets without drawing, then one drawing.
    EXPECT_EQ(events.events, (std::vector<DISPID>{3, 3, 10, 20, 3}));
    expectViewAt(10, 20);
    EXPECT_EQ(get("LockControl").boolVal, VARIANT_FALSE);
}

TEST_F(ViewerScrolling, LockedPositionMembersMoveWithoutDrawing) {
    put("LockControl", MakeBool(true));
    call("SetHVScrollBarPosition", {MakeI4(10), MakeI4(258)});
    EXPECT_EQ(events.events, (std::vector<DISPID>{3}));
    EXPECT_EQ(callLong("GetImageLeft"), -10);
    expectViewAt(308, 258);  // the old drawing stays
}

TEST_F(ViewerScrolling, FitHidesTheBarsUnlessForced) {
    put("ZoomMode", MakeI4(2));
    EXPECT_EQ(get("HScrollVisible").boolVal, VARIANT_FALSE);
    EXPECT_EQ(get("VScrollVisible").boolVal, VARIANT_FALSE);
    put("ForceScrollBars", MakeBool(true));
    EXPECT_EQ(get("HScrollVisible").boolVal, VARIANT_TRUE);
    EXPECT_EQ(get("VScrollVisible").boolVal, VARIANT_TRUE);
    put("VScrollVisible", MakeBool(false));  // read-only in effect
    EXPECT_EQ(get("VScrollVisible").boolVal, VARIANT_TRUE);
}

TEST_F(ViewerScrolling, CoordinatesConvertThroughTheScrolledView) {
    int32_t x = -1, y = -1;
    auto byRef = [](int32_t& target) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BYREF | VT_I4;
        v.plVal = &target;
        return v;
    };
    call("CoordObjectToImage", {MakeI4(10), MakeI4(20), byRef(x), byRef(y)});
    EXPECT_EQ(x, 318);
    EXPECT_EQ(y, 278);
    call("CoordImageToObject", {MakeI4(318), MakeI4(278), byRef(x), byRef(y)});
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
}

TEST_F(ViewerScrolling, AWideLowImageNeedsNoRoomForTheVerticalBar) {
    int32_t wide = makeImage(1000, 200, [](int32_t, int32_t) { return 0xFFFFFFFFu; });
    ASSERT_EQ(callLong("SetNativeImage", {MakeI4(wide)}), 0);
    EXPECT_EQ(callLong("GetHScrollBarMaxPosition"), 600);  // 617 less the bar's width
    EXPECT_EQ(callLong("GetVScrollBarMaxPosition"), 0);
    EXPECT_EQ(get("VScrollVisible").boolVal, VARIANT_FALSE);
    EXPECT_EQ(get("HScrollVisible").boolVal, VARIANT_TRUE);
    ReleaseImage(wide);
}

}  // namespace
}  // namespace scanvelt::testing
