// PDF documents in the viewer: opening, passwords, page sizes at several
// resolutions, paging, refusals and the temporary copy.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "imaging/engine/image_table.h"
#include "imaging/engine/pdf_plugin.h"
#include "imaging/engine/testing/test_files.h"
#include "imaging/viewer/testing/viewer_pdf_fixture.h"
#include "platform/com/bstr.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/forms/test_ui.h"
#include "platform/win/message_box.h"
#include "platform/win/windows_path.h"
#include "plugins/mvpdfplug/testing/sample_pdfs.h"

namespace scanvelt::testing {
namespace {

using namespace com;
namespace fs = std::filesystem;

TEST_F(ViewerPdf, APageBecomesAnImageOfItsSizeAtTheChosenResolution) {
    struct Case {
        double width, height;
        int32_t dpi;
        int32_t pixelsWide, pixelsHigh;
    };
    const Case cases[] = {
        {612, 792, 200, 1700, 2200},
        {612, 792, 150, 1275, 1650},
        {612, 792, 72, 612, 792},
        {595.2, 841.8, 200, 1654, 2339},
        {300, 200, 300, 1250, 834},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        std::string path = scratch.file("page.pdf");
        mvpdfplug::testing::writeBoxPages(path, {{c.width, c.height}});
        put("PdfDpiRendering", MakeI4(c.dpi));
        ASSERT_EQ(open(path), 0);
        EXPECT_EQ(callLong("GetDocumentType"), 2);
        EXPECT_EQ(longOf("PageCount"), 1);
        EXPECT_EQ(longOf("CurrentPage"), 1);
        EXPECT_EQ(longOf("ImageWidth"), c.pixelsWide);
        EXPECT_EQ(longOf("ImageHeight"), c.pixelsHigh);
        // The box from 72 to 144 points, and white outside it.
        const int32_t inside = static_cast<int32_t>(108.0 / 72 * c.dpi), outside = c.dpi / 2;
        EXPECT_LT(gray(inside, inside), 32);
        EXPECT_GT(gray(outside, outside), 223);
        EXPECT_NE(control().pdfHandle(), 0);
    }
    EXPECT_TRUE(boxes.empty());
}

// The grey levels of a PGM file ("P5", 8 bits) that pdftoppm wrote.
std::vector<uint8_t> readPgm(const std::string& path, int& width, int& height) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    if (magic != "P5" || maxValue != 255 || width <= 0 || height <= 0 || width > 4000 || height > 4000) return {};
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height);
    in.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    return in ? pixels : std::vector<uint8_t>{};
}

TEST_F(ViewerPdf, PagesMatchPdftoppmAtEachResolution) {
    if (!tool("command -v pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
    std::string path = scratch.file("letter.pdf");
    mvpdfplug::testing::writeBoxPages(path, {{612, 792}, {300, 200}});
    for (int32_t dpi : {72, 150, 300}) {
        for (int32_t page : {1, 2}) {
            SCOPED_TRACE(std::to_string(dpi) + " dpi, page " + std::to_string(page));
            const std::string prefix = scratch.file("reference");
            ASSERT_TRUE(tool("pdftoppm -gray -singlefile -r " + std::to_string(dpi) + " -f " + std::to_string(page) +
                             " -l " + std::to_string(page) + " " + path + " " + prefix));
            int width = 0, height = 0;
            const std::vector<uint8_t> reference = readPgm(prefix + ".pgm", width, height);
            ASSERT_FALSE(reference.empty());
            put("PdfDpiRendering", MakeI4(dpi));
            ASSERT_EQ(open(path), 0);
            ASSERT_EQ(callLong("DisplayFrame", {MakeI4(page)}), 0);
            ASSERT_EQ(longOf("ImageWidth"), width);
            ASSERT_EQ(longOf("ImageHeight"), height);
            int differing = 0;
            for (int y = 0; y < height; y += 3)
                for (int x = 0; x < width; x += 3)
                    if (std::abs(gray(x, y) - reference[static_cast<size_t>(y) * width + x]) > 48) ++differing;
            // Edge pixels may round to the other side; the box and the paper may not.
            EXPECT_LT(differing, (width + height) / 3);
        }
    }
}

TEST_F(ViewerPdf, ATurnedPageExchangesWidthAndHeight) {
    if (!tool("command -v qpdf")) GTEST_SKIP() << "qpdf is not installed";
    mvpdfplug::testing::writeBoxPages(scratch.file("plain.pdf"), {{216, 144}});
    put("PdfDpiRendering", MakeI4(100));
    struct Case {
        const char* rotate;
        int32_t width, height;
    };
    const Case cases[] = {{"+90", 200, 300}, {"-90", 200, 300}, {"+180", 300, 200}, {"+270", 200, 300}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rotate);
        const std::string turned = scratch.file("turned.pdf");
        ASSERT_TRUE(tool("qpdf " + scratch.file("plain.pdf") + " --rotate=" + c.rotate + ":1 " + turned));
        ASSERT_EQ(open(turned), 0);
        EXPECT_EQ(longOf("ImageWidth"), c.width);
        EXPECT_EQ(longOf("ImageHeight"), c.height);
    }
}

TEST_F(ViewerPdf, AResolutionOfZeroRendersAtTwoHundred) {
    std::string path = scratch.file("page.pdf");
    mvpdfplug::testing::writeBoxPages(path, {{72, 36}});
    control().settings().PdfDpiRendering = 0;  // as a property bag may hold it
    ASSERT_EQ(open(path), 0);
    EXPECT_EQ(longOf("PdfDpiRendering"), 200);
    EXPECT_EQ(longOf("ImageWidth"), 200);
    EXPECT_EQ(longOf("ImageHeight"), 100);
}

TEST_F(ViewerPdf, PagesAreShownOneAtATime) {
    std::string path = scratch.file("three.pdf");
    mvpdfplug::testing::writeBoxPages(path, {{72, 144}, {144, 72}, {216, 216}});
    put("PdfDpiRendering", MakeI4(100));
    ASSERT_EQ(open(path), 0);
    EXPECT_EQ(longOf("PageCount"), 3);
    const int32_t images = testing_support::RegisteredImageCount();
    struct Step {
        const char* member;
        int32_t page, width, height;
    };
    const Step steps[] = {
        {"DisplayNextFrame", 2, 200, 100}, {"DisplayLastFrame", 3, 300, 300}, {"DisplayNextFrame", 3, 300, 300},
        {"DisplayFirstFrame", 1, 100, 200}, {"DisplayPreviousFrame", 1, 100, 200},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.member);
        EXPECT_EQ(callLong(s.member), 0);
        EXPECT_EQ(longOf("CurrentPage"), s.page);
        EXPECT_EQ(longOf("ImageWidth"), s.width);
        EXPECT_EQ(longOf("ImageHeight"), s.height);
        EXPECT_EQ(testing_support::RegisteredImageCount(), images) << "one page image at a time";
    }
    events.events.clear();
    EXPECT_EQ(callLong("DisplayFrame", {MakeI4(2)}), 0);
    EXPECT_EQ(std::count(events.events.begin(), events.events.end(), kEventPageChange), 1);
    EXPECT_EQ(callLong("DisplayFrame", {MakeI4(4)}), 0);
    EXPECT_EQ(longOf("CurrentPage"), 2);
    call("CloseImage");
    EXPECT_EQ(control().pdfHandle(), 0);
    EXPECT_EQ(testing_support::RegisteredImageCount(), images - 1);
}

TEST_F(ViewerPdf, SetNativeImageWithTheShownPageKeepsThePdfOpenOnThatPage) {
    std::string path = scratch.file("three.pdf");
    mvpdfplug::testing::writeBoxPages(path, {{72, 144}, {144, 72}, {216, 216}});
    put("PdfDpiRendering", MakeI4(100));
    ASSERT_EQ(open(path), 0);
    ASSERT_EQ(callLong("DisplayFrame", {MakeI4(2)}), 0);
    const int32_t handle = control().pdfHandle();
    ASSERT_NE(handle, 0);
    EXPECT_EQ(callLong("SetNativeImage", {MakeI4(control().nativeImageId())}), 0);
    EXPECT_EQ(control().pdfHandle(), handle);
    EXPECT_EQ(longOf("CurrentPage"), 2);
    EXPECT_EQ(longOf("PageCount"), 3);
    EXPECT_EQ(longOf("ImageWidth"), 200);
    ASSERT_EQ(callLong("DisplayNextFrame"), 0);
    EXPECT_EQ(longOf("CurrentPage"), 3);
    EXPECT_EQ(longOf("ImageWidth"), 300);
}

TEST_F(ViewerPdf, AHugePageIsRefusedBeforeItsRasterIsMade) {
    std::string path = scratch.file("huge.pdf");
    mvpdfplug::testing::writeBoxPages(path, {{14400, 14400}});
    put("PdfDpiRendering", MakeI4(600));
    put("SilentMode", MakeBool(true));
    const int32_t images = testing_support::RegisteredImageCount();
    EXPECT_EQ(open(path), PdfRenderingPageError);
    EXPECT_EQ(callLong("GetDocumentType"), 2) << "the document stays open for another page";
    EXPECT_EQ(control().nativeImageId(), 0);
    EXPECT_EQ(testing_support::RegisteredImageCount(), images);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ViewerPdf, FilesThatAreNoPdfGiveTheirStatus) {
    std::string good = scratch.file("good.pdf");
    mvpdfplug::testing::writeBoxPages(good, {{612, 792}});
    std::string bytes;
    {
        std::ifstream in(good, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    struct Case {
        const char* name;
        std::string content;
        int32_t status;
        const char* message;
    };
    const Case cases[] = {
        {"truncated.pdf", bytes.substr(0, bytes.size() / 3), PdfCanNotOpenFile, "This PDF seems to be corrupted."},
        {"empty.pdf", "", PdfCanNotOpenFile, "This PDF seems to be corrupted."},
        {"text.pdf", "not a document at all", PdfCanNotOpenFile, "This PDF seems to be corrupted."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(scratch.file(c.name), std::ios::binary) << c.content;
        boxes.clear();
        EXPECT_EQ(open(scratch.file(c.name)), c.status);
        EXPECT_EQ(boxes, std::vector<std::string>{c.message});
        EXPECT_EQ(control().pdfHandle(), 0);
    }
    boxes.clear();
    EXPECT_EQ(open(scratch.file("missing.pdf")), FileNotFound);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("File not found: ", 0), 0u);
}

TEST_F(ViewerPdf, AMissingPlugInGivesItsStatus) {
    std::string path = scratch.file("good.pdf");
    mvpdfplug::testing::writeBoxPages(path, {{72, 72}});
    SetPdfPluginFile(scratch.file("libnothing.so"));
    EXPECT_EQ(open(path), PdfPlugNotLoaded);
    EXPECT_EQ(control().pdfHandle(), 0);
    EXPECT_EQ(textOf("PdfGetTitle"), "");
    SetPdfPluginFile(MVPDFPLUG_LIBRARY);
    EXPECT_EQ(open(path), 0);
}

TEST_F(ViewerPdf, TheHostGivesThePasswordThroughItsEvent) {
    if (!tool("command -v qpdf")) GTEST_SKIP() << "qpdf is not installed";
    const std::string path = locked("user pw");
    put("PDFShowDialogForPassword", MakeBool(false));
    struct Case {
        const char* given;
        const char* hostAnswer;
        int32_t status;
        std::vector<std::string> messages;
        int requests;
    };
    const Case cases[] = {
        {"user pw", "", 0, {}, 0},
        {"", "user pw", 0, {}, 1},
        {"wrong", "", PdfPasswordNeeded, {"Invalid password."}, 1},
        {"", "wrong", PdfBadPassword, {"The password supplied is incorrect."}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        int requests = 0;
        events.onEvent = [&](DISPID id, DISPPARAMS& params) {
            if (id != kPdfPasswordRequest) return;
            ++requests;
            ASSERT_EQ(params.cArgs, 1u);
            ASSERT_EQ(params.rgvarg[0].vt, VT_BSTR | VT_BYREF);
            SysFreeString(*params.rgvarg[0].pbstrVal);
            *params.rgvarg[0].pbstrVal = AllocBstrUtf8(c.hostAnswer);
        };
        boxes.clear();
        EXPECT_EQ(open(path, c.given), c.status);
        EXPECT_EQ(requests, c.requests);
        EXPECT_EQ(boxes, c.messages);
        EXPECT_EQ(control().pdfHandle() != 0, c.status == 0);
        if (c.status == 0) {
            EXPECT_EQ(longOf("ImageWidth"), 1700);
        }
    }
    events.onEvent = {};
}

TEST_F(ViewerPdf, TheUserIsAskedOnceForAPassword) {
    if (!tool("command -v qpdf")) GTEST_SKIP() << "qpdf is not installed";
    const std::string path = locked("user pw");
    forms::TestUi ui;
    forms::ScopedUi use(ui);
    ui.expectInputBox("Password: ", "user pw");
    EXPECT_EQ(open(path, "wrong"), 0);
    ui.expectInputBox("Password: ", "");
    EXPECT_EQ(open(path), PdfPasswordNeeded);
    EXPECT_EQ(boxes, std::vector<std::string>{"Invalid password."});
    EXPECT_EQ(ui.journalLines(),
              (std::vector<std::string>{"inputbox: Password:  -> user pw", "inputbox: Password:  -> "}));
}

TEST_F(ViewerPdf, ATemporaryCopyIsReadAndDeletedWithTheDocument) {
    std::string path = scratch.file("the hosts.pdf");
    mvpdfplug::testing::writeBoxPages(path, {{72, 72}, {72, 72}}, "Copied");
    put("PdfForceTemporaryMode", MakeBool(true));
    ASSERT_EQ(open(path), 0);
    const std::string copy = control().tempPdfFile();
    ASSERT_FALSE(copy.empty());
    EXPECT_EQ(fs::path(win::ResolveWindowsPath(copy)).parent_path(), tempFolder_.path());
    fs::remove(path);
    EXPECT_EQ(callLong("DisplayFrame", {MakeI4(2)}), 0) << "the copy is read, not the host's file";
    EXPECT_EQ(textOf("PdfGetTitle"), "Copied");
    call("CloseImageEx");
    EXPECT_EQ(textOf("PdfGetTitle"), "");
    EXPECT_EQ(control().tempPdfFile(), copy);
    EXPECT_FALSE(fs::exists(win::ResolveWindowsPath(copy)));
    EXPECT_TRUE(fs::is_empty(tempFolder_.path())) << "nothing of the copy is left";
}

TEST_F(ViewerPdf, TheDescriptionMembersReadTheOpenDocument) {
    EXPECT_EQ(textOf("PdfGetTitle"), "");
    EXPECT_EQ(textOf("PdfGetMetadata"), "");
    std::string path = scratch.file("described.pdf");
    mvpdfplug::testing::writeBoxPages(path, {{72, 72}}, "A title");
    ASSERT_EQ(open(path), 0);
    const int32_t status = callLong("GetStat");
    EXPECT_EQ(textOf("PdfGetTitle"), "A title");
    EXPECT_EQ(textOf("PdfGetAuthor"), "Ostrelle tests");
    EXPECT_FALSE(textOf("PdfGetVersion").empty());
    EXPECT_EQ(callLong("GetStat"), status);
}

}  // namespace
}  // namespace scanvelt::testing
