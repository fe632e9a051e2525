#include "plugins/mvocr/mvocr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/files/testing/scratch_folder.h"
#include "plugins/mvocr/testing/text_page.h"

namespace mvocr {
namespace {

using testing::DrawTextPage;
using testing::TextPage;

struct Result {
    int32_t Returned = -1;
    int32_t Status = -1;
    std::vector<MvocrChar> Records;

    // The records' text, with a blank per space and a newline per line change.
    std::string Text() const {
        std::string out;
        for (size_t i = 0; i < Records.size(); ++i) {
            if (i > 0 && Records[i].line != Records[i - 1].line) out += '\n';
            if (Records[i].spaces > 0) out += ' ';
            out += Records[i].code >= 0 && Records[i].code < 128 ? static_cast<char>(Records[i].code) : '?';
        }
        return out;
    }
};

Result ocr(const uint8_t* pixels, int32_t width, int32_t height, int32_t bits, int32_t pitch,
           const char* whiteList = "", const char* language = "eng", const char* folder = "", int32_t dpi = 300) {
    Result r;
    const MvocrChar* block = nullptr;
    int32_t count = -1;
    r.Returned = MVOCR_OCR(language, folder, whiteList, &block, &r.Status, width, height, pixels, bits, pitch, &count,
                           dpi, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    if (r.Returned == 0 && count > 0) r.Records.assign(block, block + count);
    if (r.Returned != 0) {
        EXPECT_EQ(count, 0);
    }
    MVOCR_CLEAR();
    return r;
}

Result ocr(const TextPage& page, const char* whiteList = "") {
    return ocr(page.Bgr.data(), page.Width, page.Height, 24, page.Stride, whiteList);
}

TEST(OcrPlugin, ReadsPrintedLinesWithTheirBoxesLinesAndSpaces) {
    const TextPage page = DrawTextPage(2000, 700, 300, {"Invoice number 4711", "Total amount due"});
    const Result r = ocr(page);
    ASSERT_EQ(r.Returned, 0);
    EXPECT_EQ(r.Text(), "Invoice number 4711\nTotal amount due");

    // Each word's first and last letter lie at the drawn word's ends.
    size_t word = 0;
    for (size_t i = 0; i < r.Records.size(); ++i) {
        const bool starts = i == 0 || r.Records[i].spaces > 0 || r.Records[i].line != r.Records[i - 1].line;
        if (!starts) continue;
        ASSERT_LT(word, page.Words.size());
        size_t end = i;
        while (end + 1 < r.Records.size() && r.Records[end + 1].spaces == 0 &&
               r.Records[end + 1].line == r.Records[i].line)
            ++end;
        const testing::DrawnWord& drawn = page.Words[word++];
        int top = r.Records[i].top, bottom = r.Records[i].bottom;
        for (size_t k = i; k <= end; ++k) {
            top = std::min<int>(top, r.Records[k].top);
            bottom = std::max<int>(bottom, r.Records[k].bottom);
        }
        EXPECT_NEAR(r.Records[i].left, drawn.Left, 4) << drawn.Text;
        EXPECT_NEAR(r.Records[end].right, drawn.Right, 4) << drawn.Text;
        EXPECT_NEAR(top, drawn.Top, 4) << drawn.Text;
        EXPECT_NEAR(bottom, drawn.Bottom, 4) << drawn.Text;
        EXPECT_LE(r.Records[i].confidence, 64) << "clear print reads as sure: " << drawn.Text;
    }
    EXPECT_EQ(word, page.Words.size());
}

TEST(OcrPlugin, ReadsOneBitPagesWithZeroAsBlack) {
    const TextPage page = DrawTextPage(1600, 400, 300, {"Paid in full"});
    int32_t pitch = 0;
    const std::vector<uint8_t> rows = testing::OneBitRows(page, pitch);
    const Result r = ocr(rows.data(), page.Width, page.Height, 1, pitch);
    ASSERT_EQ(r.Returned, 0);
    EXPECT_EQ(r.Text(), "Paid in full");
}

TEST(OcrPlugin, TheWhiteListIsDataEvenWithANewlineInIt) {
    const TextPage page = DrawTextPage(1600, 400, 300, {"ABC 123"});
    EXPECT_EQ(ocr(page, "0123456789").Text().find_first_of("ABC"), std::string::npos);
    // Read as configuration lines the second line would forbid every letter.
    const Result r = ocr(page, "ABC123\ntessedit_char_blacklist ABC123");
    ASSERT_EQ(r.Returned, 0);
    EXPECT_EQ(r.Text(), "ABC 123");
}

TEST(OcrPlugin, AnEmptyPageGivesNoRecords) {
    const std::vector<uint8_t> white(300 * 3 * 200, 255);
    const Result r = ocr(white.data(), 300, 200, 24, 900);
    EXPECT_EQ(r.Returned, 0);
    EXPECT_TRUE(r.Records.empty());
}

TEST(OcrPlugin, MissingDictionariesAndBadArgumentsFailWithTheirStatus) {
    files::testing::ScratchFolder empty;
    const std::vector<uint8_t> white(30 * 3 * 20, 255);
    struct Case {
        const char* Language;
        std::string Folder;
        const uint8_t* Pixels;
        int32_t Bits, Pitch;
        int32_t Status;
    };
    const Case cases[] = {
        {"eng", empty.path().string(), white.data(), 24, 90, MVOCR_STATUS_NO_DICTIONARY},
        {"xyz", "", white.data(), 24, 90, MVOCR_STATUS_NO_DICTIONARY},
        {"../eng", "", white.data(), 24, 90, MVOCR_STATUS_NO_DICTIONARY},
        {"eng+osd", "", white.data(), 24, 90, MVOCR_STATUS_NO_DICTIONARY},
        {"eng", "", nullptr, 24, 90, MVOCR_STATUS_BAD_ARGUMENT},
        {"eng", "", white.data(), 8, 90, MVOCR_STATUS_BAD_ARGUMENT},
        {"eng", "", white.data(), 24, 89, MVOCR_STATUS_BAD_ARGUMENT},
    };
    for (const Case& c : cases) {
        const Result r = ocr(c.Pixels, 30, 20, c.Bits, c.Pitch, "", c.Language, c.Folder.c_str());
        EXPECT_NE(r.Returned, 0) << c.Language << " in '" << c.Folder << "'";
        EXPECT_EQ(r.Status, c.Status) << c.Language << " in '" << c.Folder << "'";
    }
    EXPECT_EQ(MVOCR_HasDictionary("eng", ""), 1);
    EXPECT_EQ(MVOCR_HasDictionary("eng", empty.path().string().c_str()), 0);
    EXPECT_EQ(MVOCR_HasDictionary("../tessdata/eng", ""), 0);
    EXPECT_GE(MVOCR_GetVersion(), 100);
}

TEST(OcrPlugin, AReinitialisedEngineReadsAgain) {
    const TextPage page = DrawTextPage(1200, 500, 300, {"Receipt"});
    EXPECT_EQ(ocr(page).Text(), "Receipt");
    MVOCR_REINIT();
    EXPECT_EQ(ocr(page).Text(), "Receipt");
}

}  // namespace
}  // namespace mvocr
