// The context menu's items and actions, the keys the host sees, and the
// wheel turned into keypad plus and minus.
#include <gtest/gtest.h>

#include <optional>

#include "imaging/engine/image_loading.h"
#include "imaging/engine/testing/codec_spy_support.h"
#include "imaging/engine/testing/test_files.h"
#include "imaging/viewer/testing/viewer_fixture.h"

#include "platform/win/clipboard.h"
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
        // The menu runs inside the press: its event comes before the release's
        // (drawing events aside).
        std::vector<DISPID> input;
        for (DISPID e : events.events)
            if (e == 17 || e == 18 || e == kClickMenu) input.push_back(e);
        EXPECT_EQ(input, (std::vector<DISPID>{17, kClickMenu, 18})) << c.item;
    }
}

TEST_F(ViewerKeys, NoMenuWithoutEnableMenuAndNoInputWhileDisabled) {
    put("EnableMenu", MakeBool(false));
    choose(30);
    EXPECT_TRUE(site.menuShown.empty());
    EXPECT_EQ(get("MouseMode").lVal, 2);

    put("Enabled", MakeBool(false));
    events.events.clear();
    const double start = zoom();
    surface->MouseDown(kControlButtonLeft, 0, 200, 150);
    surface->MouseMove(kControlButtonLeft, 0, 150, 150);
    surface->MouseUp(kControlButtonLeft, 0, 150, 150);
    surface->KeyDown(kKeyAdd, 0);
    surface->KeyUp(kKeyAdd, 0);
    surface->MouseWheel(120, 0, 200, 150);
    EXPECT_TRUE(events.events.empty());
    EXPECT_DOUBLE_EQ(zoom(), start);
}

TEST_F(ViewerKeys, ScrollbarToggleAndAutomaticQualityItems) {
    ASSERT_EQ(get("ScrollBars").boolVal, VARIANT_TRUE);
    choose(16);
    EXPECT_EQ(get("ScrollBars").boolVal, VARIANT_FALSE);
    EXPECT_EQ(get("VScrollVisible").boolVal, VARIANT_FALSE);
    EXPECT_FALSE(control().menuItem(16).checked);
    choose(16);
    EXPECT_EQ(get("ScrollBars").boolVal, VARIANT_TRUE);
    EXPECT_TRUE(control().menuItem(16).checked);

    // "Automatic" flips the setting without telling the container.
    site.changed.clear();
    choose(33);
    EXPECT_EQ(get("ViewerQualityAuto").boolVal, VARIANT_TRUE);
    EXPECT_TRUE(site.changed.empty());

    // The next menu shows the quality chosen; the separator sits before "Quality Low".
    choose(36);
    choose(0);
    ASSERT_EQ(site.menuShown.size(), 39u);
    EXPECT_EQ(site.menuShown[33].flags & kControlMenuSeparator, kControlMenuSeparator);
    for (int32_t item = 33; item <= 38; ++item)
        EXPECT_EQ(site.menuShown[item < 34 ? item - 1 : item].flags & kControlMenuChecked, item == 36 ? kControlMenuChecked : 0u) << item;
}

TEST_F(ViewerKeys, TurnsAndFlipsAnnounceTheirIndex) {
    std::vector<int32_t> announced;
    events.onEvent = [&](DISPID id, DISPPARAMS& p) {
        if (id == kClickMenu) announced.push_back(*p.rgvarg[0].plVal);
    };
    const int32_t width = get("ImageWidth").lVal, height = get("ImageHeight").lVal;
    choose(9);   // "Rotate 90°": width and height change places
    EXPECT_EQ(get("ImageWidth").lVal, height);
    EXPECT_EQ(get("ImageHeight").lVal, width);
    choose(12);  // "Flip X": the size stays
    EXPECT_EQ(get("ImageWidth").lVal, height);
    events.onEvent = nullptr;
    EXPECT_EQ(announced, (std::vector<int32_t>{9, 12}));
}

TEST_F(ViewerKeys, CopyTakesTheSelectionWhenOneIsDrawnElseTheWholeImage) {
    std::optional<win::GdiBitmap> held;
    win::SetClipboardService({[] { return win::ClipboardResult::Done; }, [&](const win::GdiBitmap& bitmap) {
                                  held = bitmap;
                                  return win::ClipboardResult::Done;
                              }});
    choose(17);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->width, 1000);
    EXPECT_EQ(held->height, 800);
    held.reset();
    put("MouseMode", MakeI4(1));
    surface->MouseDown(kControlButtonLeft, 0, 100, 100);
    surface->MouseMove(kControlButtonLeft, 0, 140, 130);
    surface->MouseUp(kControlButtonLeft, 0, 140, 130);
    choose(17);
    win::SetClipboardService({});
    ASSERT_TRUE(held);
    EXPECT_EQ(held->width, 40);
    EXPECT_EQ(held->height, 30);
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
    for (int i = 0; i < 40; ++i) surface->MouseWheel(-120, 0, 200, 150);
    EXPECT_EQ(callLong("GetVScrollBarPosition"), vMax);

    // In continuous view the ends of the range do not scroll: the single page has nowhere to turn.
    put("ContinuousViewMode", MakeBool(true));
    surface->MouseWheel(-120, 0, 200, 150);
    EXPECT_EQ(callLong("GetVScrollBarPosition"), vMax);
    surface->MouseWheel(120, 0, 200, 150);
    EXPECT_EQ(callLong("GetVScrollBarPosition"), vMax - large);
}


// A wheel notch does one thing per wheel mode: zoom (0), scroll (1) or turn
// the page (2). Each row starts from page 2 of 3, zoomed in and scrolled into
// the middle, and compares zoom, both scroll positions and the page with what
// the mode's own member does from the same state, so a notch that also does
// a second mode's work shows.
struct View {
    double zoom;
    int32_t h, v, page;
    bool operator==(const View&) const = default;
};

std::ostream& operator<<(std::ostream& out, const View& v) {
    return out << "zoom " << v.zoom << ", h " << v.h << ", v " << v.v << ", page " << v.page;
}

class ViewerWheel : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        show(200, 150);
        // Frames wider than high and larger than the face, each one pixel wider than the last.
        ASSERT_EQ(LoadImageFromStream(image, testing_support::StreamOf(testing_support::TestFramesFile(
                                                 {{600, 500}, {601, 500}, {602, 500}})),
                                      false),
                  OK);
        ASSERT_EQ(callLong("DisplayFromMorvalenImage", {MakeI4(image)}), 0);
        ASSERT_EQ(get("PageCount").lVal, 3);
        put("ContinuousViewMode", MakeBool(false));
    }
    void TearDown() override {
        call("CloseImageEx");
        ReleaseImage(image);
        ViewerFixture::TearDown();
    }
    View observe() {
        return {get("ZOOM").dblVal, callLong("GetHScrollBarPosition"), callLong("GetVScrollBarPosition"),
                get("CurrentPage").lVal};
    }
    void start() {
        ASSERT_EQ(callLong("DisplayFrame", {MakeI4(2)}), 0);
        put("ZOOM", MakeR8(1.0));
        call("SetHVScrollBarPosition", {MakeI4(60), MakeI4(120)});
        const View at = observe();
        ASSERT_EQ(at.page, 2);
        ASSERT_EQ(at.h, 60);
        ASSERT_EQ(at.v, 120);
    }

    testing_support::ScopedTestFramesDecoder decoder{gdiplus::ImageFormatTIFF};
    int32_t image = 0;
};

TEST_F(ViewerWheel, EachWheelModeDoesItsOwnStepOnly) {
    const int32_t large = get("ScrollLargeChange").iVal;
    ASSERT_GT(large, 0);
    const struct {
        int32_t mode;
        bool up;
        const char* sameAs;  // the member whose effect the notch has; null: scroll by the large change
    } rows[] = {
        {0, true, "ZoomIN"},
        {0, false, "ZoomOUT"},
        {1, true, nullptr},
        {1, false, nullptr},
        {2, true, "DisplayPreviousFrame"},
        {2, false, "DisplayNextFrame"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("mode " + std::to_string(row.mode) + (row.up ? " up" : " down"));
        put("MouseWheelMode", MakeI4(row.mode));
        ASSERT_NO_FATAL_FAILURE(start());
        View expected = observe();
        if (row.sameAs) {
            call(row.sameAs);
            expected = observe();
            ASSERT_NO_FATAL_FAILURE(start());
        } else {
            expected.v = row.up ? expected.v - large : expected.v + large;
        }
        ASSERT_NE(expected, observe()) << "the row's step changes nothing";
        surface->MouseWheel(row.up ? 120 : -120, 0, 100, 75);
        EXPECT_EQ(observe(), expected);
    }
}

}  // namespace
}  // namespace scanvelt::testing
