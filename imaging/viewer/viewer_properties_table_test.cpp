// The viewer's properties and its frame members, called by dispatch ID. Each
// property is put to a value unlike its default and read back, and the host
// is told of the change exactly when the property says so (under the
// property's own dispatch ID); the properties that act on the face, the
// host's window or the timers are proven by that too.
#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/viewer/testing/viewer_tables.h"
#include "platform/win/gdi_bitmap.h"

namespace scanvelt::testing {
namespace {

using namespace com;

constexpr double kTrue = -1, kFalse = 0;  // VARIANT_BOOL as a number

// Put `value`, read back `expected`; the host hears of it when `notifies`.
struct PropertyRow {
    const char* member;
    RowArgument value;
    double expected;
    bool notifies;
};

const PropertyRow kStoredRows[] = {
    {"EnableMenu", false, kFalse, true},
    {"SilentMode", true, kTrue, true},
    {"PdfForceTemporaryMode", true, kTrue, true},
    {"ImageForceTemporaryMode", true, kTrue, true},
    {"SkipImageResolution", true, kTrue, true},
    {"LockControl", true, kTrue, true},
    {"KeepImagePosition", true, kTrue, true},
    {"ForcePictureMode", true, kTrue, true},
    {"MouseWheelMode", int32_t{2}, 2, true},
    {"DisableAutoFocus", true, kTrue, true},
    {"PdfDisplayFormField", false, kFalse, true},
    {"ImageMaskColor", int32_t{0x123456}, 0x123456, true},
    {"gamma", 1.75, 1.75, true},
    {"RectIsEditable", false, kFalse, true},
    {"ContinuousViewMode", false, kFalse, true},
    {"OptimizeDrawingSpeed", true, kTrue, true},
    {"Appearance", int32_t{0}, 0, true},
    {"BackStyle", int32_t{0}, 0, true},
    {"BorderStyle", int32_t{1}, 1, true},
    {"ClipControls", false, kFalse, true},
    {"ViewerQuality", int32_t{1}, 1, true},
    {"Enabled", false, kFalse, true},
    {"EnableMouseWheel", false, kFalse, true},
    {"ImageAlignment", int32_t{0}, 0, true},
    {"ImagePosition", int32_t{6}, 6, true},
    {"MouseMode", int32_t{1}, 1, true},
    {"MouseMode", int32_t{9}, 2, true},  // no such mode: panning stays
    {"ScrollSmallChange", int32_t{7}, 7, true},
    {"ScrollLargeChange", int32_t{90}, 90, true},
    {"PdfDpiRendering", int32_t{300}, 300, true},
    {"PdfDpiRendering", int32_t{5000}, 200, true},  // beyond 1200 dpi: kept as it was
    {"MouseButtonForMouseMode", int32_t{2}, 2, true},
    {"MouseButtonForMouseMode", int32_t{0}, 1, true},  // no button: the left one
    {"RectBorderStyle", int32_t{2}, 2, true},
    {"RectDrawMode", int32_t{6}, 6, true},
    {"RectBorderSize", int32_t{3}, 3, true},
    {"RectBorderColor", int32_t{0x00FF00}, 0x00FF00, true},
    // Read-only or fixed: the put changes nothing and tells nothing.
    {"PdfEnablePageCash", true, kFalse, false},
    {"PdfRenderingMode", int32_t{1}, 2, false},
    {"PDFShowDialogForPassword", false, kFalse, false},  // kept, without a change notice
};
const bool kStoredRowsRegistered = RegisterMemberTable("_MvViewer", kStoredRows);

class ViewerProperties : public ViewerTable {
protected:
    bool told(const char* member) { return std::count(site.changed.begin(), site.changed.end(), id(member)) > 0; }
};

TEST_F(ViewerProperties, EachPropertyKeepsItsValueAndTellsTheHost) {
    ASSERT_TRUE(kStoredRowsRegistered);
    for (const PropertyRow& row : kStoredRows) {
        SCOPED_TRACE(row.member);
        TearDown();  // every row from a new viewer, so a default shows
        SetUp();
        site.changed.clear();
        put(row.member, VariantOfArgument(row.value));
        EXPECT_DOUBLE_EQ(number(row.member), row.expected);
        EXPECT_EQ(told(row.member), row.notifies);
        if (row.notifies) EXPECT_EQ(site.changed.size(), 1u);
    }
}

// ---- Properties and members proven by what they do ----------------------------

constexpr uint32_t kRgb = 0xFFFFFFu;

// Fitted, the image (400 x 267 pixels of face) leaves a band above and below.
void fitted(ViewerTable& t) {
    VARIANT r = t.call("SetZoomFitControl");
    VariantClear(&r);
}

const ViewerRow kEffectRows[] = {
    // The back colour (0x00BBGGRR) fills the band above the fitted image.
    {"BackColor", kPut, {int32_t{0x004080FF}}, fitted,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.number("BackColor"), 0x004080FF);
         t.call("Redraw");
         EXPECT_EQ(t.pixel(200, 3) & kRgb, 0xFF8040u);
         EXPECT_EQ(t.pixel(5, 150) & kRgb, 0xFF0000u);
     }},
    {"SetBackGroundColor", kMethod, {int32_t{0x00203040}}, fitted,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.number("BackColor"), 0x00203040);
         t.call("Redraw");
         EXPECT_EQ(t.pixel(200, 296) & kRgb, 0x403020u);
     }},
    // Bars at 100 % (the image beyond the face both ways), none when fitted.
    {"ScrollBars", kPut, {true}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.number("ScrollBars"), kTrue);
         EXPECT_EQ(t.number("HScrollVisible"), kTrue);
         EXPECT_EQ(t.number("VScrollVisible"), kTrue);
     }},
    {"ForceScrollBars", kPut, {true}, fitted,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.number("ForceScrollBars"), kTrue);
         EXPECT_EQ(t.number("ScrollBars"), kTrue);  // forcing bars turns them on
     }},
    {"HScrollVisible", kGet, {}, [](ViewerTable& t) { t.put("ScrollBars", MakeBool(true)); },
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.boolVal, VARIANT_TRUE);
         t.put("HScrollVisible", MakeBool(false));  // read-only
         EXPECT_EQ(t.number("HScrollVisible"), kTrue);
     }},
    {"VScrollVisible", kGet, {},
     [](ViewerTable& t) {
         t.put("ScrollBars", MakeBool(true));
         fitted(t);
     },
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.boolVal, VARIANT_FALSE);
         t.put("VScrollVisible", MakeBool(true));  // read-only
         EXPECT_EQ(t.number("VScrollVisible"), kFalse);
     }},
    // Scrolling fast asks for fast drawing too.
    {"ScrollOptimization", kPut, {true}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.number("ScrollOptimization"), kTrue);
         EXPECT_EQ(t.number("OptimizeDrawingSpeed"), kTrue);
     }},
    // The automatic quality pass runs on a timer of the host's.
    {"ViewerQualityAuto", kPut, {true}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.number("ViewerQualityAuto"), kTrue);
         EXPECT_EQ(t.site.timers.size(), 1u);
         t.put("ViewerQualityAuto", MakeBool(false));
         EXPECT_TRUE(t.site.timers.empty());
     }},
    {"ViewerDrop", kPut, {true}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.number("ViewerDrop"), kTrue);
         EXPECT_TRUE(t.site.acceptsFiles);
     }},
    {"MousePointer", kPut, {int32_t{11}}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.number("MousePointer"), 11);
         EXPECT_EQ(t.site.cursor, 11);
     }},
    // A still image is not animated: the wish is kept, no frame timer runs.
    {"AnimateGIF", kPut, {true}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.number("AnimateGIF"), kTrue);
         EXPECT_TRUE(t.site.timers.empty());
     }},
    {"hwnd", kGet, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_NE(r.lVal, 0);
         EXPECT_EQ(t.get("hwnd").lVal, r.lVal);
     }},
    // The context holds the face as drawn: 400 x 300 pixels, the fitted image's red on the left.
    {"hdc", kGet, {}, fitted,
     [](ViewerTable&, const VARIANT& r) {
         std::shared_ptr<win::GdiBitmap> face =
             win::FindBitmap(win::SelectedBitmap(win::HDC{static_cast<uint32_t>(r.lVal)}));
         ASSERT_TRUE(face);
         EXPECT_EQ(face->width, 400);
         EXPECT_EQ(face->height, 300);
         const uint8_t* p = face->row(150) + 5 * (face->bitsPerPixel / 8);
         EXPECT_EQ(static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0], 0xFF0000u);
     }},
    {"GetVersion", kMethod, {}, nullptr, [](ViewerTable&, const VARIANT& r) { EXPECT_DOUBLE_EQ(r.dblVal, 5.9901306); }},
    // The status of the last member: an empty area is refused with 2.
    {"GetStat", kMethod, {},
     [](ViewerTable& t) {
         EXPECT_EQ(t.callLong("ZoomArea", {MakeI4(10), MakeI4(10), MakeI4(0), MakeI4(5)}), 2);
     },
     [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 2); }},
    // A refresh asks the host to paint and tells it the face is painted.
    {"Refresh", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_FALSE(t.site.invalidations.empty());
         EXPECT_EQ(std::count(t.events.events.begin(), t.events.events.end(), 20), 1);
     }},
    // Cleared, the face shows the back colour; a redraw brings the image back.
    {"Clear", kMethod, {}, fitted,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.pixel(5, 150) & kRgb, 0x000000u);
         EXPECT_EQ(t.get("ImageWidth").lVal, 1200);
     }},
    {"Redraw", kMethod, {},
     [](ViewerTable& t) {
         fitted(t);
         t.call("Clear");
     },
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         EXPECT_EQ(t.pixel(5, 150) & kRgb, 0xFF0000u);
         EXPECT_EQ(t.pixel(395, 150) & kRgb, 0x0000FFu);
     }},
    // Ended, the viewer stops its timers and leaves the host's image alive.
    {"Terminate", kMethod, {}, [](ViewerTable& t) { t.put("ViewerQualityAuto", MakeBool(true)); },
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_TRUE(t.site.timers.empty());
         EXPECT_NE(NativeBitmapOf(t.image), nullptr);
     }},
};
const bool kEffectRowsRegistered = RegisterMemberTable("_MvViewer", kEffectRows);

TEST_F(ViewerProperties, EachActsOnTheFaceTheHostOrTheTimers) {
    ASSERT_TRUE(kEffectRowsRegistered);
    for (const ViewerRow& row : kEffectRows) {
        TearDown();
        SetUp();
        run(row);
    }
}

}  // namespace
}  // namespace scanvelt::testing
