// PDFs through every document source of the viewer: file names with and
// without the PDF extension, byte arrays, strings, global memory, relative
// paths; the password box no host can answer; the document events of a PDF.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "imaging/viewer/testing/viewer_pdf_fixture.h"
#include "platform/com/safearray.h"
#include "platform/com/variant.h"
#include "platform/files/testing/working_folder.h"
#include "platform/win/global_memory.h"
#include "platform/win/text_encoding.h"

namespace scanvelt::testing {
namespace {

using namespace com;
namespace fs = std::filesystem;

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

VARIANT byteArray(const std::string& bytes) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<uint32_t>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), static_cast<char*>(array->pvData));
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_ARRAY | VT_UI1;
    arg.parray = array;
    return arg;
}

class ViewerPdfSources : public ViewerPdf {
protected:
    // Two pages of 612 x 792 points: 1700 pixels wide at 200 dpi.
    std::string twoPages(const std::string& name) {
        const std::string path = scratch.file(name);
        mvpdfplug::testing::writeBoxPages(path, {{612, 792}, {612, 792}});
        return path;
    }
    void expectFirstPageShown() {
        EXPECT_EQ(callLong("GetDocumentType"), 2);
        EXPECT_EQ(longOf("PageCount"), 2);
        EXPECT_EQ(longOf("CurrentPage"), 1);
        EXPECT_EQ(longOf("ImageWidth"), 1700);
        EXPECT_NE(control().pdfHandle(), 0);
        EXPECT_LT(gray(216, 216), 32) << "the box of the page";
    }
};

TEST_F(ViewerPdfSources, EverySourceShowsAPdfAndLeavesNoTemporaryFileBehind) {
    const std::string pdf = twoPages("bill.pdf");
    const std::string bytes = contentOf(pdf);
    std::ofstream(scratch.file("bill.jpg"), std::ios::binary) << bytes;
    std::ofstream(scratch.file("BILL.PDF"), std::ios::binary) << bytes;
    std::ofstream(scratch.file("bill"), std::ios::binary) << bytes;
    const std::string text = win::AnsiToUtf8(bytes);
    ASSERT_EQ(win::Utf8ToAnsi(text), bytes) << "the bytes travel through Windows-1252 unchanged";
    struct Case {
        const char* source;
        std::function<int32_t()> show;
    };
    const Case cases[] = {
        {"DisplayFromFile .pdf", [&] { return callLong("DisplayFromFile", {MakeBstrUtf8(pdf)}); }},
        {"DisplayFromFile .PDF", [&] { return callLong("DisplayFromFile", {MakeBstrUtf8(scratch.file("BILL.PDF"))}); }},
        {"DisplayFromFile .jpg", [&] { return callLong("DisplayFromFile", {MakeBstrUtf8(scratch.file("bill.jpg"))}); }},
        {"DisplayFromFile no extension", [&] { return callLong("DisplayFromFile", {MakeBstrUtf8(scratch.file("bill"))}); }},
        {"DisplayFromFileICM .pdf", [&] { return callLong("DisplayFromFileICM", {MakeBstrUtf8(pdf)}); }},
        {"DisplayFromFileICM .jpg",
         [&] { return callLong("DisplayFromFileICM", {MakeBstrUtf8(scratch.file("bill.jpg"))}); }},
        {"DisplayFromFileICM no extension",
         [&] { return callLong("DisplayFromFileICM", {MakeBstrUtf8(scratch.file("bill"))}); }},
        {"DisplayFromByteArray", [&] { return callLong("DisplayFromByteArray", {byteArray(bytes)}); }},
        {"DisplayFromByteArrayICM", [&] { return callLong("DisplayFromByteArrayICM", {byteArray(bytes)}); }},
        {"DisplayFromString", [&] { return callLong("DisplayFromString", {MakeBstrUtf8(text)}); }},
        {"DisplayFromMemory",
         [&] {
             win::HGLOBAL block = win::GlobalAlloc(win::GMEM_MOVEABLE, bytes.size());
             std::copy(bytes.begin(), bytes.end(), static_cast<char*>(win::GlobalLock(block)));
             win::GlobalUnlock(block);
             const int32_t status = callLong(
                 "DisplayFromMemory", {MakeI4(static_cast<int32_t>(block)), MakeI4(static_cast<int32_t>(bytes.size()))});
             win::GlobalFree(block);
             return status;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        boxes.clear();
        ASSERT_EQ(c.show(), 0);
        EXPECT_EQ(callLong("GetStat"), 0);
        expectFirstPageShown();
        EXPECT_TRUE(boxes.empty());
        // The next page comes from the same document.
        EXPECT_EQ(callLong("DisplayNextFrame"), 0);
        EXPECT_EQ(longOf("CurrentPage"), 2);
        call("CloseImage");
        EXPECT_EQ(control().pdfHandle(), 0);
        EXPECT_TRUE(fs::is_empty(tempFolder_.path())) << "a temporary file of the bytes is left";
    }
}

TEST_F(ViewerPdfSources, AFileThatIsNeitherImageNorPdfGivesTheUnknownFormatWithoutAMessage) {
    std::string cut = contentOf(twoPages("whole.pdf"));
    cut.resize(cut.size() / 3);
    std::ofstream(scratch.file("cut.jpg"), std::ios::binary) << cut;
    std::ofstream(scratch.file("words.jpg"), std::ios::binary) << "neither an image nor a document";
    put("SilentMode", MakeBool(false));
    for (const char* member : {"DisplayFromFile", "DisplayFromFileICM"}) {
        for (const char* name : {"cut.jpg", "words.jpg"}) {
            SCOPED_TRACE(std::string(member) + " " + name);
            boxes.clear();
            EXPECT_EQ(callLong(member, {MakeBstrUtf8(scratch.file(name))}), UnknownImageFormat);
            EXPECT_EQ(callLong("GetDocumentType"), 0);
            EXPECT_EQ(control().pdfHandle(), 0);
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(get("SilentMode").boolVal, VARIANT_FALSE) << "the silence of the attempt is undone";
        }
    }
    // A document whose name says PDF keeps the PDF path's own status and message.
    std::ofstream(scratch.file("cut.pdf"), std::ios::binary) << cut;
    boxes.clear();
    EXPECT_EQ(callLong("DisplayFromFile", {MakeBstrUtf8(scratch.file("cut.pdf"))}), PdfCanNotOpenFile);
    EXPECT_EQ(boxes, std::vector<std::string>{"This PDF seems to be corrupted."});
}

TEST_F(ViewerPdfSources, RelativePathsOpenAgainstTheWorkingFolder) {
    twoPages("bill.pdf");
    fs::create_directory(scratch.path() / "sub");
    twoPages("sub/bill.pdf");
    files::testing::WorkingFolder here(scratch.path());
    const struct {
        const char* member;
        const char* path;
    } cases[] = {
        {"DisplayFromPdfFile", "bill.pdf"},     {"DisplayFromPdfFile", "./bill.pdf"},
        {"DisplayFromPdfFile", "sub/bill.pdf"}, {"DisplayFromPdfFile", "sub\\bill.pdf"},
        {"DisplayFromFile", "bill.pdf"},        {"DisplayFromFile", "sub/bill.pdf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.member) + " " + c.path);
        boxes.clear();
        const int32_t status = std::string(c.member) == "DisplayFromPdfFile"
                                   ? open(c.path)
                                   : callLong(c.member, {MakeBstrUtf8(c.path)});
        ASSERT_EQ(status, 0);
        expectFirstPageShown();
        EXPECT_TRUE(boxes.empty());
    }
}

TEST_F(ViewerPdfSources, APasswordBoxNoHostCanShowCountsAsCancelled) {
    if (!tool("command -v qpdf")) GTEST_SKIP() << "qpdf is not installed";
    const std::string path = locked("user pw");
    // No user-interface service is installed here, as in a host without one.
    ASSERT_TRUE(get("PDFShowDialogForPassword").boolVal);
    for (const char* given : {"", "wrong"}) {
        SCOPED_TRACE(given);
        boxes.clear();
        EXPECT_EQ(open(path, given), PdfPasswordNeeded);
        EXPECT_EQ(boxes, std::vector<std::string>{"Invalid password."});
        EXPECT_EQ(control().pdfHandle(), 0);
    }
    EXPECT_EQ(open(path, "user pw"), 0);
}

TEST_F(ViewerPdfSources, EachNewPdfRaisesPictureChangeAndPictureChanged) {
    const std::string first = twoPages("first.pdf"), second = twoPages("second.pdf");
    const int32_t image = makeImage(20, 10, [](int32_t, int32_t) { return 0xFF808080u; });
    auto changes = [&] {
        const auto& e = events.events;
        const auto change = std::find(e.begin(), e.end(), kEventPictureChange);
        const auto changed = std::find(e.begin(), e.end(), kEventPictureChanged);
        return std::make_pair(std::count(e.begin(), e.end(), kEventPictureChange) == 1 && change < changed,
                              std::count(e.begin(), e.end(), kEventPictureChanged));
    };
    const struct {
        const char* step;
        std::function<int32_t()> show;
        bool raised;
    } steps[] = {
        {"a first PDF", [&] { return open(first); }, true},
        {"its next page", [&] { return callLong("DisplayNextFrame"); }, false},
        {"another PDF", [&] { return open(second); }, true},
        {"the same PDF again", [&] { return open(second); }, true},
        {"an image", [&] { return callLong("SetNativeImage", {MakeI4(image)}); }, true},
        {"a PDF after the image", [&] { return open(first); }, true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        events.events.clear();
        ASSERT_EQ(s.show(), 0);
        const auto [ordered, changedCount] = changes();
        EXPECT_EQ(ordered, s.raised);
        EXPECT_EQ(changedCount, s.raised ? 1 : 0);
    }
    call("ImageClosed");
    ReleaseImage(image);
}

TEST_F(ViewerPdfSources, MemoryIsReadOnlyFromAGlobalBlockAndWithinIt) {
    const std::string bytes = contentOf(twoPages("bill.pdf"));
    win::HGLOBAL block = win::GlobalAlloc(win::GMEM_FIXED, bytes.size());
    std::copy(bytes.begin(), bytes.end(), static_cast<char*>(win::GlobalLock(block)));
    win::HGLOBAL freed = win::GlobalAlloc(win::GMEM_FIXED, bytes.size());
    win::GlobalFree(freed);
    const int32_t size = static_cast<int32_t>(bytes.size());
    const struct {
        const char* what;
        uint32_t handle;
        int32_t length;
        int32_t status;
    } cases[] = {
        {"the whole block", static_cast<uint32_t>(block), size, 0},
        {"a length beyond the block", static_cast<uint32_t>(block), size + 1, InvalidParameter},
        {"a length of zero", static_cast<uint32_t>(block), 0, InvalidParameter},
        {"a negative length", static_cast<uint32_t>(block), -5, InvalidParameter},
        {"a freed block", static_cast<uint32_t>(freed), 1, InvalidParameter},
        {"no handle", 0, 1, InvalidParameter},
        {"a made-up address", 0x00401000u, 16, InvalidParameter},
        {"the top of the address range", 0xFFFFFFF0u, 16, InvalidParameter},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int32_t shownBefore = callLong("GetDocumentType");
        EXPECT_EQ(callLong("DisplayFromMemory", {MakeI4(static_cast<int32_t>(c.handle)), MakeI4(c.length)}), c.status);
        EXPECT_EQ(callLong("GetStat"), c.status);
        // A refused call reads nothing and leaves what is shown as it was.
        EXPECT_EQ(callLong("GetDocumentType"), c.status == 0 ? 2 : shownBefore);
    }
    win::GlobalFree(block);
}

}  // namespace
}  // namespace scanvelt::testing
