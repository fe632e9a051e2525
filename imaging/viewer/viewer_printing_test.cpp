// The viewer's printing members through its dispatch IDs, printing to a
// print system of the test's own that keeps every page it gets.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "imaging/engine/pdf_plugin.h"
#include "imaging/viewer/print_document_choice.h"
#include "imaging/viewer/testing/recording_print_system.h"
#include "imaging/viewer/testing/viewer_fixture.h"
#include "platform/files/testing/scratch_folder.h"
#include "plugins/mvpdfplug/testing/sample_pdfs.h"

namespace scanvelt::testing {
namespace {

using namespace com;

constexpr DISPID kPrintPage = 23;

class ViewerPrinting : public ViewerFixture {
protected:
    void SetUp() override {
        system = std::make_shared<RecordingPrintSystem>();
        print::InstallPrintSystem(system);
        ViewerFixture::SetUp();
        show(100, 80);
        events.answer = [this](DISPID id, DISPPARAMS& p) {
            if (id == kPrintPage) pages.push_back({p.rgvarg[1].lVal, p.rgvarg[0].lVal});
        };
    }
    void TearDown() override {
        events.answer = nullptr;
        ViewerFixture::TearDown();
        print::InstallPrintSystem(nullptr);
    }
    // Shows a black picture of 100 x 50 pixels at 100 dpi (25.4 x 12.7 mm).
    void showPicture() {
        int32_t image = makeImage(100, 50, [](int32_t, int32_t) { return 0xFF000000u; }, 100, 100);
        ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
        lent = image;
    }
    VARIANT text(const char* s) { return MakeBstrUtf8(s); }

    std::shared_ptr<RecordingPrintSystem> system;
    std::vector<std::pair<int32_t, int32_t>> pages;
    int32_t lent = 0;
};

TEST_F(ViewerPrinting, NothingShownPrintsNothingAndRaisesNothing) {
    call("PrintImage");
    call("PrintImageFit");
    call("PrintImageBySize", {MakeR4(0), MakeR4(0), MakeR4(10), MakeR4(10)});
    EXPECT_EQ(call("PrintImage2Printer", {text("Archive")}).boolVal, VARIANT_FALSE);
    EXPECT_EQ(call("PrintImageBySize2Printer", {text("Archive"), MakeR4(0), MakeR4(0), MakeR4(10), MakeR4(10)}).boolVal,
              VARIANT_FALSE);
    EXPECT_TRUE(system->documents.empty());
    EXPECT_TRUE(pages.empty());
}

TEST_F(ViewerPrinting, TheShownImageIsPrintedAndEachPageRelayedOnce) {
    showPicture();
    call("PrintSetDocumentName", {text("Bill 42")});
    call("PrintImage");
    ASSERT_EQ(system->documents.size(), 1u);
    EXPECT_EQ(system->documents[0].name, "Bill 42");
    ASSERT_EQ(system->documents[0].darkPixels.size(), 1u);
    // 25.4 x 12.7 mm at 50 dpi: 50 x 25 dark pixels.
    EXPECT_NEAR(static_cast<double>(system->documents[0].darkPixels[0]), 50 * 25, 50 + 25 + 1);
    EXPECT_EQ(pages, (std::vector<std::pair<int32_t, int32_t>>{{1, 0}}));
    EXPECT_EQ(callLong("PrintGetStat"), 0);

    // By size: 20 x 10 mm at 50 dpi is about 39 x 20 pixels.
    call("PrintImageBySize", {MakeR4(5), MakeR4(5), MakeR4(20), MakeR4(10)});
    ASSERT_EQ(system->documents.size(), 2u);
    EXPECT_NEAR(static_cast<double>(system->documents[1].darkPixels[0]), 39.4 * 19.7, 39 + 20 + 1);

    EXPECT_EQ(call("PrintImage2Printer", {text("archive")}).boolVal, VARIANT_TRUE);
    ASSERT_EQ(system->documents.size(), 3u);
    EXPECT_EQ(system->documents[2].printer, "Archive");
    EXPECT_EQ(pages.size(), 3u);
    ReleaseImage(lent);
}

TEST_F(ViewerPrinting, TheDialogGetsTheViewersWindowAndItsAnswer) {
    showPicture();
    const int32_t window = get("hwnd").lVal;
    EXPECT_EQ(call("PrintImageDialog").boolVal, VARIANT_TRUE);
    system->acceptDialog = false;
    EXPECT_EQ(call("PrintImageDialogFit").boolVal, VARIANT_FALSE);
    EXPECT_EQ(call("PrintImageDialogBySize", {MakeR4(0), MakeR4(0), MakeR4(10), MakeR4(10)}).boolVal, VARIANT_FALSE);
    EXPECT_EQ(system->dialogOwners, (std::vector<uint32_t>{uint32_t(window), uint32_t(window), uint32_t(window)}));
    EXPECT_EQ(system->documents.size(), 1u);
    ReleaseImage(lent);
}

TEST_F(ViewerPrinting, SettingsOutsideTheirRangesAreIgnored) {
    struct Case {
        const char* set;
        const char* read;
        VARIANT value;
        int32_t expected;
    } cases[] = {
        {"PrintSetImageAlignment", "PrintGetImageAlignment", MakeI4(7), 7},
        {"PrintSetImageAlignment", "PrintGetImageAlignment", MakeI4(10), 7},
        {"PrintSetImageAlignment", "PrintGetImageAlignment", MakeI4(-1), 7},
        {"PrintSetImageAlignment", "PrintGetImageAlignment", MakeI4(0), 0},
        {"PrintSetOrientation", "PrintGetOrientation", MakeI2(2), 2},
        {"PrintSetOrientation", "PrintGetOrientation", MakeI2(3), 2},
        {"PrintSetOrientation", "PrintGetOrientation", MakeI2(0), 2},
        {"PrintSetOrientation", "PrintGetOrientation", MakeI2(1), 1},
        {"PrintSetStdPaperSize", "PrintGetPaperSize", MakeI4(11), 11},
        {"PrintSetStdPaperSize", "PrintGetPaperSize", MakeI4(42), 11},
        {"PrintSetStdPaperSize", "PrintGetPaperSize", MakeI4(0), 11},
        {"PrintSetStdPaperSize", "PrintGetPaperSize", MakeI4(1), 1},
        {"PrintSetCopies", "PrintGetCopies", MakeI4(3), 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.set) + " " + std::to_string(c.value.vt == VT_I2 ? c.value.iVal : c.value.lVal));
        call(c.set, {c.value});
        VARIANT r = call(c.read);
        EXPECT_EQ(r.vt == VT_I2 ? r.iVal : r.lVal, c.expected);
    }
}

TEST_F(ViewerPrinting, PrinterChoiceAndPaperReachThePrinter) {
    EXPECT_EQ(callLong("PrintGetPrintersCount"), 2);
    VARIANT second = call("PrintGetPrinterName", {MakeI4(2)});
    EXPECT_EQ(std::u16string(second.bstrVal), u"Archive");
    VariantClear(&second);
    EXPECT_EQ(call("PrintSetActivePrinter", {text("Archive")}).boolVal, VARIANT_TRUE);
    EXPECT_EQ(call("PrintSetActivePrinter", {text("Nowhere")}).boolVal, VARIANT_FALSE);
    VARIANT active = call("PrintGetActivePrinter");
    EXPECT_EQ(std::u16string(active.bstrVal), u"Archive");
    VariantClear(&active);
    call("PrintSetUserPaperSize", {MakeR4(100), MakeR4(150)});
    EXPECT_NEAR(call("PrintGetPaperWidth").fltVal, 100, 0.1);
    EXPECT_NEAR(call("PrintGetPaperHeight").fltVal, 150, 0.1);
    VARIANT left = MakeR4(-1), top = MakeR4(-1);
    VARIANT args[2] = {MakeR4(0), MakeR4(0)};
    args[0].vt = VT_R4 | VT_BYREF;
    args[0].pfltVal = &left.fltVal;
    args[1].vt = VT_R4 | VT_BYREF;
    args[1].pfltVal = &top.fltVal;
    call("PrintGetMargins", {args[0], args[1]});
    EXPECT_EQ(left.fltVal, 0.0f);
    EXPECT_EQ(top.fltVal, 0.0f);
}

TEST_F(ViewerPrinting, AShownPdfPrintsItsPageOrItsRangeThroughThePlugin) {
    SetPdfPluginFile(MVPDFPLUG_LIBRARY);
    files::testing::ScratchFolder scratch("viewer-print-pdf");
    const std::string path = scratch.file("three.pdf");
    mvpdfplug::testing::writeBoxPages(path, {{216, 216}, {216, 216}, {216, 216}});
    ASSERT_EQ(callLong("DisplayFromPdfFile", {MakeBstrUtf8(path), MakeBstrUtf8("")}), 0);
    using Pages = std::vector<std::pair<int32_t, int32_t>>;
    // Each page's box is one inch square: 50 x 50 dark pixels at the printer's 50 dpi.
    auto boxes = [&](size_t document) {
        for (int64_t dark : system->documents.at(document).darkPixels) EXPECT_NEAR(static_cast<double>(dark), 2500, 150);
    };

    // No range: the shown page as rasterised.
    call("PrintImage");
    ASSERT_EQ(system->documents.size(), 1u);
    EXPECT_EQ(system->documents[0].darkPixels.size(), 1u);
    boxes(0);
    EXPECT_EQ(pages, (Pages{{1, 0}}));

    // A range: its pages through the plug-in.
    pages.clear();
    call("PrintSetFromToPage", {MakeI4(2), MakeI4(3)});
    call("PrintImage");
    ASSERT_EQ(system->documents.size(), 2u);
    EXPECT_EQ(system->documents[1].darkPixels.size(), 2u);
    boxes(1);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].first, 2);
    EXPECT_EQ(pages[1].first, 3);
    EXPECT_EQ(callLong("PrintGetStat"), 0);
    call("CloseImage");
    SetPdfPluginFile("");
}

TEST(PrintDocumentChoiceRule, APdfGoesThroughThePluginFromADialogOrWithARange) {
    constexpr int32_t kPdf = 77, kPage = 5;
    struct Case {
        int32_t type;
        bool dialog, range;
        bool pdfMode;
        int32_t document;
    } cases[] = {
        {2, false, false, false, kPage},  // direct, no range: the shown page as rasterised
        {2, false, true, true, kPdf},     // direct with a range: pages through the plug-in
        {2, true, false, true, kPdf},     // a dialog always goes through the plug-in
        {2, true, true, true, kPdf},
        {1, true, true, false, kPage},    // an image is an image whatever the range
        {1, false, false, false, kPage},
        {0, false, true, false, 0},       // nothing shown: nothing to print
        {0, true, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + (c.dialog ? " dialog" : " direct") + (c.range ? " range" : ""));
        const PrintDocumentChoice choice = ChoosePrintDocument(c.type, c.dialog, c.range, kPdf, c.type ? kPage : 0);
        EXPECT_EQ(choice.pdfMode, c.pdfMode);
        EXPECT_EQ(choice.document, c.document);
    }
}

}  // namespace
}  // namespace scanvelt::testing
