#include <gtest/gtest.h>

#include "imaging/output/pdf_document.h"
#include "imaging/output/testing/pdf_test_support.h"

namespace scanvelt {
namespace {

using testing_support::FixedServices;
using testing_support::StreamData;

class PdfDrawingTest : public testing_support::PdfWriterTest {
protected:
    // The content that `draw` gives one page of an uncompressed document.
    std::string ContentOf(const std::function<void(cPDF&)>& draw) {
        const std::string path = File("drawing.pdf");
        cPDF pdf(FixedServices());
        EXPECT_TRUE(pdf.NewPdf(path, "", "", "", "", "", 0, -1, "", ""));
        pdf.SetCompressData(false);
        draw(pdf);
        EXPECT_EQ(pdf.ClosePdfFile(), OK);
        testing_support::ExpectQpdfCheckPasses(path);
        return StreamData(path, 6);
    }
};

TEST_F(PdfDrawingTest, ColoursAndLineState) {
    const struct {
        std::function<void(cPDF&)> draw;
        const char* content;
    } cases[] = {
        {[](cPDF& p) { p.SetColorFill(-255); }, "1 g\r\n"},
        {[](cPDF& p) { p.SetColorFill(0); }, "0 g\r\n"},
        {[](cPDF& p) { p.SetColorFill(255); }, "1 0 0 rg\r\n"},
        {[](cPDF& p) { p.SetColorFill(33023); }, "1 0.502 0 rg\r\n"},
        {[](cPDF& p) { p.SetColorStroke(0xFF0000); }, "0 0 1 RG\r\n"},
        {[](cPDF& p) { p.SetColorStroke(-128); }, "0.502 G\r\n"},
        {[](cPDF& p) { p.SetColorStroke(-256); }, ""},
        {[](cPDF& p) { p.SetDash(0, 0); }, "[ ] 0 d\r\n"},
        {[](cPDF& p) { p.SetDash(3, 1.5f); }, "[3 1.5] 0 d\r\n"},
        {[](cPDF& p) { p.SetLineWidth(0.25f); }, "0.25 w\r\n"},
        {[](cPDF& p) { p.SetLineCap(2); p.SetLineCap(3); }, "2 J\r\n"},
        {[](cPDF& p) { p.SetLineJoin(1); p.SetLineJoin(-1); }, "1 j\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(ContentOf(c.draw), c.content);
}

TEST_F(PdfDrawingTest, PaintingOperatorsFollowTheOptions) {
    const struct {
        int32_t options;
        const char* paint;
    } cases[] = {{0, ""}, {1, "S\r\n"}, {2, "h\r\n"}, {3, "h\r\nS\r\n"}, {4, "f\r\n"},
                 {5, "B\r\n"}, {6, "f\r\n"}, {7, "b\r\n"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ContentOf([&](cPDF& p) { p.LineTo(10, 20.5f, c.options); }), std::string("10 20.5 l\r\n") + c.paint)
            << c.options;
    }
}

TEST_F(PdfDrawingTest, RoundedRectanglesClampTheirRadius) {
    float radius = 8;
    const std::string content = ContentOf([&](cPDF& p) { p.Rectangle(0, 0, 20, 10, kPaintStroke, radius); });
    EXPECT_FLOAT_EQ(radius, 5);
    EXPECT_EQ(content,
              "n\r\n5 0 m\r\n15 0 l\r\n17.75 0 20 2.25 20 5 c\r\n20 5 l\r\n20 7.75 17.75 10 15 10 c\r\n5 10 l\r\n"
              "2.25 10 0 7.75 0 5 c\r\n0 5 l\r\n0 2.25 2.25 0 5 0 c\r\nS\r\n");
    float square = 0;
    EXPECT_EQ(ContentOf([&](cPDF& p) { p.Rectangle(1, 2, 3, 4, kPaintFill, square); }), "n\r\n1 2 3 4 re\r\nf\r\n");
}

TEST_F(PdfDrawingTest, CirclesAndArcs) {
    EXPECT_EQ(ContentOf([](cPDF& p) { p.DrawCircle(100, 100, 10, kPaintFill | kPaintStroke); }),
              "100 90 m\r\n105.5 90 110 94.5 110 100 c\r\n110 105.5 105.5 110 100 110 c\r\n"
              "94.5 110 90 105.5 90 100 c\r\n90 94.5 94.5 90 100 90 c\r\nB\r\n");
    EXPECT_EQ(ContentOf([](cPDF& p) { p.Arc(50, 50, 10, 0, 90, 1, true, 0, 45, kPaintStroke); }),
              "n\r\n50 50 m\r\n60 50 l\r\n57.071 57.071 l\r\n50 60 l\r\n50 50 l\r\nS\r\n");
    // An open arc starts at its first point; a step of 0 still ends.
    EXPECT_EQ(ContentOf([](cPDF& p) { p.Arc(0, 0, 10, 0, 180, 1, false, 0, 90, 0); }),
              "n\r\n0 0 m\r\n10 0 m\r\n10 0 l\r\n0 10 l\r\n-10 0 l\r\n");
    EXPECT_EQ(ContentOf([](cPDF& p) { p.Arc(0, 0, 10, 0, 180, 1, false, 0, 0, 0); }),
              "n\r\n0 0 m\r\n10 0 m\r\n10 0 l\r\n");
}

TEST_F(PdfDrawingTest, ShapesAreRenderedWhereTheyArePlaced) {
    const std::string path = File("shapes.pdf");
    {
        cPDF pdf;
        ASSERT_TRUE(pdf.NewPdf(path, "", "", "", "", "", 0, -1, "", ""));
        pdf.SetPaperWidth(200);
        pdf.SetPaperHeight(100);
        pdf.SetColorFill(255);  // red
        float radius = 0;
        pdf.Rectangle(10, 10, 50, 30, kPaintFill, radius);  // bottom left
        pdf.SetColorFill(0xFF0000);  // blue
        pdf.DrawCircle(150, 70, 20, kPaintFill);  // top right
        ASSERT_EQ(pdf.ClosePdfFile(), OK);
    }
    testing_support::ExpectQpdfCheckPasses(path);
    const auto page = testing_support::RenderFirstPage(path, 72, File("shapes"));
    ASSERT_EQ(page.Width, 200);
    ASSERT_EQ(page.Height, 100);
    EXPECT_EQ(page.At(35, 100 - 25), 0xFF0000u);   // inside the rectangle
    EXPECT_EQ(page.At(150, 100 - 70), 0x0000FFu);  // the circle's centre
    EXPECT_EQ(page.At(135, 100 - 55), 0xFFFFFFu);  // outside the circle, inside its box
    EXPECT_EQ(page.At(100, 50), 0xFFFFFFu);
}

}  // namespace
}  // namespace scanvelt
