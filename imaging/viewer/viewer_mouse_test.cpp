// The mouse modes: the selection outline drawn, resized and moved by the
// mouse, the pan drag, the auto zoom, and the mapped mouse position.
#include <gtest/gtest.h>

#include "imaging/viewer/testing/viewer_fixture.h"

namespace scanvelt::testing {
namespace {

using namespace com;

constexpr DISPID kMouseDown = 17, kMouseMove = 14, kMouseUp = 18, kClick = 15;

class ViewerMouse : public ViewerFixture {
protected:
    void load(int32_t width, int32_t height) {
        image = makeImage(width, height, [](int32_t, int32_t) { return 0xFF808080u; });
        ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
        left = callLong("GetImageLeft");
        top = callLong("GetImageTop");
        events.events.clear();
    }
    void TearDown() override {
        if (image) ReleaseImage(image);
        ViewerFixture::TearDown();
    }
    ViewerControl& control() { return static_cast<ViewerObject*>(static_cast<DispatchControl*>(viewer))->control(); }
    void drag(int32_t x0, int32_t y0, int32_t x1, int32_t y1, bool release = true) {
        surface->MouseDown(kControlButtonLeft, 0, x0, y0);
        surface->MouseMove(kControlButtonLeft, 0, x1, y1);
        if (release) surface->MouseUp(kControlButtonLeft, 0, x1, y1);
    }
    void expectOutline(int32_t l, int32_t t, int32_t w, int32_t h, const char* what) {
        const SelectionOutline& o = control().selectionOutline();
        EXPECT_EQ(o.left, l) << what;
        EXPECT_EQ(o.top, t) << what;
        EXPECT_EQ(o.width, w) << what;
        EXPECT_EQ(o.height, h) << what;
    }
    int32_t image = 0;
    int32_t left = 0, top = 0;  // the image's top-left corner on the face
};

// A 200 x 100 image in the middle of a 400 x 300 face at zoom 1.
class ViewerSelection : public ViewerMouse {
protected:
    void SetUp() override {
        ViewerMouse::SetUp();
        show(400, 300);
        load(200, 100);
        put("MouseMode", MakeI4(1));
    }
};

TEST_F(ViewerSelection, DrawingFollowsThePointerAndStopsAtTheImage) {
    ASSERT_EQ(left, 100);
    ASSERT_EQ(top, 100);
    struct Case { const char* what; int32_t x0, y0, x1, y1; int32_t l, t, w, h; };
    const Case cases[] = {
        {"right and down", 120, 110, 170, 150, 120, 110, 50, 40},
        {"left and up", 170, 150, 120, 110, 120, 110, 50, 40},
        {"past the right and bottom edge", 250, 150, 390, 290, 250, 150, 50, 50},
        {"past the left and top edge", 150, 150, 10, 20, 100, 100, 50, 50},
    };
    for (const Case& c : cases) {
        events.events.clear();
        drag(c.x0, c.y0, c.x1, c.y1);
        expectOutline(c.l, c.t, c.w, c.h, c.what);
        EXPECT_TRUE(control().selectionDrawn()) << c.what;
        EXPECT_EQ(events.events, (std::vector<DISPID>{kMouseDown, kMouseMove, kMouseUp, kClick})) << c.what;
        put("MouseMode", MakeI4(2));  // clears the outline
        EXPECT_FALSE(control().selectionDrawn()) << c.what;
        put("MouseMode", MakeI4(1));
    }
}

TEST_F(ViewerSelection, APressOutsideTheImageRemovesTheOutlineAndDrawsNothing) {
    drag(120, 110, 170, 150);
    ASSERT_TRUE(control().selectionDrawn());
    drag(50, 150, 150, 180);
    EXPECT_FALSE(control().selectionDrawn());
    EXPECT_EQ(control().selectionOutline().width, 1);
}

TEST_F(ViewerSelection, HoverFindsTheHandleWithinFourPixels) {
    drag(150, 130, 200, 170);  // outline 150,130 50 x 40
    struct Case { int32_t x, y; int32_t handle; int32_t pointer; };
    const Case cases[] = {
        {150, 130, 1, 8}, {146, 126, 1, 8}, {200, 130, 2, 6}, {150, 170, 3, 6}, {204, 174, 4, 8},
        {150, 150, 5, 9}, {200, 150, 6, 9}, {175, 170, 7, 7}, {175, 130, 8, 7}, {175, 150, 9, 15},
    };
    for (const Case& c : cases) {
        surface->MouseMove(0, 0, c.x, c.y);
        EXPECT_EQ(control().activeHandle(), c.handle) << c.x << "," << c.y;
        EXPECT_EQ(site.cursor, c.pointer) << c.x << "," << c.y;
    }
    surface->MouseMove(0, 0, 145, 150);  // five pixels out: the mode's cross comes back
    EXPECT_EQ(site.cursor, 2);
}

TEST_F(ViewerSelection, EditingAcceptsOnlyOutlinesInsideTheImage) {
    struct Step { const char* what; int32_t grabX, grabY, toX, toY; int32_t l, t, w, h; };
    const Step steps[] = {
        {"bottom-right corner grows", 200, 170, 220, 180, 150, 130, 70, 50},
        {"top-left corner past the other side is dropped", 150, 130, 230, 140, 150, 130, 70, 50},
        {"body moves", 180, 150, 160, 140, 130, 120, 70, 50},
        {"body past the image's left edge is dropped", 160, 140, 120, 140, 130, 120, 70, 50},
        {"left edge shrinks", 130, 140, 140, 140, 140, 120, 60, 50},
        {"bottom edge below the image is dropped", 170, 170, 170, 260, 140, 120, 60, 50},
    };
    drag(150, 130, 200, 170);
    for (const Step& s : steps) {
        surface->MouseMove(0, 0, s.grabX, s.grabY);  // hover picks the handle
        drag(s.grabX, s.grabY, s.toX, s.toY);
        expectOutline(s.l, s.t, s.w, s.h, s.what);
    }
}

TEST_F(ViewerSelection, WithoutEditingAPressInsideStartsANewOutline) {
    put("RectIsEditable", MakeBool(false));
    drag(150, 130, 200, 170);
    drag(170, 150, 180, 155);
    expectOutline(170, 150, 10, 5, "new outline");
}

TEST_F(ViewerSelection, AutoZoomZoomsToTheOutlineOnReleaseAndRemovesIt) {
    put("MouseMode", MakeI4(3));
    drag(150, 120, 200, 145);  // image pixels 50,20 50 x 25
    // The 50 x 25 area fills the 400 x 300 face: zoom 8 by the width.
    EXPECT_DOUBLE_EQ(get("ZOOM").dblVal, 8.0);
    EXPECT_FALSE(control().selectionDrawn());
}

TEST_F(ViewerSelection, PressAndMoveUseThePositionTheHostLeftInTheEvent) {
    // The arguments come last to first: y, X, shift, Button.
    events.onEvent = [](DISPID id, DISPPARAMS& p) {
        if (id == kMouseDown) *p.rgvarg[1].pfltVal = 150;
        if (id == kMouseMove) *p.rgvarg[0].pfltVal = 170;
        if (id == kMouseUp) *p.rgvarg[1].pfltVal = 0;  // too late: the release is handled
    };
    drag(120, 110, 190, 120);
    events.onEvent = nullptr;
    expectOutline(150, 110, 40, 60, "host's position");
}

TEST_F(ViewerSelection, AHostThatTurnsThePressIntoTheRightButtonGetsTheMenu) {
    events.onEvent = [](DISPID id, DISPPARAMS& p) {
        if (id == kMouseDown) *p.rgvarg[3].piVal = kControlButtonRight;
    };
    drag(120, 110, 190, 150);
    events.onEvent = nullptr;
    EXPECT_EQ(site.menuShown.size(), 39u);
    EXPECT_FALSE(control().selectionDrawn());
}

TEST_F(ViewerSelection, TheMousePositionIsMappedToImagePixelsAndClamped) {
    struct Case { int32_t x, y; int32_t ix, iy; };
    const Case cases[] = {{150, 120, 50, 20}, {100, 100, 0, 0}, {10, 10, 0, 0}, {390, 290, 199, 99}};
    for (const Case& c : cases) {
        surface->MouseMove(0, 0, c.x, c.y);
        EXPECT_EQ(callLong("GetMouseX"), c.ix) << c.x;
        EXPECT_EQ(callLong("GetMouseY"), c.iy) << c.y;
    }
}

TEST_F(ViewerSelection, MouseModeTakesOnlyTheFourModesButAlwaysAnnounces) {
    drag(150, 130, 200, 170);
    site.changed.clear();
    put("MouseMode", MakeI4(7));
    EXPECT_EQ(get("MouseMode").lVal, 1);
    EXPECT_TRUE(control().selectionDrawn());
    EXPECT_EQ(site.changed.size(), 1u);
    put("MouseMode", MakeI4(3));  // keeps the outline
    EXPECT_TRUE(control().selectionDrawn());
    put("MouseMode", MakeI4(0));
    EXPECT_FALSE(control().selectionDrawn());
    EXPECT_EQ(site.changed.size(), 3u);
}

// A 1000 x 800 image in a 400 x 300 face: both bars, the view scrolls.
class ViewerPan : public ViewerMouse {
protected:
    void SetUp() override {
        ViewerMouse::SetUp();
        show(400, 300);
        load(1000, 800);
    }
};

TEST_F(ViewerPan, DraggingMovesTheImageWithinTheScrollRange) {
    const int32_t hMax = callLong("GetHScrollBarMaxPosition"), vMax = callLong("GetVScrollBarMaxPosition");
    drag(200, 150, 170, 160);  // 30 left, 10 down: the view goes right and up
    EXPECT_EQ(callLong("GetImageLeft"), left - 30);
    EXPECT_EQ(callLong("GetImageTop"), top + 10);
    EXPECT_EQ(callLong("GetHScrollBarPosition"), -(left - 30));
    EXPECT_EQ(callLong("GetVScrollBarPosition"), -(top + 10));
    // Far past the range on one axis: that axis stays, the other moves.
    const int32_t l = callLong("GetImageLeft"), t = callLong("GetImageTop");
    drag(200, 150, 200 + hMax + 50, 140);
    EXPECT_EQ(callLong("GetImageLeft"), l);
    EXPECT_EQ(callLong("GetImageTop"), t - 10);
    EXPECT_LE(-callLong("GetImageTop"), vMax);
}

TEST_F(ViewerPan, TheRightButtonOpensTheMenuUnlessItDrivesTheMode) {
    site.menuChoice = 30;  // "Area Selection Tool"
    surface->MouseDown(kControlButtonRight, 0, 200, 150);
    surface->MouseUp(kControlButtonRight, 0, 200, 150);
    EXPECT_EQ(site.menuShown.size(), 39u);  // 38 items and the separator
    EXPECT_EQ(get("MouseMode").lVal, 1);
    EXPECT_EQ(events.events, (std::vector<DISPID>{kMouseDown, 21, kMouseUp}));

    site.menuShown.clear();
    put("MouseMode", MakeI4(2));
    put("MouseButtonForMouseMode", MakeI4(2));
    surface->MouseDown(kControlButtonRight, 0, 200, 150);
    surface->MouseMove(kControlButtonRight, 0, 180, 150);
    surface->MouseUp(kControlButtonRight, 0, 180, 150);
    EXPECT_TRUE(site.menuShown.empty());
    EXPECT_EQ(callLong("GetImageLeft"), left - 20);
}

}  // namespace
}  // namespace scanvelt::testing
