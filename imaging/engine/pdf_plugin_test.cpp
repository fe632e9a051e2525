#include "imaging/engine/pdf_plugin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/win/message_box.h"
#include "plugins/mvpdfplug/testing/form_field_pdf.h"

namespace scanvelt {
namespace {

class PdfPluginTest : public testing_support::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        SetPdfPluginFile(MVPDFPLUG_LIBRARY);
        win::SetMessageBoxHandler([this](const win::MessageBoxRequest& r) {
            boxes.push_back(r.text);
            return win::IDOK;
        });
    }
    void TearDown() override {
        win::SetMessageBoxHandler({});
        SetPdfPluginFile("");
        EngineTest::TearDown();
    }

    files::testing::ScratchFolder folder;
    std::vector<std::string> boxes;
};

// A path and a password with blanks around them reach the plug-in without
// them; a page rendered at scale 2 and 36 dpi is a 72 dpi image.
TEST_F(PdfPluginTest, RendersTheSelectedPageIntoAnImageAtDpiTimesScale) {
    const std::string file = folder.write("form field.pdf", mvpdfplug::testing::formFieldPdf());
    const int32_t document = PdfPluginLoad("  " + file + " ");
    ASSERT_NE(document, 0);
    EXPECT_EQ(PdfPluginSetPassword(document, "  "), 1) << "a document without a password takes any";
    const PdfPlugin& plugin = BoundPdfPlugin();
    ASSERT_EQ(plugin.SelectPage(document, 1), 1);

    int32_t id = 0;
    ASSERT_EQ(PdfPageToImage(id, document, 200, 200, 1, 2.0f, 36.0, false, true), OK);
    ASSERT_NE(id, 0);
    int32_t width = 0, height = 0;
    float dpiX = 0, dpiY = 0;
    GetImageWidth(id, width);
    GetImageHeight(id, height);
    GetImageHorizontalResolution(id, dpiX);
    GetImageVerticalResolution(id, dpiY);
    EXPECT_EQ(width, 200);
    EXPECT_EQ(height, 200);
    EXPECT_EQ(dpiX, 72.0f);
    EXPECT_EQ(dpiY, 72.0f);
    uint32_t centre = 0, corner = 0;
    GetImagePixel(id, 100, 100, centre);
    GetImagePixel(id, 5, 5, corner);
    EXPECT_EQ(centre, 0xff000000u) << "the form field's box, drawn at 2 x 36 dpi";
    EXPECT_EQ(corner, 0xffffffffu);
    EXPECT_TRUE(boxes.empty());
    ReleaseImage(id);
    plugin.Close(document);
}

TEST_F(PdfPluginTest, AFailedRenderingSaysSoUnlessSilent) {
    const int32_t document = PdfPluginLoad(folder.write("form.pdf", mvpdfplug::testing::formFieldPdf()));
    int32_t id = 0;
    // No page was selected.
    EXPECT_EQ(PdfPageToImage(id, document, 100, 100, 1, 1.0f, 72.0, true, true), PdfRenderingPageError);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(PdfPageToImage(id, document, 100, 100, 1, 1.0f, 72.0, false, true), PdfRenderingPageError);
    EXPECT_EQ(boxes, (std::vector<std::string>{"Error rendering page."}));
    EXPECT_EQ(id, 0) << "no image came back";
    BoundPdfPlugin().Close(document);
}

TEST_F(PdfPluginTest, AMissingPluginIsARunTimeErrorOfEveryCall) {
    SetPdfPluginFile(folder.file("libnothing.so"));
    EXPECT_THROW(PdfPluginLoad("any.pdf"), PdfPluginUnavailable);
    int32_t id = 0;
    EXPECT_THROW(PdfPageToImage(id, 1, 10, 10, 1, 1.0f, 72.0, true, true), PdfPluginUnavailable);
}

}  // namespace
}  // namespace scanvelt
