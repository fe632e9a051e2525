// The text and font members of _Twain called by dispatch ID on a white page
// of 200 x 100 pixels: each text lands where its arguments put it (left and
// top differ, so a swap shows), in its colours, and the measuring and font
// members answer what the fonts installed here give.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "imaging/engine/fonts_and_text.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/twain/testing/ink.h"
#include "imaging/twain/testing/twain_tables.h"
#include "platform/files/testing/scratch_folder.h"

namespace scanvelt::testing {
namespace {

using namespace com;
using testing_support::Ink;
using testing_support::InkOf;
using testing_support::InkWhere;

constexpr const char* kBlock = "\u2588\u2588";  // glyphs that are solid ink
constexpr const char* kFont = "DejaVu Sans";
constexpr int32_t kRgbRed = 0x0000FF, kRgbBlue = 0xFF0000;  // Windows RGB values
constexpr uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00;
constexpr int32_t kUnitPixel = 2, kUnitPoint = 3;

class TextTable;

struct TextRow {
    const char* member;
    void (*run)(TextTable&);  // starting state, the call and its effect
};

class TextTable : public TwainTable {
public:
    using TwainTable::call;
    TwainControl& control() { return static_cast<TwainObject*>(twain)->control(); }

    ~TextTable() override {
        control().setCurrentImage(0);
        for (int32_t id : images_) ReleaseImage(id);
    }
    // A white page of 200 x 100 pixels at 96 dpi, made the current image; sizes count in pixels.
    int32_t page() {
        const int32_t id = testing_support::RegisterBitmap(200, 100, gdiplus::PixelFormat32bppARGB);
        testing_support::SetPixels(id, std::vector<uint32_t>(200 * 100, testing_support::kWhitePixel));
        EXPECT_EQ(SetImageResolution(id, 96.0f, 96.0f, true), OK);
        images_.push_back(id);
        control().setCurrentImage(id);
        control().setFontUnit(kUnitPixel);
        return id;
    }
    // A solid image of 4 x 4 pixels to fill text with.
    int32_t texture(uint32_t colour) {
        const int32_t id = testing_support::RegisterBitmap(4, 4, gdiplus::PixelFormat32bppARGB);
        testing_support::SetPixels(id, std::vector<uint32_t>(16, colour));
        images_.push_back(id);
        return id;
    }
    // A drawing member's call: its result and the status it left are both 0.
    void draw(const char* member, std::vector<VARIANT> arguments) {
        EXPECT_EQ(call(member, std::move(arguments)).lVal, 0) << member;
        EXPECT_EQ(call("GetStat").lVal, 0) << member;
    }
    float measure(const char* member, const char* text, int32_t size) {
        return call(member, {MakeBstrUtf8(text), MakeBstrUtf8(kFont), MakeI4(size), MakeI4(0)}).fltVal;
    }
    std::string text(const char* member, std::vector<VARIANT> arguments) {
        VARIANT result = call(member, std::move(arguments));
        std::string value = result.vt == VT_BSTR ? BstrToUtf8(result.bstrVal) : "(not a text)";
        VariantClear(&result);
        return value;
    }
    files::testing::ScratchFolder folder{"text-table"};

private:
    std::vector<int32_t> images_;
};

Ink inkOfColour(int32_t image, uint32_t colour) {
    return InkWhere(image, [colour](uint32_t c) { return c == colour; });
}

// The text's ink starts at (left, top) within the padding the layout adds.
void expectStartsAt(const Ink& ink, int32_t left, int32_t top) {
    ASSERT_TRUE(ink.any());
    EXPECT_GE(ink.left, left);
    EXPECT_LE(ink.left, left + 6);
    EXPECT_GE(ink.top, top);
    EXPECT_LE(ink.top, top + 8);
}

uint32_t pixel(int32_t image, int32_t x, int32_t y) {
    uint32_t c = 0;
    NativeBitmapOf(image)->GetPixel(x, y, c);
    return c;
}

const TextRow kTextRows[] = {
    {"DrawText",
     [](TextTable& t) {
         const int32_t page = t.page();
         t.draw("DrawText", {MakeBstrUtf8(kBlock), MakeI4(30), MakeI4(10), MakeI4(20), MakeI4(0), MakeI4(kRgbRed),
                             MakeBstrUtf8(kFont), MakeBool(false)});
         const Ink ink = InkOf(page);
         expectStartsAt(ink, 30, 10);
         EXPECT_EQ(inkOfColour(page, kRed).left, ink.left) << "in the text colour, red read as Windows RGB";
         EXPECT_LT(ink.height(), 30) << "20 pixels high";
     }},
    // The measured rectangle in the back colour behind the red text.
    {"DrawTextBackColor",
     [](TextTable& t) {
         const int32_t page = t.page();
         t.draw("DrawTextBackColor", {MakeBstrUtf8(kBlock), MakeI4(30), MakeI4(10), MakeI4(20), MakeI4(0),
                                      MakeI4(kRgbRed), MakeBstrUtf8(kFont), MakeI4(kRgbBlue), MakeBool(false)});
         const Ink back = inkOfColour(page, kBlue);
         ASSERT_TRUE(back.any());
         EXPECT_NEAR(back.left, 30, 1);
         EXPECT_NEAR(back.top, 10, 1);
         const Ink text = inkOfColour(page, kRed);
         ASSERT_TRUE(text.any());
         EXPECT_GT(text.left, back.left);
         EXPECT_LE(text.right, back.right);
     }},
    // A quarter turn clockwise from (150, 10): the line runs down, the
    // glyphs stand to the left of the point.
    {"DrawRotatedText",
     [](TextTable& t) {
         const int32_t page = t.page();
         t.draw("DrawRotatedText", {MakeR4(90), MakeBstrUtf8("\u2588\u2588\u2588\u2588"), MakeI4(150), MakeI4(10),
                                    MakeI4(20), MakeI4(0), MakeI4(kRgbRed), MakeBstrUtf8(kFont), MakeBool(false)});
         const Ink ink = inkOfColour(page, kRed);
         ASSERT_TRUE(ink.any());
         EXPECT_GT(ink.height(), 2 * ink.width()) << "a line that runs down";
         EXPECT_LE(ink.right, 151);
         EXPECT_GE(ink.left, 125);
         EXPECT_GE(ink.top, 10);
     }},
    {"DrawRotatedTextBackColor",
     [](TextTable& t) {
         const int32_t page = t.page();
         t.draw("DrawRotatedTextBackColor",
                {MakeR4(90), MakeBstrUtf8("\u2588\u2588\u2588\u2588"), MakeI4(150), MakeI4(10), MakeI4(20), MakeI4(0),
                 MakeI4(kRgbRed), MakeBstrUtf8(kFont), MakeI4(kRgbBlue), MakeBool(false)});
         const Ink back = inkOfColour(page, kBlue), text = inkOfColour(page, kRed);
         ASSERT_TRUE(back.any());
         ASSERT_TRUE(text.any());
         EXPECT_GT(back.height(), 2 * back.width()) << "the rectangle turned with the text";
         EXPECT_LE(back.right, 151);
         EXPECT_GE(text.top, back.top);
         EXPECT_LE(text.bottom, back.bottom);
     }},
    // Centred in the box (20, 10, 160, 80), whose outline is drawn: the
    // glyph's middle at (100, 50).
    {"DrawTextBox",
     [](TextTable& t) {
         const int32_t page = t.page();
         t.draw("DrawTextBox", {MakeBstrUtf8("\u2588"), MakeI4(20), MakeI4(10), MakeI4(160), MakeI4(80), MakeI4(20),
                                MakeI4(1), MakeI4(0), MakeI4(kRgbRed), MakeBstrUtf8(kFont), MakeBool(true),
                                MakeBool(false)});
         const Ink outline = inkOfColour(page, 0xFF000000);
         EXPECT_EQ(outline.left, 20);
         EXPECT_EQ(outline.top, 10);
         EXPECT_NEAR(outline.right, 180, 1);
         EXPECT_NEAR(outline.bottom, 90, 1);
         const Ink glyph = inkOfColour(page, kRed);
         ASSERT_TRUE(glyph.any());
         EXPECT_NEAR((glyph.left + glyph.right) / 2.0, 100, 4);
         EXPECT_NEAR((glyph.top + glyph.bottom) / 2.0, 50, 6);
     }},
    // Red at the start of the line, blue at its end (both ARGB values).
    {"DrawTextGradient",
     [](TextTable& t) {
         const int32_t page = t.page();
         t.draw("DrawTextGradient", {MakeBstrUtf8("\u2588\u2588\u2588\u2588"), MakeI4(10), MakeI4(20),
                                     MakeI4(static_cast<int32_t>(kRed)), MakeI4(static_cast<int32_t>(kBlue)),
                                     MakeI4(30), MakeI4(0), MakeBstrUtf8(kFont), MakeBool(false)});
         const Ink ink = InkOf(page);
         expectStartsAt(ink, 10, 20);
         const int32_t middle = (ink.top + ink.bottom) / 2;
         const uint32_t start = pixel(page, ink.left + 1, middle), end = pixel(page, ink.right - 1, middle);
         EXPECT_GT((start >> 16) & 0xFF, (start & 0xFF) + 100) << std::hex << start;
         EXPECT_GT(end & 0xFF, ((end >> 16) & 0xFF) + 100) << std::hex << end;
     }},
    // Filled with the picture of a file: every inked pixel is the file's green.
    {"DrawTextTexture",
     [](TextTable& t) {
         const std::string file = (t.folder.path() / "green.png").string();
         ASSERT_EQ(SaveImageAsPng(t.texture(kGreen), file), OK);
         const int32_t page = t.page();
         t.draw("DrawTextTexture", {MakeBstrUtf8(kBlock), MakeI4(30), MakeI4(10), MakeBstrUtf8(file), MakeI4(20),
                                    MakeI4(0), MakeBstrUtf8(kFont), MakeBool(false)});
         const Ink ink = InkOf(page);
         expectStartsAt(ink, 30, 10);
         const Ink green = inkOfColour(page, kGreen);
         EXPECT_EQ(green.left, ink.left);
         EXPECT_EQ(green.bottom, ink.bottom);
     }},
    // Filled with an image of the caller's, which stays registered.
    {"DrawTextTextureFromMorvalenImage",
     [](TextTable& t) {
         const int32_t blue = t.texture(kBlue);
         const int32_t page = t.page();
         t.draw("DrawTextTextureFromMorvalenImage", {MakeBstrUtf8(kBlock), MakeI4(30), MakeI4(10), MakeI4(blue),
                                                     MakeI4(20), MakeI4(0), MakeBstrUtf8(kFont), MakeBool(false)});
         const Ink ink = InkOf(page);
         expectStartsAt(ink, 30, 10);
         EXPECT_EQ(inkOfColour(page, kBlue).left, ink.left);
         EXPECT_NE(NativeBitmapOf(blue), nullptr) << "the texture stays the caller's";
     }},
    // A longer text is wider; a line is wider than high; no image measures 0.
    {"GetTextWidth",
     [](TextTable& t) {
         t.page();
         const float hello = t.measure("GetTextWidth", "Hello", 20);
         EXPECT_GT(t.measure("GetTextWidth", "Hello world", 20), hello * 1.5f);
         EXPECT_GT(hello, t.measure("GetTextHeight", "Hello", 20));
         t.control().setCurrentImage(0);
         EXPECT_EQ(t.measure("GetTextWidth", "Hello", 20), 0.0f);
         EXPECT_NE(t.call("GetStat").lVal, 0);
     }},
    // Twice the size, twice the height; the text itself hardly changes it.
    {"GetTextHeight",
     [](TextTable& t) {
         t.page();
         const float small = t.measure("GetTextHeight", "Hg", 20);
         EXPECT_GT(small, 20.0f);
         EXPECT_NEAR(t.measure("GetTextHeight", "Hg", 40) / small, 2.0, 0.1);
         EXPECT_NEAR(t.measure("GetTextHeight", "Hello world", 20), small, 1.0);
         EXPECT_EQ(t.call("GetStat").lVal, 0);
     }},
    // Points at 96 dpi are 4/3 of the pixels.
    {"FontSetUnit",
     [](TextTable& t) {
         t.page();
         t.call("FontSetUnit", {MakeI4(kUnitPixel)});
         const float pixels = t.measure("GetTextHeight", "Hg", 20);
         t.call("FontSetUnit", {MakeI4(kUnitPoint)});
         EXPECT_NEAR(t.measure("GetTextHeight", "Hg", 20) / pixels, 96.0 / 72.0, 0.02);
     }},
    {"FontGetUnit",
     [](TextTable& t) {
         for (int32_t unit : {kUnitPoint, kUnitPixel}) {
             t.call("FontSetUnit", {MakeI4(unit)});
             EXPECT_EQ(t.call("FontGetUnit").lVal, unit);
         }
     }},
    {"FontGetCount",
     [](TextTable& t) {
         const VARIANT count = t.call("FontGetCount");
         EXPECT_EQ(count.vt, VT_I2);
         EXPECT_EQ(count.iVal, static_cast<int16_t>(InstalledFontNames().size()));
         EXPECT_GT(count.iVal, 1);
     }},
    // Counted from 1: the first and the last family; "" outside the list.
    {"FontGetName",
     [](TextTable& t) {
         const std::vector<std::string> names = InstalledFontNames();
         ASSERT_GT(names.size(), 1u);
         const int32_t count = static_cast<int32_t>(names.size());
         EXPECT_EQ(t.text("FontGetName", {MakeI4(1)}), names.front());
         EXPECT_EQ(t.text("FontGetName", {MakeI4(count)}), names.back());
         EXPECT_EQ(t.text("FontGetName", {MakeI4(0)}), "");
         EXPECT_EQ(t.text("FontGetName", {MakeI4(count + 1)}), "");
     }},
    {"FontIsStyleAvailable",
     [](TextTable& t) {
         EXPECT_EQ(t.call("FontIsStyleAvailable", {MakeBstrUtf8(kFont), MakeI4(1)}).boolVal, VARIANT_TRUE);
         EXPECT_EQ(t.call("GetStat").lVal, 0);
         EXPECT_EQ(t.call("FontIsStyleAvailable", {MakeBstrUtf8("No Such Family 4711"), MakeI4(0)}).boolVal,
                   VARIANT_FALSE);
         EXPECT_EQ(t.call("GetStat").lVal, FontFamilyNotFound);
     }},
};
const bool kTextRowsRegistered = RegisterMemberTable("_Twain", kTextRows);

TEST_F(TextTable, EachTextAndFontMemberHasItsEffect) {
    ASSERT_TRUE(kTextRowsRegistered);
    for (const TextRow& row : kTextRows) {
        SCOPED_TRACE(row.member);
        row.run(*this);
    }
}

}  // namespace
}  // namespace scanvelt::testing
