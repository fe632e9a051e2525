// The frame members of _MvViewer and the tags of the shown image, called by
// dispatch ID. The multi-page image has four frames, frame i being i pixels
// wide, and every row starts on page 2, so a member that goes the wrong way,
// or shows another page than it reports, shows in the width.
#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_metadata.h"
#include "imaging/engine/morvalen_status.h"
#include "imaging/engine/testing/codec_spy_support.h"
#include "imaging/engine/testing/test_files.h"
#include "imaging/viewer/testing/viewer_tables.h"
#include "platform/com/bstr.h"

namespace scanvelt::testing {
namespace {

using namespace com;
using namespace testing_support;

constexpr DISPID kPageChange = 5;

// Frame i (from 1) is i pixels wide and 3 high.
std::vector<uint8_t> framesFile(int count) {
    std::vector<std::pair<uint32_t, uint32_t>> sizes;
    for (int i = 1; i <= count; ++i) sizes.push_back({static_cast<uint32_t>(i), 3});
    return TestFramesFile(sizes);
}

class ViewerFrameTable : public ViewerTable {
public:
    void TearDown() override {
        ViewerTable::TearDown();
        for (int32_t id : shown) ReleaseImage(id);
        shown.clear();
    }
    // Shows the frames as the host's image.
    void showFrames(int count) {
        int32_t id = 0;
        ASSERT_EQ(LoadImageFromStream(id, StreamOf(framesFile(count)), false), OK);
        shown.push_back(id);
        ASSERT_EQ(callLong("DisplayFromMorvalenImage", {com::MakeI4(id)}), 0);
    }
    int pageChanges() { return static_cast<int>(std::count(events.events.begin(), events.events.end(), kPageChange)); }
    // The text of a row's result (the row clears it).
    static std::string text(const VARIANT& v) { return v.vt == VT_BSTR ? BstrToUtf8(v.bstrVal) : ""; }

    std::vector<int32_t> shown;
    ScopedTestFolder folder_{"scanvelt_viewer_frame_table"};
    ScopedTempFolderVariable temp_{folder_.path()};
};

ViewerFrameTable& F(ViewerTable& t) { return static_cast<ViewerFrameTable&>(t); }

void onPageTwoOfFour(ViewerTable& t) {
    F(t).showFrames(4);
    ASSERT_EQ(t.callLong("DisplayFrame", {MakeI4(2)}), 0);
    ASSERT_EQ(t.get("CurrentPage").lVal, 2);
}

// The page reported is the page shown, and the host heard of the turn `changes` times.
void expectPage(ViewerTable& t, const VARIANT& r, int32_t page, int changes) {
    EXPECT_EQ(r.lVal, 0);
    EXPECT_EQ(t.get("CurrentPage").lVal, page);
    EXPECT_EQ(t.get("ImageWidth").lVal, page);
    EXPECT_EQ(t.get("PageCount").lVal, 4);
    EXPECT_EQ(F(t).pageChanges(), changes);
}

const ViewerRow kFrameRows[] = {
    {"DisplayFrame", kMethod, {int32_t{3}}, onPageTwoOfFour,
     [](ViewerTable& t, const VARIANT& r) { expectPage(t, r, 3, 1); }},
    {"DisplayFrame", kMethod, {int32_t{5}}, onPageTwoOfFour,
     [](ViewerTable& t, const VARIANT& r) { expectPage(t, r, 2, 1); }},  // no such page: the page stays
    {"DisplayNextFrame", kMethod, {}, onPageTwoOfFour,
     [](ViewerTable& t, const VARIANT& r) { expectPage(t, r, 3, 1); }},
    {"DisplayPreviousFrame", kMethod, {}, onPageTwoOfFour,
     [](ViewerTable& t, const VARIANT& r) { expectPage(t, r, 1, 1); }},
    {"DisplayFirstFrame", kMethod, {}, onPageTwoOfFour,
     [](ViewerTable& t, const VARIANT& r) { expectPage(t, r, 1, 1); }},
    {"DisplayLastFrame", kMethod, {}, onPageTwoOfFour,
     [](ViewerTable& t, const VARIANT& r) { expectPage(t, r, 4, 1); }},
};
const bool kFrameRowsRegistered = RegisterMemberTable("_MvViewer", kFrameRows);

TEST_F(ViewerFrameTable, EachFrameMemberShowsThePageItReports) {
    ASSERT_TRUE(kFrameRowsRegistered);
    ScopedTestFramesDecoder decoder(gdiplus::ImageFormatTIFF);
    for (const ViewerRow& row : kFrameRows) {
        TearDown();
        SetUp();
        run(row);
    }
}

// A GIF of three frames, 0.1, 0.25 and 0.03 s each.
void gifShown(ViewerTable& t) { F(t).showFrames(3); }

const ViewerRow kGifRows[] = {
    // Playing shows the first frame and arms the timer with its delay; each tick the next.
    {"PlayGif", kMethod, {}, gifShown,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         EXPECT_EQ(t.get("CurrentPage").lVal, 1);
         ASSERT_EQ(t.site.timers.count(kAnimationTimerId), 1u);
         EXPECT_EQ(t.site.timers[kAnimationTimerId], 100u);
         t.surface->TimerFired(kAnimationTimerId);
         EXPECT_EQ(t.get("ImageWidth").lVal, 2);
         EXPECT_EQ(t.site.timers[kAnimationTimerId], 250u);
         EXPECT_EQ(t.get("AnimateGIF").boolVal, VARIANT_TRUE);
     }},
    {"StopGif", kMethod, {},
     [](ViewerTable& t) {
         gifShown(t);
         EXPECT_EQ(t.callLong("PlayGif"), 0);
         t.surface->TimerFired(kAnimationTimerId);
     },
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.site.timers.count(kAnimationTimerId), 0u);
         EXPECT_EQ(t.get("AnimateGIF").boolVal, VARIANT_FALSE);
         t.site.pump(*t.surface);
         EXPECT_EQ(t.get("CurrentPage").lVal, 2);  // no tick after the stop
     }},
};
const bool kGifRowsRegistered = RegisterMemberTable("_MvViewer", kGifRows);

TEST_F(ViewerFrameTable, AGifPlaysOnTheHostsTimerAndStops) {
    ASSERT_TRUE(kGifRowsRegistered);
    ScopedTestFramesDecoder decoder(gdiplus::ImageFormatGIF, {FrameDelayItem({10, 25, 3})});
    for (const ViewerRow& row : kGifRows) {
        TearDown();
        SetUp();
        run(row);
    }
}

// ---- Tags --------------------------------------------------------------------------

// An image with the maker (271) and the model (272) set; the tags' order is the engine's.
void tagged(ViewerTable& t) {
    const int32_t id = ViewerTable::makeImage(5, 3, [](int32_t, int32_t) { return 0xFF808080u; }, 96, 72);
    F(t).shown.push_back(id);
    ASSERT_EQ(SetPropertyItemAscii(id, 271, "Maker", false), 0);
    ASSERT_EQ(SetPropertyItemAscii(id, 272, "Model", false), 0);
    ASSERT_EQ(t.callLong("DisplayFromMorvalenImage", {MakeI4(id)}), 0);
}
int32_t tagId(ViewerTable& t, int32_t n) { return t.callLong("ExifTagGetID", {MakeI4(n)}); }

const ViewerRow kTagRows[] = {
    {"ExifTagCount", kMethod, {}, tagged, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 2); }},
    {"ExifTagGetID", kMethod, {int32_t{2}}, tagged,
     [](ViewerTable& t, const VARIANT& r) {
         const int32_t first = tagId(t, 1);
         EXPECT_EQ(std::min(first, r.lVal), 271);
         EXPECT_EQ(std::max(first, r.lVal), 272);
     }},
    {"ExifTagGetID", kMethod, {int32_t{3}}, tagged, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 0); }},
    {"ExifTagGetName", kMethod, {int32_t{2}}, tagged,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(F(t).text(r), tagId(t, 2) == 271 ? "EquipMake" : "EquipModel");
     }},
    {"ExifTagGetValue", kMethod, {int32_t{2}}, tagged,
     [](ViewerTable& t, const VARIANT& r) { EXPECT_EQ(F(t).text(r), tagId(t, 2) == 271 ? "Maker" : "Model"); }},
    {"ExifTagGetValue", kMethod, {int32_t{0}}, tagged,
     [](ViewerTable& t, const VARIANT& r) { EXPECT_EQ(F(t).text(r), ""); }},
    // IPTC tags come only from images the image plug-in loaded: none here, and the status says why.
    {"IPTCTagCount", kMethod, {}, tagged,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         EXPECT_EQ(t.callLong("GetStat"), MvimgplugDllRequired);
     }},
    {"IPTCTagGetID", kMethod, {int32_t{1}}, tagged,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         EXPECT_EQ(t.callLong("GetStat"), MvimgplugDllRequired);
     }},
    {"IPTCTagGetValueString", kMethod, {int32_t{1}}, tagged,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(F(t).text(r), "");
         EXPECT_EQ(t.callLong("GetStat"), MvimgplugDllRequired);
     }},
};
const bool kTagRowsRegistered = RegisterMemberTable("_MvViewer", kTagRows);

TEST_F(ViewerFrameTable, EachTagMemberReadsTheTagItNames) {
    ASSERT_TRUE(kTagRowsRegistered);
    for (const ViewerRow& row : kTagRows) {
        TearDown();
        SetUp();
        run(row);
    }
}

}  // namespace
}  // namespace scanvelt::testing
