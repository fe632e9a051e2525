// The context menu's items and actions, the keys the host sees, and the
// wheel turned into keypad plus and minus.
#include <gtest/gtest.h>

#include "imaging/viewer/testing/viewer_fixture.h"
#include "platform/win/text_encoding.h"

namespace scanvelt::testing {
namespace {

using namespace com;

constexpr DISPID kKeyPress = 11, kKeyUp = 12, kKeyDown = 13, kClickMenu = 21, kWheel = 24;
constexpr int32_t kKeyAdd = 107, kKeySubtract = 109;

class ViewerKeys : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        show(400, 300);
        image = makeImage(1000, 800, [](int32_t, int32_t) { return 0xFF808080u; });
        ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
        events.events.clear();
    }
    void TearDown() override {
        ReleaseImage(image);
        ViewerFixture::TearDown();
    }
    ViewerControl& control() { return static_cast<ViewerObject*>(static_cast<DispatchControl*>(viewer))->control(); }
    // Chooses a menu item as the user would: right press, choice, release.
    void choose(int32_t item) {
        site.menuChoice = item;
        surface->MouseDown(kControlButtonRight, 0, 200, 150);
        surface->MouseUp(kControlButtonRight, 0, 200, 150);
        site.menuChoice = 0;
    }
    double zoom() { return get("ZOOM").dblVal; }
    int32_t image = 0;
};

TEST_F(ViewerKeys, MenuItemsAreAddressedByIndexOneToThirtyEight) {
    const std::string rotateFlip270 = control().menuItem(15).caption;
    EXPECT_EQ(rotateFlip270, "RotateFlip 270\u00b0 ");
    for (int32_t index : {0, 39, -1}) {
        call("SetItemMenuCaption", {MakeI4(index), MakeBstrUtf8("X")});
        call("SetItemMenuEnabled", {MakeI4(index), MakeBool(false)});
    }
    for (int32_t i = 1; i <= 38; ++i) EXPECT_NE(control().menuItem(i).caption, "X") << i;
    call("SetItemMenuCaption", {MakeI4(15), MakeBstrUtf8("Turn")});
    call("SetItemMenuEnabled", {MakeI4(12), MakeBool(false)});
    EXPECT_EQ(control().menuItem(15).caption, "Turn");
    EXPECT_FALSE(control().menuItem(12).enabled);
    choose(0);  // the menu the host shows carries the changes
    ASSERT_EQ(site.menuShown.size(), 39u);
    EXPECT_EQ(site.menuShown[14].command, 15);
    EXPECT_EQ(site.menuShown[11].flags & kControlMenuDisabled, kControlMenuDisabled);
    EXPECT_EQ(site.menuShown[8].parent, 7);  // "Rotate 90°" sits in "Rotations - Flips"
}

TEST_F(ViewerKeys, EachChosenItemActsThenRaisesClickMenu) {
    struct Case { int32_t item; const char* property; int32_t expected; };
    const Case cases[] = {
        {30, "MouseMode", 1}, {31, "MouseMode", 3}, {28, "MouseMode", 0}, {29, "MouseMode", 2},
        {23, "ZoomMode", 2}, {25, "ZoomMode", 3}, {21, "ZoomMode", 1},
        {35, "ViewerQuality", 1}, {38, "ViewerQuality", 4},
    };
    for (const Case& c : cases) {
        events.events.clear();
        choose(c.item);
        EXPECT_EQ(get(c.property).lVal, c.expected) << c.item;
        // The menu runs inside the press: its event comes before the release's.
        ASSERT_GE(events.events.size(), 3u) << c.item;
        EXPECT_EQ(events.events.front(), 17) << c.item;
        EXPECT_EQ(events.events.end()[-2], kClickMenu) << c.item;
        EXPECT_EQ(events.events.back(), 18) << c.item;
    }
}

TEST_F(ViewerKeys, ACheckedZoomItemDoesNotZoomAgainButIsAnnounced) {
    ASSERT_EQ(get("ZoomMode").lVal, 1);
    events.events.clear();
    choose(21);  // "Zoom 100%" while at 100 %
    EXPECT_EQ(events.events, (std::vector<DISPID>{17, kClickMenu, 18}));
}

TEST_F(ViewerKeys, KeypadPlusAndMinusActLikeTheWheelOnlyWhenItIsOn) {
    const double start = zoom();
    surface->KeyDown(kKeyAdd, 0);
    surface->KeyUp(kKeyAdd, 0);
    EXPECT_GT(zoom(), start);
    EXPECT_EQ(events.events.front(), kKeyDown);
    EXPECT_NE(std::find(events.events.begin(), events.events.end(), kWheel), events.events.end());
    surface->KeyDown(kKeySubtract, 0);
    surface->KeyUp(kKeySubtract, 0);
    EXPECT_DOUBLE_EQ(zoom(), start);

    put("EnableMouseWheel", MakeBool(false));
    events.events.clear();
    surface->KeyDown(kKeyAdd, 0);
    surface->KeyPress('+');
    surface->KeyUp(kKeyAdd, 0);
    surface->MouseWheel(120, 0, 200, 150);
    EXPECT_DOUBLE_EQ(zoom(), start);
    EXPECT_EQ(events.events, (std::vector<DISPID>{kKeyDown, kKeyPress, kKeyUp}));

    // On again: the wheel is taken once more.
    put("EnableMouseWheel", MakeBool(true));
    surface->MouseWheel(120, 0, 200, 150);
    EXPECT_GT(zoom(), start);
}

TEST_F(ViewerKeys, TheWheelStepsByModeAndWaitsForAHeldButton) {
    const double start = zoom();
    surface->MouseWheel(120, 0, 200, 150);
    EXPECT_GT(zoom(), start);
    surface->MouseWheel(-120, 0, 200, 150);
    EXPECT_DOUBLE_EQ(zoom(), start);

    // A notch while a button is held over the control is not translated.
    events.events.clear();
    surface->MouseDown(kControlButtonLeft, 0, 200, 150);
    surface->MouseWheel(120, 0, 200, 150);
    surface->MouseUp(kControlButtonLeft, 0, 200, 150);
    EXPECT_DOUBLE_EQ(zoom(), start);
    EXPECT_EQ(events.events, (std::vector<DISPID>{17, 18, 15}));

    put("MouseWheelMode", MakeI4(1));
    put("ContinuousViewMode", MakeBool(false));
    const int32_t v = callLong("GetVScrollBarPosition"), large = get("ScrollLargeChange").iVal;
    const int32_t vMax = callLong("GetVScrollBarMaxPosition");
    surface->MouseWheel(-120, 0, 200, 150);
    EXPECT_EQ(callLong("GetVScrollBarPosition"), std::min(v + large, vMax));
    for (int i = 0; i < 40; ++i) surface->MouseWheel(120, 0, 200, 150);
    EXPECT_EQ(callLong("GetVScrollBarPosition"), 0);
}

}  // namespace
}  // namespace scanvelt::testing
