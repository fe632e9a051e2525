// The zoom members of _MvViewer, and what it tells of the image it shows,
// each called by dispatch ID from a known
// zoom, and proven by the zoom mode and the zoom it leaves. The image is
// wider than high and its pixels higher than wide (96 x 72 dpi), so a mode
// that fits the wrong side, or reads the resolutions the wrong way round,
// gives another zoom.
#include <gtest/gtest.h>

#include "imaging/viewer/testing/viewer_tables.h"

namespace scanvelt::testing {
namespace {

using namespace com;

// From a zoom of 70 % set by hand (zoom mode 4), with a zoom step of 30.
void fromSeventyPercent(ViewerTable& t) {
    t.put("ZoomStep", MakeI4(30));
    t.put("ZOOM", MakeR8(0.7));
    ASSERT_EQ(t.get("ZoomMode").lVal, 4);
    ASSERT_DOUBLE_EQ(t.number("ZOOM"), 0.7);
}

void expectZoom(ViewerTable& t, int32_t mode, double zoom) {
    EXPECT_EQ(t.get("ZoomMode").lVal, mode);
    EXPECT_NEAR(t.number("ZOOM"), zoom, 1e-9);
}

// 400 x 300 pixels of face over 1200 x 600 pixels of 1/96 by 1/72 inch
// (12.5 x 8.3 inches): 100 % is 1, the width fits at 400 / 1200 (as does the
// whole image, wider than the face in proportion), the height at
// 300 / 600 * 72 / 96 = 0.375.
const ViewerRow kZoomRows[] = {
    {"SetZoom100", kMethod, {}, fromSeventyPercent,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         expectZoom(t, 1, 1.0);
     }},
    {"SetZoomFitControl", kMethod, {}, fromSeventyPercent,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         expectZoom(t, 2, 400.0 / 1200);
     }},
    {"SetZoomWidthControl", kMethod, {}, fromSeventyPercent,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         expectZoom(t, 3, 400.0 / 1200);
     }},
    {"SetZoomHeightControl", kMethod, {}, fromSeventyPercent,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         expectZoom(t, 5, 0.375);
     }},
    {"SetZoomControl", kMethod, {}, fromSeventyPercent,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         expectZoom(t, 6, 0.375);
         // Stretched over the whole face: red at its left, blue at its right.
         EXPECT_EQ(t.pixel(5, 150) & 0xFFFFFF, 0xFF0000u);
         EXPECT_EQ(t.pixel(395, 150) & 0xFFFFFF, 0x0000FFu);
     }},
    {"SetZoom", kMethod, {50.0}, fromSeventyPercent,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         expectZoom(t, 4, 0.5);
     }},
    {"ZoomIN", kMethod, {}, fromSeventyPercent,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         expectZoom(t, 4, 1.0);
     }},
    {"ZoomOUT", kMethod, {}, fromSeventyPercent,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         expectZoom(t, 4, 0.4);
     }},
    // The area 600 x 150 pixels fills the face's width first: 400 / 600.
    {"ZoomArea", kMethod, {int32_t{0}, int32_t{0}, int32_t{600}, int32_t{150}}, fromSeventyPercent,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         expectZoom(t, 4, 400.0 / 600);
     }},
    // The outlined 300 x 150 pixels, all in the blue half, fill the face's
    // width (400 / 300) and are brought to its middle: blue from edge to edge.
    {"ZoomRect", kMethod, {},
     [](ViewerTable& t) {
         fromSeventyPercent(t);
         VARIANT set = t.call("SetRectValues", {MakeI4(650), MakeI4(200), MakeI4(300), MakeI4(150)});
         VariantClear(&set);
     },
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         expectZoom(t, 4, 400.0 / 300);
         EXPECT_EQ(t.pixel(5, 150) & 0xFFFFFF, 0x0000FFu);
         EXPECT_EQ(t.pixel(395, 150) & 0xFFFFFF, 0x0000FFu);
     }},
    // The highest zoom is what a zoom far above it is cut to.
    {"GetMaxZoom", kMethod, {},
     [](ViewerTable& t) { t.put("ZOOM", MakeR8(1000)); },
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_GT(r.dblVal, 20.0);
         EXPECT_LT(r.dblVal, 1000.0);
         EXPECT_DOUBLE_EQ(t.number("ZOOM"), r.dblVal);
     }},
    {"ZOOM", kGet, {}, fromSeventyPercent, [](ViewerTable&, const VARIANT& r) { EXPECT_DOUBLE_EQ(r.dblVal, 0.7); }},
    {"ZOOM", kPut, {1.5}, fromSeventyPercent, [](ViewerTable& t, const VARIANT&) { expectZoom(t, 4, 1.5); }},
    {"ZoomMode", kPut, {int32_t{3}}, fromSeventyPercent,
     [](ViewerTable& t, const VARIANT&) { expectZoom(t, 3, 400.0 / 1200); }},
    {"ZoomMode", kGet, {}, [](ViewerTable& t) { t.call("SetZoomHeightControl"); },
     [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 5); }},
    {"ZoomStep", kPut, {int32_t{50}}, fromSeventyPercent,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.get("ZoomStep").lVal, 50);
         t.call("ZoomOUT");
         expectZoom(t, 4, 0.2);
     }},
    {"ZoomStep", kGet, {}, fromSeventyPercent, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 30); }},
};
const bool kZoomRowsRegistered = RegisterMemberTable("_MvViewer", kZoomRows);

// What the viewer tells of the image it shows: each answer of its own side.
const ViewerRow kImageRows[] = {
    {"ImageWidth", kGet, {}, nullptr, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 1200); }},
    {"ImageHeight", kGet, {}, nullptr, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 600); }},
    {"HorizontalResolution", kGet, {}, nullptr, [](ViewerTable&, const VARIANT& r) { EXPECT_FLOAT_EQ(r.fltVal, 96); }},
    {"VerticalResolution", kGet, {}, nullptr, [](ViewerTable&, const VARIANT& r) { EXPECT_FLOAT_EQ(r.fltVal, 72); }},
    {"PageCount", kGet, {}, nullptr, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 1); }},
    {"CurrentPage", kGet, {}, nullptr, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 1); }},
    {"GetNativeImage", kMethod, {}, nullptr, [](ViewerTable& t, const VARIANT& r) { EXPECT_EQ(r.lVal, t.image); }},
    // Fitted, the image is 400 x 267 pixels of face: flush left, centred down.
    {"GetImageLeft", kMethod, {}, [](ViewerTable& t) { t.call("SetZoomFitControl"); },
     [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 0); }},
    {"GetImageTop", kMethod, {}, [](ViewerTable& t) { t.call("SetZoomFitControl"); },
     [](ViewerTable&, const VARIANT& r) { EXPECT_NEAR(r.lVal, (300 - 400 / 1.5) / 2, 1); }},
};
const bool kImageRowsRegistered = RegisterMemberTable("_MvViewer", kImageRows);

// Scrolling at 100 %: the image (1200 x 800 pixels of face) is wider than
// high beyond the face, so each bar has its own range, and every member
// moves its own bar only.
void atHundredPercentWithBars(ViewerTable& t) {
    t.put("ScrollBars", MakeBool(true));
    t.call("SetZoom100");
    t.call("SetHVScrollBarPosition", {MakeI4(0), MakeI4(0)});
    ASSERT_GT(t.callLong("GetHScrollBarMaxPosition"), t.callLong("GetVScrollBarMaxPosition"));
    ASSERT_GT(t.callLong("GetVScrollBarMaxPosition"), 200);
}

void expectBars(ViewerTable& t, int32_t h, int32_t v) {
    EXPECT_EQ(t.callLong("GetHScrollBarPosition"), h);
    EXPECT_EQ(t.callLong("GetVScrollBarPosition"), v);
}

const ViewerRow kScrollRows[] = {
    {"SetHScrollBarPosition", kMethod, {int32_t{50}}, atHundredPercentWithBars,
     [](ViewerTable& t, const VARIANT&) { expectBars(t, 50, 0); }},
    {"SetVScrollBarPosition", kMethod, {int32_t{70}}, atHundredPercentWithBars,
     [](ViewerTable& t, const VARIANT&) { expectBars(t, 0, 70); }},
    {"SetHVScrollBarPosition", kMethod, {int32_t{30}, int32_t{60}}, atHundredPercentWithBars,
     [](ViewerTable& t, const VARIANT&) { expectBars(t, 30, 60); }},
    {"GetHScrollBarPosition", kMethod, {},
     [](ViewerTable& t) {
         atHundredPercentWithBars(t);
         t.call("SetHVScrollBarPosition", {MakeI4(40), MakeI4(20)});
     },
     [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 40); }},
    {"GetVScrollBarPosition", kMethod, {},
     [](ViewerTable& t) {
         atHundredPercentWithBars(t);
         t.call("SetHVScrollBarPosition", {MakeI4(40), MakeI4(20)});
     },
     [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 20); }},
    // A position beyond the range stops at the bar's own end.
    {"GetHScrollBarMaxPosition", kMethod, {},
     [](ViewerTable& t) {
         atHundredPercentWithBars(t);
         t.call("SetHScrollBarPosition", {MakeI4(100000)});
     },
     [](ViewerTable& t, const VARIANT& r) { EXPECT_EQ(t.callLong("GetHScrollBarPosition"), r.lVal); }},
    {"GetVScrollBarMaxPosition", kMethod, {},
     [](ViewerTable& t) {
         atHundredPercentWithBars(t);
         t.call("SetVScrollBarPosition", {MakeI4(100000)});
     },
     [](ViewerTable& t, const VARIANT& r) { EXPECT_EQ(t.callLong("GetVScrollBarPosition"), r.lVal); }},
};
const bool kScrollRowsRegistered = RegisterMemberTable("_MvViewer", kScrollRows);

class ViewerZoomMembers : public ViewerTable {};

TEST_F(ViewerZoomMembers, EachScrollMemberMovesItsOwnBar) {
    ASSERT_TRUE(kScrollRowsRegistered);
    for (const ViewerRow& row : kScrollRows) run(row);
}

TEST_F(ViewerZoomMembers, TheImageIsReportedSideBySide) {
    ASSERT_TRUE(kImageRowsRegistered);
    for (const ViewerRow& row : kImageRows) run(row);
}

TEST_F(ViewerZoomMembers, EachZoomMemberLeavesItsModeAndZoom) {
    ASSERT_TRUE(kZoomRowsRegistered);
    for (const ViewerRow& row : kZoomRows) run(row);
}

}  // namespace
}  // namespace scanvelt::testing
