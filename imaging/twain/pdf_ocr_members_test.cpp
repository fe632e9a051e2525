#include "imaging/twain/pdf_ocr_members.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/ocr_test_support.h"
#include "imaging/output/testing/pdf_test_support.h"
#include "imaging/twain/pdf_sessions.h"
#include "imaging/twain/twain_control.h"
#include "platform/files/testing/scratch_folder.h"

namespace scanvelt {
namespace {

namespace fs = std::filesystem;
using mvocr::testing::DrawTextPage;
using mvocr::testing::TextPage;
using testing_support::ExpectQpdfCheckPasses;
using testing_support::Quoted;
using testing_support::ReadBytes;
using testing_support::RunTool;

struct WordBox {
    std::string Word;
    double Left, Top, Right, Bottom;
};

// The words of a page as `pdftotext -bbox` finds them, in points from the top left.
std::vector<WordBox> WordBoxes(const std::string& pdf, int page = 1) {
    const std::string html = RunTool("pdftotext -bbox -f " + std::to_string(page) + " -l " + std::to_string(page) +
                                     " " + Quoted(pdf) + " -")
                                 .Output;
    const std::regex word(R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]+)</word>)re");
    std::vector<WordBox> boxes;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator(); ++it) {
        boxes.push_back({(*it)[5], std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4])});
    }
    return boxes;
}

const std::vector<std::string> kBill = {"Invoice number 4711", "Total amount due 129.50", "Thank you for your order"};

class PdfOcrMembersTest : public testing_support::PdfWriterTest {
protected:
    void SetUp() override {
        PdfWriterTest::SetUp();
        control_ = std::make_unique<TwainControl>();
    }
    void TearDown() override {
        control_.reset();
        PdfWriterTest::TearDown();
    }
    TwainControl& control() { return *control_; }

    testing_support::BuildTreeOcrPlugin plugin_;
    std::unique_ptr<TwainControl> control_;
};

TEST_F(PdfOcrMembersTest, ASearchablePageHasItsWordsAtTheirPlacesOverTheUnchangedImage) {
    // A4 at 300 dpi with three lines of 12-point text from one inch in.
    const TextPage page = DrawTextPage(2480, 3508, 300, kBill);
    const int32_t image = testing_support::TextPageImage(page, 300);
    control().setCurrentImage(image);
    const std::string searchable = File("searchable.pdf");
    const std::string text = SaveAsPDFOCR(control(), searchable, {2, "", ""}, "Bill 153");
    EXPECT_EQ(control().GetStat(), OK);
    EXPECT_EQ(text, "Invoice  number  4711\r\nTotal  amount  due  129.50\r\nThank  you  for  your  order");
    ExpectQpdfCheckPasses(searchable);

    // Each drawn word is found within a few points of where it was drawn.
    const std::vector<WordBox> boxes = WordBoxes(searchable);
    ASSERT_EQ(boxes.size(), page.Words.size()) << RunTool("pdftotext " + Quoted(searchable) + " -").Output;
    const double pointsPerPixel = 72.0 / 300;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const mvocr::testing::DrawnWord& drawn = page.Words[i];
        EXPECT_EQ(boxes[i].Word, drawn.Text);
        EXPECT_NEAR(boxes[i].Left, drawn.Left * pointsPerPixel, 2) << drawn.Text;
        EXPECT_NEAR(boxes[i].Right, drawn.Right * pointsPerPixel, 3) << drawn.Text;
        // The box spans the font's height around the drawn baseline.
        EXPECT_LT(boxes[i].Top, drawn.Baseline * pointsPerPixel) << drawn.Text;
        EXPECT_GT(boxes[i].Bottom, drawn.Baseline * pointsPerPixel) << drawn.Text;
        EXPECT_NEAR(boxes[i].Bottom, drawn.Baseline * pointsPerPixel, 6) << drawn.Text;
    }

    // The layer's font is listed; the page image is the plain save's image.
    const std::string fonts = RunTool("pdffonts " + Quoted(searchable)).Output;
    EXPECT_NE(fonts.find("Courier"), std::string::npos) << fonts;
    const std::string plain = File("plain.pdf");
    ASSERT_TRUE(SaveAsPDF(control(), plain));
    for (const std::string& pdf : {searchable, plain}) {
        RunTool("pdfimages -all " + Quoted(pdf) + " " + Quoted(pdf + "-image"));
    }
    const std::string withText = ReadBytes(searchable + "-image-000.jpg");
    ASSERT_GT(withText.size(), 1000u);
    EXPECT_EQ(withText, ReadBytes(plain + "-image-000.jpg"));
    EXPECT_NE(RunTool("pdfimages -list " + Quoted(searchable)).Output.find("2480  3508"), std::string::npos);

    // Every OCR document is a PDF/A-1b document.
    const std::string info = RunTool("pdfinfo -meta " + Quoted(searchable)).Output;
    EXPECT_NE(info.find("<pdfaid:part>1</pdfaid:part>"), std::string::npos) << info;
    EXPECT_NE(info.find("<pdfaid:conformance>B</pdfaid:conformance>"), std::string::npos);
    EXPECT_NE(ReadBytes(searchable).find("/OutputIntents"), std::string::npos);
    EXPECT_NE(ReadBytes(searchable).find("/S/GTS_PDFA1"), std::string::npos);
}

TEST_F(PdfOcrMembersTest, WithoutDictionaryThePageKeepsItsImageAndHasNoText) {
    files::testing::ScratchFolder emptyDictionaries;
    control().setCurrentImage(testing_support::TextPageImage(DrawTextPage(1200, 600, 300, {"Receipt"}), 300));
    const std::string path = File("no-text.pdf");
    EXPECT_EQ(SaveAsPDFOCR(control(), path, {2, emptyDictionaries.path().string(), ""}), "");
    EXPECT_EQ(control().GetStat(), OCRDictionaryNotFound);
    ExpectQpdfCheckPasses(path);
    EXPECT_TRUE(WordBoxes(path).empty());
    EXPECT_NE(RunTool("pdfimages -list " + Quoted(path)).Output.find("1200   600"), std::string::npos);

    // No current image: status 2, no file.
    control().setCurrentImage(0);
    EXPECT_EQ(SaveAsPDFOCR(control(), File("none.pdf"), {}), "");
    EXPECT_EQ(control().GetStat(), InvalidParameter);
    EXPECT_FALSE(fs::exists(File("none.pdf")));
}

TEST_F(PdfOcrMembersTest, AnEncryptedSearchablePageOpensOnlyWithItsPasswords) {
    control().setCurrentImage(testing_support::TextPageImage(DrawTextPage(1500, 500, 300, {"Secret total"}), 300));
    PdfDocumentRequest request;
    request.FilePath = File("secret.pdf");
    request.Title = "Bill";
    request.Encryption = kPdfEncryption128BitRC4;
    request.Rights = kPdfRightCanPrint;
    request.UserPassword = "user";
    request.OwnerPassword = "owner";
    EXPECT_EQ(SaveAsPDFOCREx(control(), {2, "", ""}, request), "Secret  total");
    EXPECT_EQ(control().GetStat(), OK);
    ExpectQpdfCheckPasses(request.FilePath, "user");
    const auto words = [&](const std::string& password) {
        return RunTool("pdftotext " + (password.empty() ? "" : "-upw " + password + " ") + Quoted(request.FilePath) +
                       " - 2>&1").Output;
    };
    EXPECT_NE(words("user").find("Secret total"), std::string::npos);
    EXPECT_EQ(words("").find("Secret total"), std::string::npos);
    EXPECT_EQ(words("wrong").find("Secret total"), std::string::npos);
    EXPECT_NE(ReadBytes(request.FilePath).find("/Encrypt"), std::string::npos);
}

TEST_F(PdfOcrMembersTest, TheOcrSessionGivesEachPageItsOwnTextLayer) {
    const std::string path = File("session.pdf");
    // Nothing open yet: 35, and no file is touched.
    EXPECT_EQ(TwainAddMorvalenImageToPdfOCR(control(), 7, {}), "");
    EXPECT_EQ(control().GetStat(), TwainPdfMustBeCreatedFirst);
    EXPECT_EQ(TwainPdfOCRStop(control()), TwainPdfMustBeCreatedFirst);

    ASSERT_EQ(TwainPdfOCRStart(control(), path, "Bills"), OK);
    EXPECT_EQ(TwainAddMorvalenImageToPdfOCR(control(), 0, {}), "");
    EXPECT_EQ(control().GetStat(), InvalidParameter);
    const int32_t first = testing_support::TextPageImage(DrawTextPage(1800, 600, 300, {"First page", "of two"}), 300);
    const int32_t second = testing_support::TextPageImage(DrawTextPage(1500, 500, 200, {"Second page"}), 200);
    EXPECT_EQ(TwainAddMorvalenImageToPdfOCR(control(), first, {2, "", ""}), "First page\r\nof two");
    // The writer holds the image: the host may release it at once.
    ReleaseImage(first);
    EXPECT_EQ(TwainAddMorvalenImageToPdfOCR(control(), second, {2, "", ""}), "Second page");
    EXPECT_EQ(control().pdfSessions().OcrPages.size(), 2u);
    EXPECT_FALSE(fs::exists(path)) << "written under a temporary name until the stop";
    EXPECT_EQ(TwainPdfOCRStop(control()), OK);
    EXPECT_TRUE(control().pdfSessions().OcrPages.empty());
    ExpectQpdfCheckPasses(path);

    const auto one = WordBoxes(path, 1);
    const auto two = WordBoxes(path, 2);
    ASSERT_EQ(one.size(), 4u);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(one[0].Word, "First");
    EXPECT_EQ(one[3].Word, "two");
    EXPECT_EQ(two[1].Word, "page");
    // The second page is 200 dpi: its words sit at one inch (72 points) in.
    EXPECT_NEAR(two[0].Left, 72, 3);
    EXPECT_EQ(TwainPdfOCRStop(control()), TwainPdfMustBeCreatedFirst);
}

TEST_F(PdfOcrMembersTest, ARefusedPageIsReportedAtTheStopAndTheAcceptedPagesKeepTheirText) {
    const std::string path = File("kept.pdf");
    const int32_t first = testing_support::TextPageImage(DrawTextPage(1200, 400, 300, {"Before"}), 300);
    const int32_t last = testing_support::TextPageImage(DrawTextPage(1200, 400, 300, {"After"}), 300);
    ASSERT_EQ(TwainPdfOCRStart(control(), path), OK);
    EXPECT_EQ(TwainAddMorvalenImageToPdfOCR(control(), first, {2, "", ""}), "Before");
    EXPECT_EQ(TwainAddMorvalenImageToPdfOCR(control(), 98765432, {2, "", ""}), "");
    EXPECT_EQ(control().GetStat(), PdfErrorAddingImage);
    EXPECT_EQ(TwainAddMorvalenImageToPdfOCR(control(), last, {2, "", ""}), "After");
    EXPECT_EQ(TwainPdfOCRStop(control()), PdfErrorAddingImage);
    ExpectQpdfCheckPasses(path);
    ASSERT_EQ(WordBoxes(path, 1).size(), 1u);
    EXPECT_EQ(WordBoxes(path, 1)[0].Word, "Before");
    ASSERT_EQ(WordBoxes(path, 2).size(), 1u);
    EXPECT_EQ(WordBoxes(path, 2)[0].Word, "After");
}

TEST_F(PdfOcrMembersTest, TheSessionsTargetIsCheckedWhenItStarts) {
    fs::create_directory(File("folder"));
    EXPECT_EQ(TwainPdfOCRStart(control(), File("folder")), CanNotCreateFile);
    EXPECT_EQ(TwainPdfOCRStart(control(), ""), CanNotCreateFile);
    EXPECT_EQ(TwainPdfOCRStop(control()), TwainPdfMustBeCreatedFirst);
    EXPECT_TRUE(fs::is_empty(File("folder")));
}

TEST_F(PdfOcrMembersTest, ASecondStartFinishesTheFirstDocumentAndEmptySessionsLeaveNoFile) {
    const int32_t page = testing_support::TextPageImage(DrawTextPage(1200, 400, 300, {"Kept"}), 300);
    ASSERT_EQ(TwainPdfOCRStart(control(), File("first.pdf")), OK);
    EXPECT_EQ(TwainAddMorvalenImageToPdfOCR(control(), page, {2, "", ""}), "Kept");
    ASSERT_EQ(TwainPdfOCRStart(control(), File("second.pdf")), OK);
    EXPECT_TRUE(control().pdfSessions().OcrPages.empty());
    EXPECT_EQ(TwainPdfOCRStop(control()), OK);
    ExpectQpdfCheckPasses(File("first.pdf"));
    ASSERT_EQ(WordBoxes(File("first.pdf")).size(), 1u);
    EXPECT_EQ(WordBoxes(File("first.pdf"))[0].Word, "Kept");
    EXPECT_FALSE(fs::exists(File("second.pdf")));
}

}  // namespace
}  // namespace scanvelt
