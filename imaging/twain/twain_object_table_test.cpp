// The frame members of _Twain called by dispatch ID: the version, the status
// the last member left, text in and out of Base64, the desktop's window, the
// blank-page test, and turning the page. Each row runs its member from its
// own starting state and checks what the member changed.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/twain/testing/twain_tables.h"

namespace scanvelt::testing {
namespace {

using namespace com;

class FrameTable;

struct FrameRow {
    const char* member;
    void (*run)(FrameTable&);  // starting state, the call and its effect
};

class FrameTable : public ImageMemberTable {
public:
    using ImageMemberTable::call;
    using ImageMemberTable::run;
    TwainControl& control() { return static_cast<TwainObject*>(twain)->control(); }
    std::string text(const char* member, std::vector<VARIANT> arguments) {
        VARIANT result = call(member, std::move(arguments));
        std::string value = result.vt == VT_BSTR ? BstrToUtf8(result.bstrVal) : "(not a text)";
        VariantClear(&result);
        return value;
    }
};

// A 40 x 30 page whose every pixel is `colour`; the test releases it.
int32_t plainPage(uint32_t colour) {
    const int32_t page = testing_support::MakePage(40, 30);
    testing_support::SetPixels(page, std::vector<uint32_t>(40 * 30, colour));
    return page;
}

// After FxNegative: the pixels inside the rectangle (left, top, width,
// height) are the page's negated, those outside the page's own.
void ExpectNegatedWithin(int32_t image, int32_t left, int32_t top, int32_t width, int32_t height) {
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 40; ++x) {
            const bool inside = x >= left && x < left + width && y >= top && y < top + height;
            const uint32_t page = PageAt(x, y);
            ASSERT_EQ(PixelAt(image, x, y) & 0xFFFFFF, (inside ? ~page : page) & 0xFFFFFF) << x << "," << y;
        }
}

// The region of interest: FxNegative on a fresh page after `setUp`.
void NegateAfter(FrameTable& t, void (*setUp)(FrameTable&), int32_t left, int32_t top, int32_t width, int32_t height) {
    const int32_t page = testing_support::MakePage(40, 30);
    t.control().setCurrentImage(page);
    setUp(t);
    EXPECT_EQ(t.call("FxNegative").lVal, 0);
    ExpectNegatedWithin(page, left, top, width, height);
    t.call("ResetROI");
    t.control().setCurrentImage(0);
    ReleaseImage(page);
}

const FrameRow kFrameRows[] = {
    {"GetVersion", [](FrameTable& t) { EXPECT_DOUBLE_EQ(t.call("GetVersion").dblVal, 5.9901306); }},
    // The status of the last member: a failure without an image, then success with one.
    {"GetStat",
     [](FrameTable& t) {
         t.control().setCurrentImage(0);
         t.call("FxNegative");
         EXPECT_NE(t.call("GetStat").lVal, 0);
         const int32_t page = testing_support::MakePage(40, 30);
         t.control().setCurrentImage(page);
         t.call("FxNegative");
         EXPECT_EQ(t.call("GetStat").lVal, 0);
         t.control().setCurrentImage(0);
         ReleaseImage(page);
     }},
    {"Encode64String",
     [](FrameTable& t) {
         EXPECT_EQ(t.text("Encode64String", {MakeBstrUtf8("Scan")}), "U2Nhbg==");
         EXPECT_EQ(t.text("Encode64String", {MakeBstrUtf8("Sc")}), "U2M=");
     }},
    {"Decode64String",
     [](FrameTable& t) {
         EXPECT_EQ(t.text("Decode64String", {MakeBstrUtf8("U2Nhbg==")}), "Scan");
         EXPECT_EQ(t.text("Decode64String", {MakeBstrUtf8("U2M=")}), "Sc");
     }},
    {"GetDesktopHwnd", [](FrameTable& t) { EXPECT_GT(t.call("GetDesktopHwnd").lVal, 0); }},
    // A white page is blank; the same page with one dark column is not.
    {"IsBlank",
     [](FrameTable& t) {
         const int32_t white = plainPage(0xFFFFFFFF);
         t.control().setCurrentImage(white);
         EXPECT_EQ(t.call("IsBlank", {MakeR4(99)}).boolVal, VARIANT_TRUE);
         const int32_t marked = plainPage(0xFFFFFFFF);
         for (int32_t y = 0; y < 30; ++y) NativeBitmapOf(marked)->SetPixel(20, y, 0xFF000000);
         t.control().setCurrentImage(marked);
         EXPECT_EQ(t.call("IsBlank", {MakeR4(99)}).boolVal, VARIANT_FALSE);
         t.control().setCurrentImage(0);
         ReleaseImage(white);
         ReleaseImage(marked);
     }},
    // A quarter turn clockwise: 30 x 40, the page's bottom-left pixel at the
    // top left, its top-left pixel at the top right.
    {"Rotate",
     [](FrameTable& t) {
         t.run(ImageRow{"Rotate", {int32_t{1}}, [](const ImageEffect& e) {
                            EXPECT_EQ(e.result.lVal, 0);
                            ASSERT_EQ(testing_support::SizeOf(e.after), (std::pair<int32_t, int32_t>{30, 40}));
                            EXPECT_EQ(PixelAt(e.after, 0, 0), PageAt(0, 29));
                            EXPECT_EQ(PixelAt(e.after, 29, 0), PageAt(0, 0));
                            EXPECT_EQ(PixelAt(e.after, 29, 39), PageAt(39, 0));
                        }});
     }},
    // The image given goes; the current one stays.
    {"CloseImage",
     [](FrameTable& t) {
         const int32_t kept = testing_support::MakePage(40, 30);
         const int32_t closed = testing_support::MakePage(20, 10);
         t.control().setCurrentImage(kept);
         t.call("CloseImage", {MakeI4(closed)});
         EXPECT_EQ(NativeBitmapOf(closed), nullptr);
         EXPECT_NE(NativeBitmapOf(kept), nullptr);
         EXPECT_EQ(t.call("GetNativeImage").lVal, kept);
         t.control().setCurrentImage(0);
         ReleaseImage(kept);
     }},
    {"GetNativeImage",
     [](FrameTable& t) {
         const int32_t page = testing_support::MakePage(40, 30);
         t.control().setCurrentImage(page);
         EXPECT_EQ(t.call("GetNativeImage").lVal, page);
         t.control().setCurrentImage(0);
         ReleaseImage(page);
     }},
    // The next filter changes only the region: its sides all differ, so a
    // left taken for a top or a width for a height shows.
    {"SetROI",
     [](FrameTable& t) {
         NegateAfter(
             t, [](FrameTable& f) { f.call("SetROI", {MakeI4(5), MakeI4(4), MakeI4(20), MakeI4(9)}); }, 5, 4, 20, 9);
     }},
    // The whole page again after a region.
    {"ResetROI",
     [](FrameTable& t) {
         NegateAfter(
             t,
             [](FrameTable& f) {
                 f.call("SetROI", {MakeI4(5), MakeI4(4), MakeI4(20), MakeI4(9)});
                 f.call("ResetROI");
             },
             0, 0, 40, 30);
     }},
};
const bool kFrameRowsRegistered = RegisterMemberTable("_Twain", kFrameRows);

TEST_F(FrameTable, EachFrameMemberHasItsEffect) {
    ASSERT_TRUE(kFrameRowsRegistered);
    for (const FrameRow& row : kFrameRows) {
        SCOPED_TRACE(row.member);
        row.run(*this);
    }
}

}  // namespace
}  // namespace scanvelt::testing
