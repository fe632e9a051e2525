// The OCR members of _Twain called by dispatch ID on a page of two lines,
// "Invoice 4711" and "Total due", set 1.5 inches from the left and half an
// inch from the top at 300 dpi (so x and y differ everywhere): the text read,
// and each character's fields for the first and the last character of each
// line, against where the page drew its words.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_rotation.h"
#include "imaging/engine/testing/ocr_test_support.h"
#include "imaging/twain/testing/twain_tables.h"
#include "platform/com/bstr.h"

namespace scanvelt::testing {
namespace {

using namespace com;
using mvocr::testing::DrawTextPage;
using mvocr::testing::TextPage;

constexpr int32_t kEnglish = 2;
constexpr int32_t kCharCount = 19;  // "Invoice4711" and "Totaldue"

class OcrTable;

struct OcrRow {
    const char* member;
    void (*run)(OcrTable&);  // after the page was read
};

class OcrTable : public TwainTable {
public:
    using TwainTable::call;
    OcrTable() : page(DrawTextPage(1800, 700, 300, {"Invoice 4711", "Total due"}, 12, 1.5, 0.5)) {}
    ~OcrTable() override {
        control().setCurrentImage(0);
        if (image_) ReleaseImage(image_);
    }
    TwainControl& control() { return static_cast<TwainObject*>(twain)->control(); }

    // The page made the current image and read by OCRTesseractDoOCR.
    std::string read() {
        if (!image_) image_ = testing_support::TextPageImage(page, 300);
        control().setCurrentImage(image_);
        VARIANT result = call("OCRTesseractDoOCR", {MakeI4(kEnglish), MakeBstrUtf8(""), MakeBstrUtf8("")});
        std::string text = result.vt == VT_BSTR ? BstrToUtf8(result.bstrVal) : "(not a text)";
        VariantClear(&result);
        return text;
    }
    int32_t field(const char* member, int32_t charNo) { return call(member, {MakeI4(charNo)}).lVal; }
    // A page filled with lines of text, so that its top-left third (all that
    // OCRTesseractGetOrientation reads) holds text either way up; made the
    // current image upright or upside down. The test releases it.
    int32_t turnedPage(bool upsideDown) {
        const std::vector<std::string> lines(11, "Invoice 4711 total amount due");
        const int32_t image = testing_support::TextPageImage(DrawTextPage(1200, 1000, 300, lines, 12, 0.3, 0.3), 300);
        if (upsideDown) EXPECT_EQ(RotateFlipImage(image, 2, false), OK);
        control().setCurrentImage(image);
        return image;
    }

    TextPage page;

private:
    testing_support::BuildTreeOcrPlugin plugin_;
    int32_t image_ = 0;
};

// Character numbers: 1 'I' and 11 '1' end line 1; 12 'T' and 19 'e' line 2.
const OcrRow kOcrRows[] = {
    {"OCRTesseractDoOCR",
     [](OcrTable& t) {
         EXPECT_EQ(t.read(), "Invoice 4711\r\nTotal due");
         EXPECT_EQ(t.call("GetStat").lVal, 0);
     }},
    {"OCRTesseractGetCharCount", [](OcrTable& t) { EXPECT_EQ(t.call("OCRTesseractGetCharCount").lVal, kCharCount); }},
    {"OCRTesseractGetCharCode",
     [](OcrTable& t) {
         const struct {
             int32_t charNo, code;
         } cases[] = {{1, 'I'}, {8, '4'}, {11, '1'}, {12, 'T'}, {kCharCount, 'e'}, {0, 0}, {kCharCount + 1, 0}};
         for (const auto& c : cases) EXPECT_EQ(t.field("OCRTesseractGetCharCode", c.charNo), c.code) << c.charNo;
     }},
    {"OCRTesseractGetCharLine",
     [](OcrTable& t) {
         const struct {
             int32_t charNo, line;
         } cases[] = {{1, 1}, {11, 1}, {12, 2}, {kCharCount, 2}, {0, 0}};
         for (const auto& c : cases) EXPECT_EQ(t.field("OCRTesseractGetCharLine", c.charNo), c.line) << c.charNo;
     }},
    // The spaces before a character: one before the second word of each line.
    {"OCRTesseractGetCharSpaces",
     [](OcrTable& t) {
         const struct {
             int32_t charNo, spaces;
         } cases[] = {{1, 0}, {7, 0}, {8, 1}, {17, 1}, {kCharCount, 0}};
         for (const auto& c : cases) EXPECT_EQ(t.field("OCRTesseractGetCharSpaces", c.charNo), c.spaces) << c.charNo;
     }},
    // The first character of each word starts where the word does.
    {"OCRTesseractGetCharLeft",
     [](OcrTable& t) {
         const struct {
             int32_t charNo, word;
         } cases[] = {{1, 0}, {8, 1}, {12, 2}, {17, 3}};
         for (const auto& c : cases)
             EXPECT_NEAR(t.field("OCRTesseractGetCharLeft", c.charNo), t.page.Words[c.word].Left, 4) << c.charNo;
         EXPECT_EQ(t.field("OCRTesseractGetCharLeft", 0), 0);
     }},
    // The last character of each word ends where the word does.
    {"OCRTesseractGetCharRight",
     [](OcrTable& t) {
         const struct {
             int32_t charNo, word;
         } cases[] = {{7, 0}, {11, 1}, {16, 2}, {kCharCount, 3}};
         for (const auto& c : cases)
             EXPECT_NEAR(t.field("OCRTesseractGetCharRight", c.charNo), t.page.Words[c.word].Right, 4) << c.charNo;
         EXPECT_EQ(t.field("OCRTesseractGetCharRight", kCharCount + 1), 0);
     }},
    // Capitals reach the top of their word; every line its own.
    {"OCRTesseractGetCharTop",
     [](OcrTable& t) {
         EXPECT_NEAR(t.field("OCRTesseractGetCharTop", 1), t.page.Words[0].Top, 4);
         EXPECT_NEAR(t.field("OCRTesseractGetCharTop", 12), t.page.Words[2].Top, 4);
         EXPECT_EQ(t.field("OCRTesseractGetCharTop", 0), 0);
     }},
    // Letters without descenders end on their line's baseline.
    {"OCRTesseractGetCharBottom",
     [](OcrTable& t) {
         EXPECT_NEAR(t.field("OCRTesseractGetCharBottom", 1), t.page.Words[0].Baseline, 4);
         EXPECT_NEAR(t.field("OCRTesseractGetCharBottom", kCharCount), t.page.Words[3].Baseline, 4);
         EXPECT_EQ(t.field("OCRTesseractGetCharBottom", kCharCount + 1), 0);
     }},
    // Clear print reads as sure: low values on the 0 (sure) to 100 scale;
    // outside the list 100.
    {"OCRTesseractGetCharConfidence",
     [](OcrTable& t) {
         for (int32_t charNo : {1, 12, kCharCount}) {
             const float confidence = t.call("OCRTesseractGetCharConfidence", {MakeI4(charNo)}).fltVal;
             EXPECT_GE(confidence, 0.0f) << charNo;
             EXPECT_LT(confidence, 25.0f) << charNo;
         }
         EXPECT_EQ(t.call("OCRTesseractGetCharConfidence", {MakeI4(0)}).fltVal, 100.0f);
         EXPECT_EQ(t.call("OCRTesseractGetCharConfidence", {MakeI4(kCharCount + 1)}).fltVal, 100.0f);
     }},
    {"OCRTesseractClear",
     [](OcrTable& t) {
         t.call("OCRTesseractClear");
         EXPECT_EQ(t.call("OCRTesseractGetCharCount").lVal, 0);
         EXPECT_EQ(t.field("OCRTesseractGetCharCode", 1), 0);
     }},
    // The orientation read from the page's top-left third (accuracy 3):
    // upright no turn; upside down what the member with accuracy 3 answers;
    // without an image no turn and status 1. The image is never turned.
    {"OCRTesseractGetOrientation",
     [](OcrTable& t) {
         for (bool upsideDown : {false, true}) {
             const int32_t image = t.turnedPage(upsideDown);
             const int32_t turn = t.call("OCRTesseractGetOrientation", {MakeI4(kEnglish), MakeBstrUtf8("")}).lVal;
             if (upsideDown)
                 EXPECT_EQ(turn, t.call("OCRTesseractGetOrientationEx",
                                        {MakeI4(kEnglish), MakeBstrUtf8(""), MakeR4(3)}).lVal);
             else
                 EXPECT_EQ(turn, 0);
             EXPECT_EQ(testing_support::SizeOf(image), (std::pair<int32_t, int32_t>{1200, 1000}));
             EXPECT_EQ(t.call("OCRTesseractGetCharCount").lVal, 0) << "the check empties the character list";
             t.control().setCurrentImage(0);
             ReleaseImage(image);
         }
         EXPECT_EQ(t.call("OCRTesseractGetOrientation", {MakeI4(kEnglish), MakeBstrUtf8("")}).lVal, 0);
         EXPECT_EQ(t.call("GetStat").lVal, GenericError);
     }},
    // With accuracy 5 the whole page is read: upside down it needs a turn.
    {"OCRTesseractGetOrientationEx",
     [](OcrTable& t) {
         for (bool upsideDown : {false, true}) {
             const int32_t image = t.turnedPage(upsideDown);
             const int32_t turn =
                 t.call("OCRTesseractGetOrientationEx", {MakeI4(kEnglish), MakeBstrUtf8(""), MakeR4(5)}).lVal;
             EXPECT_EQ(turn != 0, upsideDown) << turn;
             t.control().setCurrentImage(0);
             ReleaseImage(image);
         }
     }},
};
const bool kOcrRowsRegistered = RegisterMemberTable("_Twain", kOcrRows);

TEST_F(OcrTable, EachOcrMemberHasItsEffect) {
    ASSERT_TRUE(kOcrRowsRegistered);
    for (const OcrRow& row : kOcrRows) {
        SCOPED_TRACE(row.member);
        ASSERT_EQ(read(), "Invoice 4711\r\nTotal due");
        row.run(*this);
    }
}

}  // namespace
}  // namespace scanvelt::testing
