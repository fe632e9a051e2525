// The selection rectangle's members, the coordinate conversions, the
// displayed area and the clipboard copies, called by dispatch ID at 100 %
// on the image of 1200 x 600 pixels at 96 x 72 dpi (an image pixel is 4/3 of
// a face pixel high), with a rectangle away from the origin whose sides and
// position all differ, so a swapped or misconverted value shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>

#include "imaging/viewer/testing/viewer_tables.h"
#include "platform/win/clipboard.h"

namespace scanvelt::testing {
namespace {

using namespace com;
using Four = std::array<double, 4>;

class ViewerSelectionMembers : public ViewerTable {
public:
    void SetUp() override {
        ViewerTable::SetUp();
        std::fill(std::begin(longs), std::end(longs), -1);
        std::fill(std::begin(singles), std::end(singles), -1.0f);
    }
    // What a member gives back through the host's references.
    int32_t longs[4] = {-1, -1, -1, -1};
    float singles[4] = {-1, -1, -1, -1};
};
ViewerSelectionMembers& S(ViewerTable& t) { return static_cast<ViewerSelectionMembers&>(t); }

VARIANT longReference(int32_t& target) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4 | VT_BYREF;
    v.plVal = &target;
    return v;
}
// Four references to the fixture's longs, or to its singles.
std::vector<VARIANT> fourLongs(ViewerTable& t) {
    std::vector<VARIANT> args;
    for (int32_t& l : S(t).longs) args.push_back(longReference(l));
    return args;
}
std::vector<VARIANT> fourSingles(ViewerTable& t) {
    std::vector<VARIANT> args;
    for (float& f : S(t).singles) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_R4 | VT_BYREF;
        v.pfltVal = &f;
        args.push_back(v);
    }
    return args;
}
Four longsOf(ViewerTable& t) { return {1.0 * S(t).longs[0], 1.0 * S(t).longs[1], 1.0 * S(t).longs[2], 1.0 * S(t).longs[3]}; }
Four singlesOf(ViewerTable& t) { return {S(t).singles[0], S(t).singles[1], S(t).singles[2], S(t).singles[3]}; }

// Calls a member with four by-reference longs and gives them back.
Four outFour(ViewerTable& t, const char* member) {
    VARIANT r = t.call(member, fourLongs(t));
    VariantClear(&r);
    return longsOf(t);
}

void expectFour(const Four& got, const Four& want, double tolerance = 0) {
    for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(got[i], want[i], tolerance) << "value " << i;
}

void discard(VARIANT v) { VariantClear(&v); }

// At 100 %, scrolled to the image's corner.
void atHundredPercent(ViewerTable& t) {
    discard(t.call("SetZoom100"));
    discard(t.call("SetHVScrollBarPosition", {MakeI4(0), MakeI4(0)}));
}
// The rectangle 300 x 90 image pixels at (600, 150): 300 x 120 face pixels at (600, 200).
void withRectangle(ViewerTable& t) {
    atHundredPercent(t);
    discard(t.call("SetRectValues", {MakeI4(600), MakeI4(150), MakeI4(300), MakeI4(90)}));
}
// Scrolled by 120 face pixels across and 80 down: image pixels (120, 60) at the face's corner.
void scrolled(ViewerTable& t) {
    atHundredPercent(t);
    discard(t.call("SetHVScrollBarPosition", {MakeI4(120), MakeI4(80)}));
}

constexpr double kMm = 25.4;

const ViewerRow kRectRows[] = {
    {"SetRectValues", kMethod, {int32_t{600}, int32_t{150}, int32_t{300}, int32_t{90}}, atHundredPercent,
     [](ViewerTable& t, const VARIANT&) {
         expectFour(outFour(t, "GetRectValuesObject"), {600, 200, 300, 120});
         EXPECT_EQ(t.call("isRectDrawed").boolVal, VARIANT_TRUE);
     }},
    {"GetRectValues", kMethod, {}, withRectangle,
     [](ViewerTable& t, const VARIANT&) { expectFour(longsOf(t), {600, 150, 300, 90}); }, fourLongs},
    {"GetRectX", kMethod, {}, withRectangle, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 600); }},
    {"GetRectY", kMethod, {}, withRectangle, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 150); }},
    {"GetRectWidth", kMethod, {}, withRectangle, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 300); }},
    {"GetRectHeight", kMethod, {}, withRectangle, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 90); }},
    {"GetRectValuesMM", kMethod, {}, withRectangle,
     [](ViewerTable& t, const VARIANT&) {
         expectFour(singlesOf(t), {600 / 96.0 * kMm, 150 / 72.0 * kMm, 300 / 96.0 * kMm, 90 / 72.0 * kMm}, 1e-3);
     },
     fourSingles},
    {"GetRectValuesObject", kMethod, {}, withRectangle,
     [](ViewerTable& t, const VARIANT&) { expectFour(longsOf(t), {600, 200, 300, 120}); }, fourLongs},
    {"SetRectValuesMM", kMethod, {600 / 96.0 * kMm, 150 / 72.0 * kMm, 300 / 96.0 * kMm, 90 / 72.0 * kMm},
     atHundredPercent,
     [](ViewerTable& t, const VARIANT&) { expectFour(outFour(t, "GetRectValues"), {600, 150, 300, 90}); }},
    {"SetRectValuesObject", kMethod, {int32_t{60}, int32_t{40}, int32_t{120}, int32_t{80}}, atHundredPercent,
     [](ViewerTable& t, const VARIANT&) { expectFour(outFour(t, "GetRectValues"), {60, 30, 120, 60}); }},
    {"isRectDrawed", kMethod, {}, atHundredPercent,
     [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.boolVal, VARIANT_FALSE); }},
    {"ClearRect", kMethod, {}, withRectangle,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.call("isRectDrawed").boolVal, VARIANT_FALSE);
         expectFour(outFour(t, "GetRectValues"), {0, 0, 0, 0});
     }},
    // The rectangle's middle (750, 195) comes to the middle of what is shown.
    {"CenterOnRect", kMethod, {}, withRectangle,
     [](ViewerTable& t, const VARIANT&) {
         const Four area = outFour(t, "GetDisplayedArea");
         EXPECT_NEAR(area[0] + area[2] / 2, 750, 2);
         EXPECT_NEAR(area[1] + area[3] / 2, 195, 2);
     }},
    // 400 x 300 face pixels show 400 x 225 image pixels.
    {"GetDisplayedArea", kMethod, {}, scrolled,
     [](ViewerTable& t, const VARIANT&) { expectFour(longsOf(t), {120, 60, 400, 225}); }, fourLongs},
    {"GetDisplayedAreaMM", kMethod, {}, scrolled,
     [](ViewerTable& t, const VARIANT&) {
         expectFour(singlesOf(t), {120 / 96.0 * kMm, 60 / 72.0 * kMm, 400 / 96.0 * kMm, 225 / 72.0 * kMm}, 1e-3);
     },
     fourSingles},
    // Face (200, 100), scrolled: image (320, 135), and back.
    {"CoordObjectToImage", kMethod, {}, scrolled,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(S(t).longs[2], 320);
         EXPECT_EQ(S(t).longs[3], 135);
     },
     [](ViewerTable& t) {
         return std::vector<VARIANT>{MakeI4(200), MakeI4(100), longReference(S(t).longs[2]),
                                     longReference(S(t).longs[3])};
     }},
    {"CoordImageToObject", kMethod, {}, scrolled,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(S(t).longs[2], 200);
         EXPECT_EQ(S(t).longs[3], 100);
     },
     [](ViewerTable& t) {
         return std::vector<VARIANT>{MakeI4(320), MakeI4(135), longReference(S(t).longs[2]),
                                     longReference(S(t).longs[3])};
     }},
};
const bool kRectRowsRegistered = RegisterMemberTable("_MvViewer", kRectRows);

TEST_F(ViewerSelectionMembers, EachRectangleMemberReadsAndPlacesItsOwnSide) {
    ASSERT_TRUE(kRectRowsRegistered);
    for (const ViewerRow& row : kRectRows) {
        TearDown();
        SetUp();
        run(row);
    }
}

// ---- The clipboard: what is put on it -------------------------------------------

win::GdiBitmap gHeld;  // the last picture the clipboard got

uint32_t heldPixel(int32_t x, int32_t y) {
    const uint8_t* p = gHeld.row(y) + static_cast<size_t>(x) * (gHeld.bitsPerPixel / 8);
    return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
}

const ViewerRow kClipboardRows[] = {
    {"Copy2Clipboard", kMethod, {}, nullptr,
     [](ViewerTable&, const VARIANT&) {
         ASSERT_EQ(gHeld.width, 1200);
         ASSERT_EQ(gHeld.height, 600);
         EXPECT_EQ(heldPixel(10, 590), 0xFF0000u);
         EXPECT_EQ(heldPixel(1190, 10), 0x0000FFu);
     }},
    // 300 x 200 pixels from (500, 100): 100 red columns, then blue.
    {"CopyRegion2Clipboard", kMethod, {int32_t{500}, int32_t{100}, int32_t{300}, int32_t{200}}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.callLong("GetStat"), 0);
         ASSERT_EQ(gHeld.width, 300);
         ASSERT_EQ(gHeld.height, 200);
         EXPECT_EQ(heldPixel(99, 199), 0xFF0000u);
         EXPECT_EQ(heldPixel(100, 0), 0x0000FFu);
     }},
};
const bool kClipboardRowsRegistered = RegisterMemberTable("_MvViewer", kClipboardRows);

class ViewerClipboardMembers : public ViewerTable {
protected:
    void SetUp() override {
        gHeld = {};
        win::SetClipboardService({[] { return win::ClipboardResult::Done; }, [](const win::GdiBitmap& bitmap) {
                                      gHeld = bitmap;
                                      return win::ClipboardResult::Done;
                                  }});
        ViewerTable::SetUp();
    }
    void TearDown() override {
        ViewerTable::TearDown();
        win::SetClipboardService({});
        gHeld = {};
    }
};

TEST_F(ViewerClipboardMembers, EachCopyPutsItsOwnPictureOnTheClipboard) {
    ASSERT_TRUE(kClipboardRowsRegistered);
    for (const ViewerRow& row : kClipboardRows) {
        TearDown();
        SetUp();
        run(row);
    }
}

}  // namespace
}  // namespace scanvelt::testing
