#include <gtest/gtest.h>

#include "imaging/output/pdf_document.h"
#include "imaging/output/testing/pdf_test_support.h"

namespace scanvelt {
namespace {

using testing_support::FixedServices;
using testing_support::ReadBytes;
using testing_support::StreamData;

class PdfTemplatesTest : public testing_support::PdfWriterTest {};

TEST_F(PdfTemplatesTest, PlacementBitsChooseThePages) {
    const struct {
        int32_t options;
        std::vector<bool> pages;  // pages 1 to 7
    } cases[] = {
        {12, {false, false, true, false, true, false, true}},
        {4, {true, false, true, false, true, false, true}},
        {2, {false, true, false, true, false, true, false}},
        {15, {true, true, true, true, true, true, true}},
        {7, {true, true, true, true, true, true, true}},
        {1, {false, false, false, false, false, false, false}},
    };
    for (const auto& c : cases) {
        const std::string path = File("placed.pdf");
        cPDF pdf(FixedServices());
        ASSERT_TRUE(pdf.NewPdf(path, "", "", "", "", "", 0, -1, "", ""));
        pdf.SetCompressData(false);
        pdf.StartObject("Stamp", c.options);
        pdf.SetLineWidth(2);
        pdf.EndObject();
        for (int page = 1; page <= 7; ++page) {
            EXPECT_EQ(pdf.BeginPage(), page);
            pdf.MoveTo(1, 1);
        }
        ASSERT_EQ(pdf.ClosePdfFile(), OK);
        testing_support::ExpectQpdfCheckPasses(path);
        // The template is objects 5 and 6 (its length); page p's content is 6 + 2p.
        EXPECT_EQ(StreamData(path, 5), "2 w\r\n");
        for (int page = 1; page <= 7; ++page) {
            EXPECT_EQ(StreamData(path, 6 + 2 * page),
                      std::string(c.pages[static_cast<size_t>(page - 1)] ? "/Stamp Do\r\n" : "") + "1 1 m\r\n")
                << "options " << c.options << " page " << page;
        }
    }
}

TEST_F(PdfTemplatesTest, ATemplatesDrawingIsRenderedOnItsPages) {
    const std::string path = File("logo.pdf");
    {
        cPDF pdf(FixedServices());
        ASSERT_TRUE(pdf.NewPdf(path, "", "", "", "", "", 0, -1, "", ""));
        pdf.SetPaperWidth(100);
        pdf.SetPaperHeight(100);
        pdf.StartObject("Logo", 0);
        pdf.SetColorFill(255);
        float radius = 0;
        pdf.Rectangle(0, 0, 50, 50, kPaintFill, radius);
        pdf.EndObject();
        pdf.BeginPage();
        pdf.DrawObject("Logo");
        ASSERT_EQ(pdf.ClosePdfFile(), OK);
    }
    const std::string bytes = ReadBytes(path);
    EXPECT_NE(bytes.find("<</Type/XObject/Subtype/Form/FormType 1/Name/Logo/BBox [0 0 100 100]/Matrix [1 0 0 1 0 0]"),
              std::string::npos);
    EXPECT_NE(bytes.find("/XObject <</Logo 5 0 R \r>>"), std::string::npos);
    testing_support::ExpectQpdfCheckPasses(path);
    const auto page = testing_support::RenderFirstPage(path, 72, File("logo"));
    EXPECT_EQ(page.At(25, 75), 0xFF0000u);
    EXPECT_EQ(page.At(75, 25), 0xFFFFFFu);
}

TEST_F(PdfTemplatesTest, TemplatesOfAnEncryptedDocumentAreEncrypted) {
    const std::string path = File("secret-template.pdf");
    {
        cPDF pdf(FixedServices());
        ASSERT_TRUE(pdf.NewPdf(path, "", "", "", "", "", kPdfEncryption40BitRC4, -1, "user", "owner"));
        pdf.SetCompressData(false);
        pdf.StartObject("Watermark", 15);
        pdf.MoveTo(12, 34);
        pdf.LineTo(56, 78, kPaintStroke);
        pdf.EndObject();
        pdf.BeginPage();
        ASSERT_EQ(pdf.ClosePdfFile(), OK);
    }
    EXPECT_EQ(ReadBytes(path).find("12 34 m"), std::string::npos);
    testing_support::ExpectQpdfCheckPasses(path, "user");
    // Encrypt dictionary 5, template 6 and its length 7.
    EXPECT_EQ(StreamData(path, 6, "user"), "12 34 m\r\n56 78 l\r\nS\r\n");
}

}  // namespace
}  // namespace scanvelt
