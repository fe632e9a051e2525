#include "imaging/output/pdf_ocr_layer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "imaging/engine/testing/ocr_test_support.h"
#include "imaging/output/testing/pdf_test_support.h"

namespace scanvelt {
namespace {

using testing_support::FixedServices;
using testing_support::Quoted;
using testing_support::RunTool;

OcrChar letter(int32_t code, int16_t line, int16_t left, int16_t right, int16_t bottom, int16_t spaces = 0) {
    OcrChar c{};
    c.code = code;
    c.line = line;
    c.left = left;
    c.right = right;
    c.top = static_cast<int16_t>(bottom - 40);
    c.bottom = bottom;
    c.spaces = spaces;
    return c;
}

// Records of a word, 30 pixels a letter from `left`, all on `line` with `bottom`.
void addWord(std::vector<OcrChar>& chars, const std::string& word, int16_t line, int16_t left, int16_t bottom,
             bool spaced) {
    for (size_t i = 0; i < word.size(); ++i) {
        const auto x = static_cast<int16_t>(left + 30 * i);
        chars.push_back(letter(word[i], line, x, static_cast<int16_t>(x + 26), bottom, i == 0 && spaced ? 1 : 0));
    }
}

// A writer with a page of a 300-dpi (or `dpi`) image 2400 x 900 pixels, font 1
// loaded, invisible text on.
class PdfOcrLayerTest : public testing_support::PdfWriterTest {
protected:
    void Open(float dpi = 300, float dpiY = 0) {
        if (dpiY <= 0) dpiY = dpi;
        pdf_ = std::make_unique<cPDF>(FixedServices());
        pdf_->SetPdfA(true);
        ASSERT_TRUE(pdf_->NewPdf(File("layer.pdf"), "", "", "", "", "", 0, -1, "", ""));
        ASSERT_EQ(pdf_->LoadFont("Courier New", false, false), 1);
        const auto page = mvocr::testing::DrawTextPage(2400, 900, 300, {});
        const int32_t id = testing_support::TextPageImage(page, dpi);
        ASSERT_NE(id, 0);
        SetImageResolution(id, dpi, dpiY, false);
        ASSERT_EQ(pdf_->PdfAddImage(id, kPdfImageFromImageId), 1);
        pdf_->SetPaperWidth(static_cast<float>(2400 * 72 / dpi));
        pdf_->SetPaperHeight(static_cast<float>(900 * 72 / dpiY));
        pdf_->BeginPage();
        pdf_->SetTextMode(3);
        pdf_->DrawImg(1, 0, 0, pdf_->PaperWidth(), pdf_->PaperHeight());
    }
    struct ExpectedWord {
        std::string Word;
        double Left, Right, Baseline;  // points, y from the top as pdftotext gives it
    };
    // The words pdftotext finds in the written file, in order, at their boxes.
    void ExpectWordBoxes(const std::vector<ExpectedWord>& expected) {
        const std::string boxes = RunTool("pdftotext -bbox " + Quoted(File("layer.pdf")) + " -").Output;
        const std::regex wordBox(R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]+)</word>)re");
        size_t found = 0;
        for (auto it = std::sregex_iterator(boxes.begin(), boxes.end(), wordBox); it != std::sregex_iterator(); ++it) {
            ASSERT_LT(found, expected.size()) << boxes;
            const ExpectedWord& e = expected[found++];
            EXPECT_EQ((*it)[5], e.Word);
            EXPECT_NEAR(std::stod((*it)[1]), e.Left, 1) << e.Word;
            EXPECT_NEAR(std::stod((*it)[3]), e.Right, 2) << e.Word;
            // pdftotext's box runs from the font's ascent to its descent around the baseline.
            EXPECT_LT(std::stod((*it)[2]), e.Baseline) << e.Word;
            EXPECT_GT(std::stod((*it)[4]), e.Baseline) << e.Word;
        }
        EXPECT_EQ(found, expected.size()) << boxes;
    }
    std::unique_ptr<cPDF> pdf_;
};

TEST_F(PdfOcrLayerTest, WordsLieAtTheirBoxesInvisiblyAndComeBackAsText) {
    Open();
    std::vector<OcrChar> chars;
    addWord(chars, "Invoice", 1, 300, 350, false);
    addWord(chars, "4711", 1, 600, 350, true);
    addWord(chars, "Total", 2, 300, 450, false);
    addWord(chars, "gap", 2, 600, 450, true);
    // "gap" reaches below the line: its p and g sit lower than its a.
    chars[chars.size() - 3].bottom = 462;
    chars[chars.size() - 1].bottom = 462;
    addWord(chars, "due", 2, 900, 450, true);

    const std::string text = DrawOcrTextToPdf(chars, static_cast<int32_t>(chars.size()), *pdf_, 1);
    EXPECT_EQ(text, "Invoice  4711\r\nTotal  gap  due");
    pdf_->EndPage();
    ASSERT_EQ(pdf_->ClosePdfFile(), OK);
    testing_support::ExpectQpdfCheckPasses(File("layer.pdf"));

    // Every word lies at its box: x from its left edge, the baseline at the
    // mean bottom of its letters above the line, 72 points an inch.
    ExpectWordBoxes({{"Invoice", 72, 72 + 206 * 0.24, 84}, {"4711", 144, 144 + 116 * 0.24, 84},
                     {"Total", 72, 72 + 146 * 0.24, 108}, {"gap", 144, 144 + 86 * 0.24, 108},
                     {"due", 216, 216 + 86 * 0.24, 108}});
    const std::string fonts = RunTool("pdffonts " + Quoted(File("layer.pdf"))).Output;
    EXPECT_NE(fonts.find("TrueType"), std::string::npos) << fonts;
}

// Across the page goes by the horizontal resolution, down it by the vertical
// one: at 200 x 100 dpi a pixel is 0.36 points wide and 0.72 points high, so a
// word placed or sized by the wrong one lands visibly elsewhere.
TEST_F(PdfOcrLayerTest, WordsOfAPageWithUnequalResolutionsLieAtTheirBoxes) {
    ASSERT_NO_FATAL_FAILURE(Open(200, 100));
    ASSERT_EQ(pdf_->ImageResX(1), 200);
    ASSERT_EQ(pdf_->ImageResY(1), 100);
    std::vector<OcrChar> chars;
    addWord(chars, "Invoice", 1, 300, 350, false);
    addWord(chars, "4711", 1, 600, 350, true);
    addWord(chars, "due", 2, 1200, 450, false);
    EXPECT_EQ(DrawOcrTextToPdf(chars, static_cast<int32_t>(chars.size()), *pdf_, 1), "Invoice  4711\r\ndue");
    pdf_->EndPage();
    ASSERT_EQ(pdf_->ClosePdfFile(), OK);
    ExpectWordBoxes({{"Invoice", 300 * 0.36, (300 + 206) * 0.36, 350 * 0.72},
                     {"4711", 600 * 0.36, (600 + 116) * 0.36, 350 * 0.72},
                     {"due", 1200 * 0.36, (1200 + 86) * 0.36, 450 * 0.72}});
}

TEST_F(PdfOcrLayerTest, TheBaselineSkipsLettersBelowTheLineAndTheSizeFitsTheBox) {
    Open();
    std::vector<OcrChar> chars;
    addWord(chars, "gap", 1, 300, 450, false);
    chars[0].bottom = 470;
    chars[2].bottom = 470;
    addWord(chars, "pq", 1, 600, 460, true);
    chars[4].bottom = 475;
    // 900 pixels high at 300 dpi: a page of 216 points.
    EXPECT_FLOAT_EQ(OcrWordBaseline(chars, 0, 5, 300, *pdf_), static_cast<float>(216 - 450 / 300.0 * 72));
    EXPECT_FLOAT_EQ(OcrWordBaseline(chars, 3, 5, 300, *pdf_), static_cast<float>(216 - 460 / 300.0 * 72));

    // One step above the first size at which the word is as wide as its box.
    const float size = OcrWordFontSize(chars, 0, 5, 300, *pdf_);
    const double target = (chars[2].right - chars[0].left) / 300.0 * 72;
    EXPECT_GE(pdf_->TextWidth("gap", 1, size - 0.1f), target * 0.999);
    EXPECT_LT(pdf_->TextWidth("gap", 1, size - 0.2f), target);
    std::vector<OcrChar> unreadable{letter(-1, 1, 0, 0, 10)};
    EXPECT_FLOAT_EQ(OcrWordFontSize(unreadable, 0, 1, 300, *pdf_), 0.2f) << "an empty word";
}

TEST_F(PdfOcrLayerTest, NothingIsDrawnWithoutCharactersOrResolution) {
    for (const float dpi : {300.0f, 0.4f}) {
        Open(dpi);
        std::vector<OcrChar> chars;
        addWord(chars, "Total", 1, 300, 450, false);
        const int32_t count = dpi > 1 ? 0 : static_cast<int32_t>(chars.size());
        EXPECT_EQ(DrawOcrTextToPdf(chars, count, *pdf_, 1), "") << dpi;
        pdf_->EndPage();
        pdf_->ClosePdfFile();
    }
    EXPECT_EQ(RunTool("pdftotext " + Quoted(File("layer.pdf")) + " -").Output.find("Total"), std::string::npos);
}

}  // namespace
}  // namespace scanvelt
