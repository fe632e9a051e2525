#include <gtest/gtest.h>

#include "imaging/output/pdf_document.h"
#include "imaging/output/pdf_font_metrics.h"
#include "imaging/output/testing/pdf_test_support.h"
#include "platform/gdiplus/graphics/testing/fontconfig_leak_suppression.h"

namespace scanvelt {
namespace {

using testing_support::FixedServices;
using testing_support::Quoted;
using testing_support::ReadBytes;
using testing_support::RunTool;
using testing_support::StreamData;

class PdfTextTest : public testing_support::PdfWriterTest {
protected:
    // A document with uncompressed content, so that its operators can be read.
    void Open(cPDF& pdf, const std::string& name) {
        path_ = File(name);
        ASSERT_TRUE(pdf.NewPdf(path_, "", "", "", "", "", 0, -1, "", ""));
        pdf.SetCompressData(false);
    }
    std::string path_;
};

TEST(PdfFontMetricsTest, WindowsNamesFindTheirStandInsWhateverTheirCaseAndBlanks) {
    EXPECT_EQ(FindInstalledFont("times new roman"), "Times New Roman");
    EXPECT_EQ(FindInstalledFont("TIMESNEWROMAN"), "Times New Roman");
    EXPECT_EQ(FindInstalledFont("Arial"), "Arial");
    EXPECT_EQ(FindInstalledFont("liberation sans"), "Liberation Sans");
    EXPECT_EQ(FindInstalledFont("No Such Font Anywhere"), std::nullopt);
    EXPECT_EQ(FindInstalledFont(""), std::nullopt);
}

TEST(PdfFontMetricsTest, MeasuresComeFromTheStandInFace) {
    const auto arial = MeasureFont("Arial", false, false);
    ASSERT_TRUE(arial);
    EXPECT_EQ(arial->BaseFont, "Arial");
    EXPECT_NE(arial->FaceFile.find("LiberationSans-Regular"), std::string::npos) << arial->FaceFile;
    EXPECT_TRUE(arial->TrueTypeProgram);
    // Liberation Sans is metric-compatible with Arial: "a" 556, blank 278, "W" 944.
    EXPECT_EQ(arial->Widths['a'], 556);
    EXPECT_EQ(arial->Widths[' '], 278);
    EXPECT_EQ(arial->Widths['W'], 944);
    EXPECT_EQ(arial->FirstChar, 32);
    EXPECT_EQ(arial->LastChar, 255);
    EXPECT_EQ(arial->Flags, 32);
    EXPECT_GT(arial->Ascent, 800);
    EXPECT_GT(arial->Descent, 150);
    EXPECT_GT(arial->MaxWidth, arial->AvgWidth);
    EXPECT_EQ(arial->ItalicAngle, 0);

    const auto boldItalic = MeasureFont("Times New Roman", true, true);
    ASSERT_TRUE(boldItalic);
    EXPECT_EQ(boldItalic->BaseFont, "TimesNewRoman,BoldItalic");
    EXPECT_NE(boldItalic->FaceFile.find("LiberationSerif-BoldItalic"), std::string::npos);
    EXPECT_EQ(boldItalic->ItalicAngle, -11);
    EXPECT_EQ(MeasureFont("Courier New", true, false)->BaseFont, "CourierNew,Bold");
    EXPECT_EQ(MeasureFont("Courier New", false, false)->Widths['i'], 600);
}

TEST_F(PdfTextTest, TextObjectsAndTextState) {
    cPDF pdf(FixedServices());
    Open(pdf, "text.pdf");
    EXPECT_EQ(pdf.LoadFont("times new roman", true, false), 1);
    EXPECT_EQ(pdf.LoadFont("No Such Font Anywhere", false, false), 0);
    pdf.DrawText(100, 700, "Total (net)", 1, 12, 0, 0);
    pdf.DrawText(100, 600, "Up", 1, 10, 0, 90);
    pdf.DrawText(1, 1, "unknown font", 2, 10, 0, 0);
    pdf.SetTextMode(3);
    pdf.SetTextMode(4);
    pdf.SetWordSpacing(2);
    pdf.SetCharSpacing(1);
    pdf.SetTextHorizontalScaling(50);
    ASSERT_EQ(pdf.ClosePdfFile(), OK);

    const std::string content = StreamData(path_, 8);
    EXPECT_EQ(content,
              "BT\r\n/Font1 12 Tf\r\n100 700 Td\r\n(Total \\(net\\)) Tj\r\nET\r\n"
              "BT\r\n/Font1 10 Tf\r\n0 1 -1 0 100 600 Tm\r\n(Up) Tj\r\nET\r\n"
              "3 Tr\r\n2 Tw\r\n1 Tc\r\n50 Tz\r\n");
    const std::string bytes = ReadBytes(path_);
    EXPECT_NE(bytes.find("5 0 obj\r\n<</Type/Font/Subtype/TrueType/Name/Font1/BaseFont/TimesNewRoman,Bold/FirstChar 32"
                         "/LastChar 255/FontDescriptor 6 0 R/Encoding/WinAnsiEncoding/Widths [250 333 "),
              std::string::npos);
    EXPECT_NE(bytes.find("6 0 obj\r\n<<\r/Type /FontDescriptor\r/FontName /TimesNewRoman,Bold\r/MissingWidth "),
              std::string::npos);
    EXPECT_NE(bytes.find("\r/ItalicAngle 0\r/Flags 32\r/MaxWidth  "), std::string::npos);
    EXPECT_NE(bytes.find("/Font<</Font1 5 0 R \r>>/ProcSet [/PDF/Text ]"), std::string::npos);
    testing_support::ExpectQpdfCheckPasses(path_);

    const std::string fonts = RunTool("pdffonts " + Quoted(path_)).Output;
    EXPECT_NE(fonts.find("TimesNewRoman,Bold                   TrueType          WinAnsi          no  no  no "),
              std::string::npos)
        << fonts;
    EXPECT_NE(RunTool("pdftotext " + Quoted(path_) + " -").Output.find("Total (net)"), std::string::npos);
}

TEST_F(PdfTextTest, AlignedTextIsShiftedByItsWidth) {
    cPDF pdf(FixedServices());
    Open(pdf, "aligned.pdf");
    ASSERT_EQ(pdf.LoadFont("Courier New", false, false), 1);
    // Courier's characters are 600 units wide: "abcd" at size 10 is 24 points.
    EXPECT_FLOAT_EQ(pdf.TextWidth("abcd", 1, 10), 24);
    EXPECT_FLOAT_EQ(pdf.TextWidth("abcd", 2, 10), 0);
    pdf.DrawText(100, 50, "abcd", 1, 10, 1, 0);
    pdf.DrawText(100, 40, "abcd", 1, 10, 2, 0);
    // Word spacing 2 and character spacing 1: "a b" at size 10 gains 2 for
    // its blank and 3 for its characters, then takes the scaling.
    pdf.SetWordSpacing(2);
    pdf.SetCharSpacing(1);
    EXPECT_FLOAT_EQ(pdf.TextWidth("a b", 1, 10), 18 + 2 + 3);
    pdf.SetTextHorizontalScaling(50);
    EXPECT_FLOAT_EQ(pdf.TextWidth("a b", 1, 10), (18 + 2 + 3) / 2.0f);
    ASSERT_EQ(pdf.ClosePdfFile(), OK);
    const std::string content = StreamData(path_, 8);
    EXPECT_NE(content.find("76 50 Td"), std::string::npos) << content;
    EXPECT_NE(content.find("88 40 Td"), std::string::npos) << content;
}

TEST_F(PdfTextTest, APlainDocumentKeepsItsFontsOutside) {
    cPDF pdf(FixedServices());
    Open(pdf, "plain.pdf");
    const int32_t font = pdf.LoadFont("Arial", false, false);
    pdf.DrawText(72, 720, "Petty cash", font, 14, 0, 0);
    ASSERT_EQ(pdf.ClosePdfFile(), OK);
    EXPECT_EQ(ReadBytes(path_).find("/FontFile2"), std::string::npos);
    EXPECT_NE(RunTool("pdffonts " + Quoted(path_)).Output.find("Arial                                TrueType          WinAnsi          no "),
              std::string::npos);
}

TEST_F(PdfTextTest, APdfaDocumentShowingTextEmbedsTheFontProgram) {
    cPDF pdf(FixedServices());
    pdf.SetPdfA(true);
    Open(pdf, "pdfa-text.pdf");
    const int32_t visible = pdf.LoadFont("Arial", false, false);
    const int32_t ocr = pdf.LoadFont("Times New Roman", false, false);
    pdf.DrawText(72, 720, "Receipt 42", visible, 14, 0, 0);
    pdf.SetTextMode(3);
    pdf.DrawText(72, 700, "hidden words", ocr, 14, 0, 0);
    ASSERT_EQ(pdf.ClosePdfFile(), OK);
    testing_support::ExpectQpdfCheckPasses(path_);
    const std::string fonts = RunTool("pdffonts " + Quoted(path_)).Output;
    EXPECT_NE(fonts.find("Arial                                TrueType          WinAnsi          yes no  no "),
              std::string::npos)
        << fonts;
    EXPECT_NE(fonts.find("TimesNewRoman                        TrueType          WinAnsi          no  no  no "),
              std::string::npos)
        << fonts;
    const std::string text = RunTool("pdftotext " + Quoted(path_) + " -").Output;
    EXPECT_NE(text.find("Receipt 42"), std::string::npos);
    EXPECT_NE(text.find("hidden words"), std::string::npos);
    // The embedded program is the stand-in's own file.
    const auto metrics = MeasureFont("Arial", false, false);
    const std::string program = ReadBytes(metrics->FaceFile);
    const std::string bytes = ReadBytes(path_);
    const size_t at = bytes.find("/FontFile2 ");
    ASSERT_NE(at, std::string::npos);
    const int number = std::stoi(bytes.substr(at + 11));
    EXPECT_EQ(StreamData(path_, number), program);
    EXPECT_NE(testing_support::ObjectText(path_, number).find("/Length1 " + std::to_string(program.size())),
              std::string::npos);
}

TEST_F(PdfTextTest, TextOnlyInRenderingModeThreeNeedsNoFontProgram) {
    cPDF pdf(FixedServices());
    pdf.SetPdfA(true);
    Open(pdf, "ocr.pdf");
    const int32_t font = pdf.LoadFont("Arial", false, false);
    pdf.BeginPage();
    pdf.SetTextMode(3);
    pdf.DrawText(72, 700, "recognised", font, 14, 0, 0);
    // The mode starts at 0 again on every page.
    pdf.BeginPage();
    pdf.SetTextMode(3);
    pdf.DrawText(72, 700, "more", font, 14, 0, 0);
    ASSERT_EQ(pdf.ClosePdfFile(), OK);
    testing_support::ExpectQpdfCheckPasses(path_);
    EXPECT_EQ(ReadBytes(path_).find("/FontFile2"), std::string::npos);
    EXPECT_NE(RunTool("pdftotext " + Quoted(path_) + " -").Output.find("recognised"), std::string::npos);
}

}  // namespace
}  // namespace scanvelt
