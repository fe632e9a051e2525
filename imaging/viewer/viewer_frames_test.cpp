// Paging through multi-page images, GIF animation on the host's timer, and
// the EXIF tags of the shown image.
#include <gtest/gtest.h>

#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_metadata.h"
#include "imaging/engine/testing/codec_spy_support.h"
#include "imaging/engine/testing/test_files.h"
#include "imaging/viewer/testing/viewer_fixture.h"
#include "platform/com/bstr.h"

namespace scanvelt::testing {
namespace {

using namespace com;
using namespace testing_support;

// Frame i is i + 1 pixels wide, so the width tells which frame is shown.
std::vector<std::pair<uint32_t, uint32_t>> framesOf(int count) {
    std::vector<std::pair<uint32_t, uint32_t>> sizes;
    for (int i = 0; i < count; ++i) sizes.push_back({static_cast<uint32_t>(i + 1), 3});
    return sizes;
}

class ViewerFrames : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        show(100, 80);
    }
    void TearDown() override {
        ViewerFixture::TearDown();
    }
    ViewerControl& control() { return static_cast<ViewerObject*>(static_cast<DispatchControl*>(viewer))->control(); }
    // Shows a multi-frame image of `count` frames of the given format; the test keeps the ID.
    int32_t showFrames(int count) {
        int32_t id = 0;
        EXPECT_EQ(LoadImageFromStream(id, StreamOf(TestFramesFile(framesOf(count))), false), OK);
        EXPECT_EQ(callLong("DisplayFromMorvalenImage", {MakeI4(id)}), 0);
        return id;
    }
    int32_t longOf(const char* name) { return get(name).lVal; }
    bool animateGif() { return get("AnimateGIF").boolVal != 0; }
    int pageChanges() {
        return static_cast<int>(std::count(events.events.begin(), events.events.end(), kEventPageChange));
    }

    ScopedTestFolder folder_{"scanvelt_viewer_frames"};
    ScopedTempFolderVariable temp_{folder_.path()};
};

TEST_F(ViewerFrames, TheFrameMembersPageThroughATiff) {
    ScopedTestFramesDecoder decoder(gdiplus::ImageFormatTIFF);
    showFrames(5);
    ASSERT_EQ(longOf("PageCount"), 5);
    ASSERT_EQ(longOf("CurrentPage"), 1);
    struct Step {
        const char* member;
        int32_t argument;  // for DisplayFrame
        int32_t page;
        int changes;
    };
    auto enabled = [&](int32_t item) { return control().menuItem(item).enabled; };
    const Step steps[] = {
        {"DisplayFrame", 3, 3, 1},        {"DisplayNextFrame", 0, 4, 1},     {"DisplayLastFrame", 0, 5, 1},
        {"DisplayNextFrame", 0, 5, 0},    {"DisplayFrame", 0, 5, 1},         {"DisplayFrame", 6, 5, 1},
        {"DisplayFirstFrame", 0, 1, 1},   {"DisplayFirstFrame", 0, 1, 0},    {"DisplayPreviousFrame", 0, 1, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.member) + " " + std::to_string(s.argument));
        events.events.clear();
        const bool frame = std::string(s.member) == "DisplayFrame";
        EXPECT_EQ(frame ? callLong(s.member, {MakeI4(s.argument)}) : callLong(s.member), 0);
        EXPECT_EQ(longOf("CurrentPage"), s.page);
        EXPECT_EQ(longOf("ImageWidth"), s.page) << "the page shown";
        EXPECT_EQ(pageChanges(), s.changes);
        // Goto First, Previous, Next and Last of the context menu.
        EXPECT_EQ(enabled(2), s.page > 1);
        EXPECT_EQ(enabled(3), s.page > 1);
        EXPECT_EQ(enabled(4), s.page < 5);
        EXPECT_EQ(enabled(5), s.page < 5);
    }
    // The menu's Goto items act as the members do.
    control().MenuChosen(5);
    EXPECT_EQ(longOf("CurrentPage"), 5);
    control().MenuChosen(3);
    EXPECT_EQ(longOf("CurrentPage"), 4);
    call("CloseImageEx");
}

// The wheel pages: in page-change mode one page a notch; in scroll mode with
// continuous view, at the end of the scroll range (a small page has no range).
TEST_F(ViewerFrames, KeepImagePositionKeepsTheScrollPositionOnTheNextFrame) {
    ScopedTestFramesDecoder decoder(gdiplus::ImageFormatTIFF);
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep ? "kept" : "realigned");
        put("KeepImagePosition", MakeBool(keep));
        int32_t id = 0;
        ASSERT_EQ(LoadImageFromStream(id, StreamOf(TestFramesFile({{400, 300}, {400, 300}})), false), OK);
        ASSERT_EQ(callLong("DisplayFromMorvalenImage", {MakeI4(id)}), 0);
        const auto aligned = std::make_pair(callLong("GetHScrollBarPosition"), callLong("GetVScrollBarPosition"));
        ASSERT_NE(aligned, std::make_pair(10, 12));
        call("SetHVScrollBarPosition", {MakeI4(10), MakeI4(12)});
        ASSERT_EQ(callLong("GetImageLeft"), -10);
        ASSERT_EQ(callLong("DisplayNextFrame"), 0);
        ASSERT_EQ(longOf("CurrentPage"), 2);
        const int32_t h = callLong("GetHScrollBarPosition"), v = callLong("GetVScrollBarPosition");
        if (keep) {
            EXPECT_EQ(std::make_pair(h, v), std::make_pair(10, 12));
        } else {  // back to where ImageAlignment puts it
            EXPECT_EQ(std::make_pair(h, v), aligned);
        }
        EXPECT_EQ(callLong("GetImageLeft"), -h);
        EXPECT_EQ(callLong("GetImageTop"), -v);
        // A later frame change with the user's scrolling in between is kept too.
        if (keep) {
            call("SetHVScrollBarPosition", {MakeI4(30), MakeI4(40)});
            ASSERT_EQ(callLong("DisplayPreviousFrame"), 0);
            EXPECT_EQ(std::make_pair(callLong("GetHScrollBarPosition"), callLong("GetVScrollBarPosition")),
                      std::make_pair(30, 40));
        }
    }
}

TEST_F(ViewerFrames, PanningPastThePageEndTurnsThePageOncePerDragInContinuousViewMode) {
    ScopedTestFramesDecoder decoder(gdiplus::ImageFormatTIFF);
    int32_t id = 0;
    ASSERT_EQ(LoadImageFromStream(id, StreamOf(TestFramesFile({{400, 300}, {400, 300}, {400, 300}})), false), OK);
    ASSERT_EQ(callLong("DisplayFromMorvalenImage", {MakeI4(id)}), 0);
    ASSERT_TRUE(get("ContinuousViewMode").boolVal);
    ASSERT_EQ(get("MouseMode").lVal, 2);  // pan
    const int32_t vMax = callLong("GetVScrollBarMaxPosition");
    auto drag = [&](int32_t fromY, std::vector<int32_t> toYs) {
        surface->MouseDown(kControlButtonLeft, 0, 50, fromY);
        for (const int32_t y : toYs) surface->MouseMove(kControlButtonLeft, 0, 50, y);
        surface->MouseUp(kControlButtonLeft, 0, 50, toYs.back());
    };
    call("SetVScrollBarPosition", {MakeI4(vMax)});
    // Pulling up at the bottom of page 1: page 2 from its top. Pulling back
    // down at its top in the same drag turns no page again.
    drag(60, {50, 60, 70});
    EXPECT_EQ(longOf("CurrentPage"), 2);
    EXPECT_EQ(callLong("GetVScrollBarPosition"), 0);
    call("SetVScrollBarPosition", {MakeI4(vMax)});
    drag(60, {50});
    EXPECT_EQ(longOf("CurrentPage"), 3);
    EXPECT_EQ(callLong("GetVScrollBarPosition"), 0);
    call("SetVScrollBarPosition", {MakeI4(vMax)});
    drag(60, {50});  // the last page: nothing to turn to
    EXPECT_EQ(longOf("CurrentPage"), 3);
    // Pulling down at the top of page 3: page 2 from its bottom.
    call("SetVScrollBarPosition", {MakeI4(0)});
    drag(20, {30});
    EXPECT_EQ(longOf("CurrentPage"), 2);
    EXPECT_EQ(callLong("GetVScrollBarPosition"), vMax);
    // Outside continuous view mode the drag only scrolls.
    put("ContinuousViewMode", MakeBool(false));
    drag(60, {50});
    EXPECT_EQ(longOf("CurrentPage"), 2);
}

TEST_F(ViewerFrames, TheWheelTurnsThePages) {
    ScopedTestFramesDecoder decoder(gdiplus::ImageFormatTIFF);
    showFrames(3);
    auto wheel = [&](int notches) {
        for (int i = 0; i < std::abs(notches); ++i) surface->MouseWheel(notches > 0 ? 120 : -120, 0, 50, 40);
    };
    put("MouseWheelMode", MakeI4(2));
    wheel(-1);
    EXPECT_EQ(longOf("CurrentPage"), 2);
    wheel(-5);
    EXPECT_EQ(longOf("CurrentPage"), 3) << "no page after the last";
    wheel(1);
    EXPECT_EQ(longOf("CurrentPage"), 2);

    put("MouseWheelMode", MakeI4(1));
    put("ContinuousViewMode", MakeBool(true));
    const int32_t alignment = longOf("ImageAlignment");
    wheel(-1);
    EXPECT_EQ(longOf("CurrentPage"), 3);
    wheel(-1);
    EXPECT_EQ(longOf("CurrentPage"), 3);
    wheel(2);
    EXPECT_EQ(longOf("CurrentPage"), 1);
    EXPECT_EQ(longOf("ImageAlignment"), alignment) << "the turn's own alignment is given back";
    put("ContinuousViewMode", MakeBool(false));
    wheel(-1);
    EXPECT_EQ(longOf("CurrentPage"), 1) << "without continuous view the wheel only scrolls";
    call("CloseImageEx");
}

TEST_F(ViewerFrames, AGifAnimatesThroughTheTimerInOrderAndWraps) {
    ScopedTestFramesDecoder decoder(gdiplus::ImageFormatGIF, {FrameDelayItem({10, 25, 3, 7, 12})});
    showFrames(5);
    EXPECT_FALSE(control().animating());
    ASSERT_EQ(callLong("PlayGif"), 0);
    EXPECT_TRUE(control().animating());
    EXPECT_TRUE(animateGif());
    // Each tick shows the next frame and arms the timer with that frame's delay.
    const int32_t frames[] = {1, 2, 3, 4, 5, 1, 2};
    const uint32_t delays[] = {100, 250, 30, 70, 120, 100, 250};
    for (size_t i = 0; i < std::size(frames); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(longOf("CurrentPage"), frames[i]);
        EXPECT_EQ(longOf("ImageWidth"), frames[i]);
        ASSERT_EQ(site.timers.count(kAnimationTimerId), 1u);
        EXPECT_EQ(site.timers[kAnimationTimerId], delays[i]);
        surface->TimerFired(kAnimationTimerId);
    }
    EXPECT_FALSE(control().menuItem(6).enabled) << "Play Gif while playing";
    EXPECT_TRUE(control().menuItem(7).enabled) << "Stop GIF Animation while playing";
    control().MenuChosen(7);
    EXPECT_TRUE(control().menuItem(6).enabled);
    EXPECT_FALSE(control().menuItem(7).enabled);
    EXPECT_EQ(site.timers.count(kAnimationTimerId), 0u);
    EXPECT_FALSE(animateGif());
    const int32_t page = longOf("CurrentPage");
    site.pump(*surface);
    EXPECT_EQ(longOf("CurrentPage"), page) << "no tick after the stop";
    call("CloseImageEx");
}

TEST_F(ViewerFrames, AnimateGifStartsStopsAndWaitsForTheNextGif) {
    {
        ScopedTestFramesDecoder tiffs(gdiplus::ImageFormatTIFF);
        showFrames(2);
        put("AnimateGIF", MakeBool(true));
        EXPECT_TRUE(animateGif()) << "kept for the next GIF";
        EXPECT_FALSE(control().animating());
        EXPECT_EQ(site.timers.count(kAnimationTimerId), 0u);
        call("CloseImageEx");
    }
    {
        ScopedTestFramesDecoder gifs(gdiplus::ImageFormatGIF, {FrameDelayItem({5, 5, 5})});
        showFrames(3);
        EXPECT_TRUE(control().animating()) << "a GIF loaded while AnimateGIF is set plays at once";
        surface->TimerFired(kAnimationTimerId);
        EXPECT_EQ(longOf("CurrentPage"), 2);
        put("AnimateGIF", MakeBool(false));
        EXPECT_FALSE(control().animating());
        put("AnimateGIF", MakeBool(true));
        EXPECT_EQ(longOf("CurrentPage"), 1) << "restarts from the first frame";
        EXPECT_TRUE(control().animating());
        // Another document stops the animation and its timer.
        call("CloseImageEx");
        EXPECT_FALSE(control().animating());
        EXPECT_FALSE(animateGif());
        EXPECT_EQ(site.timers.count(kAnimationTimerId), 0u);
    }
}

TEST_F(ViewerFrames, TeardownStopsTheAnimationTimer) {
    ScopedTestFramesDecoder gifs(gdiplus::ImageFormatGIF, {FrameDelayItem({5, 5})});
    showFrames(2);
    ASSERT_EQ(callLong("PlayGif"), 0);
    ASSERT_EQ(site.timers.count(kAnimationTimerId), 1u);
    call("Terminate");
    EXPECT_EQ(site.timers.count(kAnimationTimerId), 0u);
    EXPECT_FALSE(control().animating());
}

TEST_F(ViewerFrames, ExifTagsAreNumberedFromOne) {
    int32_t id = makeImage(4, 4, [](int32_t, int32_t) { return 0xFF808080u; });
    ASSERT_EQ(SetPropertyItemAscii(id, 0x010F, "Maker", false), 0);
    ASSERT_EQ(SetPropertyItemAscii(id, 0x0110, "Model", false), 0);
    auto text = [&](const char* name, int32_t n) {
        VARIANT v = call(name, {MakeI4(n)});
        std::string s = BstrToUtf8(v.bstrVal);
        VariantClear(&v);
        return s;
    };
    EXPECT_EQ(callLong("ExifTagCount"), 0) << "no image";
    EXPECT_EQ(text("ExifTagGetName", 1), "");
    ASSERT_EQ(callLong("DisplayFromMorvalenImage", {MakeI4(id)}), 0);
    ASSERT_EQ(callLong("ExifTagCount"), 2);
    std::vector<int32_t> ids{callLong("ExifTagGetID", {MakeI4(1)}), callLong("ExifTagGetID", {MakeI4(2)})};
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<int32_t>{0x010F, 0x0110}));
    const int32_t first = callLong("ExifTagGetID", {MakeI4(1)});
    EXPECT_EQ(text("ExifTagGetValue", 1), first == 0x010F ? "Maker" : "Model");
    EXPECT_FALSE(text("ExifTagGetName", 1).empty());
    // IPTC tags live only in images the image plug-in loaded.
    EXPECT_EQ(callLong("IPTCTagCount"), 0);
    EXPECT_EQ(callLong("GetStat"), MvimgplugDllRequired);
    for (int32_t outside : {0, 3, -1}) {
        SCOPED_TRACE(outside);
        EXPECT_EQ(callLong("ExifTagGetID", {MakeI4(outside)}), 0);
        EXPECT_EQ(text("ExifTagGetName", outside), "");
        EXPECT_EQ(text("ExifTagGetValue", outside), "");
    }
    call("CloseImageEx");
}

}  // namespace
}  // namespace scanvelt::testing
