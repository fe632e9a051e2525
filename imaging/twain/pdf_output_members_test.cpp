#include "imaging/twain/pdf_output_members.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "imaging/engine/image_table.h"
#include "imaging/output/testing/pdf_test_support.h"
#include "imaging/twain/twain_control.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/win/message_box.h"

namespace scanvelt {
namespace {

namespace fs = std::filesystem;
using testing_support::ExpectQpdfCheckPasses;
using testing_support::Quoted;
using testing_support::ReadBytes;
using testing_support::RunTool;

// A registered image of `format` at `dpi`, its pixels a pattern the encoders
// cannot drop; indexed formats get `palette`.
int32_t MakePage(int32_t width, int32_t height, gdiplus::PixelFormat format, float dpiX, float dpiY,
                 const std::vector<uint32_t>& palette = {}) {
    std::unique_ptr<gdiplus::Bitmap> bitmap;
    EXPECT_EQ(gdiplus::Bitmap::Create(width, height, format, bitmap), gdiplus::Ok);
    if (!palette.empty()) {
        gdiplus::ColorPalette entries;
        entries.Count = static_cast<uint32_t>(palette.size());
        std::copy(palette.begin(), palette.end(), entries.Entries.begin());
        EXPECT_EQ(bitmap->SetPalette(entries), gdiplus::Ok);
    }
    // Stripes written as 32-bit colour; indexed formats take the nearest entry.
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            pixels[static_cast<size_t>(y) * width + x] = (x / 8 + y / 8) % 2 ? 0xFFFFFFFF : 0xFF102040;
        }
    }
    if (palette.empty()) {
        EXPECT_EQ(bitmap->WritePixels({0, 0, width, height}, gdiplus::PixelFormat32bppARGB, 4 * width, pixels.data()),
                  gdiplus::Ok);
    } else {
        const int32_t stride = (width * gdiplus::GetPixelFormatSize(format) + 7) / 8;
        std::vector<uint8_t> rows(static_cast<size_t>(stride) * height, 0);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                const bool light = pixels[static_cast<size_t>(y) * width + x] == 0xFFFFFFFF;
                uint8_t* row = rows.data() + static_cast<size_t>(y) * stride;
                if (format == gdiplus::PixelFormat1bppIndexed) {
                    if (light) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
                } else {
                    row[x] = light ? 255 : 40;
                }
            }
        }
        EXPECT_EQ(bitmap->WritePixels({0, 0, width, height}, format, stride, rows.data()), gdiplus::Ok);
    }
    bitmap->SetResolution(dpiX, dpiY);
    int32_t id = 0;
    RegisterImage(id, std::move(bitmap), "", "", ImageKindMemory);
    return id;
}

int32_t ColourPage(int32_t width = 120, int32_t height = 90, float dpi = 150) {
    return MakePage(width, height, gdiplus::PixelFormat24bppRGB, dpi, dpi);
}

std::vector<uint32_t> GreyRamp() {
    std::vector<uint32_t> ramp;
    for (uint32_t i = 0; i < 256; ++i) ramp.push_back(0xFF000000 | i << 16 | i << 8 | i);
    return ramp;
}

const std::vector<uint32_t> kBlackWhite = {0xFF000000, 0xFFFFFFFF};

// The lines of `pdfimages -list` after its two heading lines.
std::vector<std::string> ImageList(const std::string& pdf, const std::string& password = "") {
    const std::string output =
        RunTool("pdfimages " + (password.empty() ? "" : "-upw " + Quoted(password) + " ") + "-list " + Quoted(pdf))
            .Output;
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = output.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(output.substr(start, end - start));
    }
    if (lines.size() >= 2) lines.erase(lines.begin(), lines.begin() + 2);
    return lines;
}

// The whitespace-separated fields of one line.
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; in >> field;) fields.push_back(field);
    return fields;
}

// "Page size:" of page `page` as pdfinfo prints it ("595.2 x 841.92 pts").
std::string PageSizeOf(const std::string& pdf, int page) {
    const std::string info =
        RunTool("pdfinfo -f " + std::to_string(page) + " -l " + std::to_string(page) + " " + Quoted(pdf)).Output;
    const std::string key = "Page" + std::string(page < 10 ? "    " : "   ") + std::to_string(page) + " size:";
    const size_t at = info.find(key);
    if (at == std::string::npos) return info;
    const size_t from = info.find_first_not_of(' ', at + key.size());
    return info.substr(from, info.find(" pts", from) - from);
}

int PageCount(const std::string& pdf) {
    const std::string info = RunTool("pdfinfo " + Quoted(pdf)).Output;
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

// Names in the folder: what a run leaves behind, temporary files included.
std::vector<std::string> FolderContents(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Each test's control lives inside the fixture's started engine.
class PdfOutputMembersTest : public testing_support::PdfWriterTest {
protected:
    void SetUp() override {
        PdfWriterTest::SetUp();
        made_ = std::make_unique<TwainControl>();
    }
    void TearDown() override {
        made_.reset();
        PdfWriterTest::TearDown();
    }
    TwainControl& control() { return *made_; }
    std::unique_ptr<TwainControl> made_;
};

TEST_F(PdfOutputMembersTest, SaveAsPdfLaysTheImageOverAPageOfItsOwnSize) {
    const std::string path = File("a4.pdf");
    control().setCurrentImage(ColourPage(2480, 3508, 300));
    control().setLastStatus(Aborted);
    ASSERT_TRUE(SaveAsPDF(control(), path, "Bill 153"));
    EXPECT_EQ(control().GetStat(), Aborted);  // a save that succeeds stores nothing
    ExpectQpdfCheckPasses(path);
    EXPECT_EQ(PageCount(path), 1);
    EXPECT_EQ(PageSizeOf(path, 1), "595.2 x 841.92");
    const auto images = ImageList(path);
    ASSERT_EQ(images.size(), 1u);
    const auto fields = Fields(images[0]);
    ASSERT_GE(fields.size(), 9u);
    EXPECT_EQ(fields[3], "2480");
    EXPECT_EQ(fields[4], "3508");
    EXPECT_EQ(fields[5], "rgb");
    EXPECT_EQ(fields[8], "jpeg");
    const std::string info = RunTool("pdfinfo " + Quoted(path)).Output;
    EXPECT_NE(info.find("Title:           Bill 153\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Creator:         Morvalen ToolKit\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Author:          Morvalen ToolKit\n"), std::string::npos) << info;
}

struct EncodingCase {
    const char* Name;
    gdiplus::PixelFormat Format;
    std::vector<uint32_t> Palette;
    const char* Colour;  // pdfimages' colour column
    const char* Encoding;
};

class PdfOutputEncodingTest : public PdfOutputMembersTest, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(PdfOutputEncodingTest, TheImageIsEncodedByItsDepth) {
    const EncodingCase& c = GetParam();
    const std::string path = File(std::string(c.Name) + ".pdf");
    control().setCurrentImage(MakePage(200, 100, c.Format, 100, 100, c.Palette));
    ASSERT_TRUE(SaveAsPDF(control(), path));
    ExpectQpdfCheckPasses(path);
    EXPECT_EQ(PageSizeOf(path, 1), "144 x 72");
    const auto images = ImageList(path);
    ASSERT_EQ(images.size(), 1u);
    const auto fields = Fields(images[0]);
    ASSERT_GE(fields.size(), 9u) << images[0];
    EXPECT_EQ(fields[3], "200");
    EXPECT_EQ(fields[4], "100");
    EXPECT_EQ(fields[5], c.Colour);
    EXPECT_EQ(fields[8], c.Encoding);
}

INSTANTIATE_TEST_SUITE_P(
    Depths, PdfOutputEncodingTest,
    ::testing::Values(EncodingCase{"colour24", gdiplus::PixelFormat24bppRGB, {}, "rgb", "jpeg"},
                      EncodingCase{"colour32", gdiplus::PixelFormat32bppARGB, {}, "rgb", "jpeg"},
                      EncodingCase{"grey8", gdiplus::PixelFormat8bppIndexed, GreyRamp(), "index", "jpeg"},
                      EncodingCase{"bilevel", gdiplus::PixelFormat1bppIndexed, kBlackWhite, "gray", "ccitt"}),
    [](const ::testing::TestParamInfo<EncodingCase>& info) { return info.param.Name; });

TEST_F(PdfOutputMembersTest, SaveAsPdfaWritesAPdfaDocument) {
    const std::string path = File("pdfa.pdf");
    control().setCurrentImage(ColourPage());
    ASSERT_TRUE(SaveAsPDFA(control(), path, "Bill (May)", "Scan desk", "Asha Rao"));
    ExpectQpdfCheckPasses(path);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.rfind("%PDF-1.4\r%\xE2\xE3\xCF\xD3\r\n", 0), 0u);
    EXPECT_NE(bytes.find("/Metadata 5 0 R"), std::string::npos);
    EXPECT_NE(bytes.find("/OutputIntents 6 0 R"), std::string::npos);
    EXPECT_NE(bytes.find("/S/GTS_PDFA1"), std::string::npos);
    EXPECT_NE(bytes.find("/ID[<"), std::string::npos);
    EXPECT_EQ(bytes.find("/Encrypt"), std::string::npos);
    const std::string xmp = testing_support::StreamData(path, 5);
    EXPECT_NE(xmp.find("<pdfaid:part>1</pdfaid:part>"), std::string::npos);
    EXPECT_NE(xmp.find("<pdfaid:conformance>B</pdfaid:conformance>"), std::string::npos);
    EXPECT_NE(xmp.find(">Bill (May)<"), std::string::npos);
    EXPECT_NE(xmp.find(">Asha Rao<"), std::string::npos);
    EXPECT_NE(xmp.find(">Scan desk<"), std::string::npos);
    // The output intent carries an RGB profile, as the page image is RGB.
    EXPECT_EQ(testing_support::StreamData(path, 7).substr(16, 4), "RGB ");
}

TEST_F(PdfOutputMembersTest, AnEncryptedDocumentOpensOnlyWithItsPasswordsAndKeepsItsRights) {
    const std::string path = File("secret.pdf");
    control().setCurrentImage(ColourPage());
    PdfDocumentRequest request;
    request.FilePath = path;
    request.Title = "Private bill";
    request.Encryption = kPdfEncryption128BitRC4;
    request.Rights = PdfCreateRights(true, false, false, false, false, false, false, false);
    request.UserPassword = "reader";
    request.OwnerPassword = "keeper";
    ASSERT_TRUE(SaveAsPDFEx(control(), request));

    EXPECT_NE(RunTool("qpdf --check " + Quoted(path) + " 2>&1").Status, 0);
    EXPECT_NE(RunTool("qpdf --check --password=wrong " + Quoted(path) + " 2>&1").Status, 0);
    ExpectQpdfCheckPasses(path, "reader");
    ExpectQpdfCheckPasses(path, "keeper");
    const std::string shown = RunTool("qpdf --show-encryption --password=reader " + Quoted(path)).Output;
    EXPECT_NE(shown.find("R = 3"), std::string::npos) << shown;
    EXPECT_NE(shown.find("P = -3900"), std::string::npos) << shown;
    EXPECT_NE(shown.find("print low resolution: allowed"), std::string::npos) << shown;
    EXPECT_NE(shown.find("modify other: not allowed"), std::string::npos) << shown;
    EXPECT_NE(shown.find("extract for any purpose: not allowed"), std::string::npos) << shown;
    // The page image is there for a reader with the password.
    const auto images = ImageList(path, "reader");
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(Fields(images[0])[8], "jpeg");
}

TEST_F(PdfOutputMembersTest, PdfaIsGivenUpNeitherForTheShortFormNorItsRequestedEncryption) {
    // SaveAsPDFAEx has no security parameters: a request's are not used.
    const std::string path = File("pdfa-ex.pdf");
    control().setCurrentImage(ColourPage());
    PdfDocumentRequest request;
    request.FilePath = path;
    request.Encryption = kPdfEncryption40BitRC4;
    request.UserPassword = "ignored";
    ASSERT_TRUE(SaveAsPDFAEx(control(), request));
    ExpectQpdfCheckPasses(path);
    EXPECT_EQ(ReadBytes(path).find("/Encrypt"), std::string::npos);
}

TEST_F(PdfOutputMembersTest, OnePageFailuresLeaveNoFile) {
    const std::string path = File("none.pdf");
    // No current image: False, the last status as it was.
    control().setLastStatus(Aborted);
    EXPECT_FALSE(SaveAsPDF(control(), path));
    EXPECT_FALSE(SaveAsPDFA(control(), path));
    EXPECT_EQ(control().GetStat(), Aborted);
    // A folder that does not exist: 41.
    control().setCurrentImage(ColourPage());
    EXPECT_FALSE(SaveAsPDF(control(), File("missing/bill.pdf")));
    EXPECT_EQ(control().GetStat(), CanNotCreateFile);
    // An image the writer cannot take: 230, and no document without its page.
    control().setCurrentImage(98765432);
    EXPECT_FALSE(SaveAsPDF(control(), path));
    EXPECT_EQ(control().GetStat(), PdfErrorAddingImage);
    EXPECT_TRUE(FolderContents(scratch_.path()).empty());
}

TEST_F(PdfOutputMembersTest, RightsPackEightFlags) {
    struct Case {
        bool Flags[8];
        int32_t Rights;
    };
    const Case cases[] = {
        {{true, false, true, false, false, false, false, true}, 131},
        {{false, true, false, false, false, false, false, false}, 4},
        {{false, false, false, false, false, false, false, false}, 0},
        {{true, true, true, true, true, true, true, true}, 255},
        {{false, false, false, true, true, true, true, false}, 8 + 16 + 32 + 64},
    };
    for (const Case& c : cases) {
        const bool* f = c.Flags;
        EXPECT_EQ(PdfCreateRights(f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]), c.Rights);
    }
}

TEST_F(PdfOutputMembersTest, AScanSessionMakesOnePagePerImageInTheOrderOfAdding) {
    const std::string path = File("session.pdf");
    ASSERT_EQ(TwainPdfStart(control(), path, "Three pages"), OK);
    // The file is not at its name while the run goes on.
    EXPECT_FALSE(fs::exists(path));
    const int32_t pages[] = {ColourPage(300, 150, 100), MakePage(96, 192, gdiplus::PixelFormat1bppIndexed, 96.4f, 96.4f, kBlackWhite),
                             MakePage(144, 72, gdiplus::PixelFormat8bppIndexed, 72, 36, GreyRamp())};
    for (const int32_t page : pages) {
        EXPECT_EQ(TwainAddMorvalenImageToPdf(control(), page), OK);
        ReleaseImage(page);  // the caller may release an image once it is added
    }
    EXPECT_EQ(TwainPdfStop(control()), OK);
    ExpectQpdfCheckPasses(path);
    EXPECT_EQ(PageCount(path), 3);
    EXPECT_EQ(PageSizeOf(path, 1), "216 x 108");
    EXPECT_EQ(PageSizeOf(path, 2), "72 x 144");  // 96.4 dpi is laid out at 96
    EXPECT_EQ(PageSizeOf(path, 3), "144 x 144");
    const auto images = ImageList(path);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(Fields(images[0])[8], "jpeg");
    EXPECT_EQ(Fields(images[1])[8], "ccitt");
    EXPECT_EQ(Fields(images[2])[8], "jpeg");
    EXPECT_EQ(FolderContents(scratch_.path()), std::vector<std::string>{"session.pdf"});
    // The session is closed: the next add and stop answer 35.
    EXPECT_EQ(TwainAddMorvalenImageToPdf(control(), ColourPage()), TwainPdfMustBeCreatedFirst);
    EXPECT_EQ(TwainPdfStop(control()), TwainPdfMustBeCreatedFirst);
}

TEST_F(PdfOutputMembersTest, AOnePageSaveKeepsAFractionalResolution) {
    const std::string path = File("fraction.pdf");
    control().setCurrentImage(MakePage(964, 482, gdiplus::PixelFormat24bppRGB, 96.4f, 96.4f));
    ASSERT_TRUE(SaveAsPDF(control(), path));
    EXPECT_EQ(PageSizeOf(path, 1), "720 x 360");
}

TEST_F(PdfOutputMembersTest, AnEmptySessionLeavesNoFileAndReturnsTheLastStatus) {
    const std::string path = File("empty.pdf");
    ASSERT_EQ(TwainPdfStart(control(), path), OK);
    control().setLastStatus(Aborted);
    EXPECT_EQ(TwainPdfStop(control()), Aborted);
    EXPECT_EQ(control().GetStat(), Aborted);
    EXPECT_TRUE(FolderContents(scratch_.path()).empty());
}

TEST_F(PdfOutputMembersTest, AddAndStopWithoutAnOpenDocumentTouchNoFile) {
    const std::string path = File("kept.pdf");
    { std::ofstream(path) << "an earlier bill"; }
    const int32_t page = ColourPage();
    EXPECT_EQ(TwainAddMorvalenImageToPdf(control(), page), TwainPdfMustBeCreatedFirst);
    EXPECT_EQ(control().GetStat(), TwainPdfMustBeCreatedFirst);
    control().setLastStatus(OK);
    EXPECT_EQ(TwainPdfStop(control()), TwainPdfMustBeCreatedFirst);
    EXPECT_EQ(control().GetStat(), TwainPdfMustBeCreatedFirst);
    // ID 0 is refused first, open document or not.
    EXPECT_EQ(TwainAddMorvalenImageToPdf(control(), 0), InvalidParameter);
    // A start that fails opens nothing: add and stop still answer 35.
    EXPECT_EQ(TwainPdfStart(control(), File("missing/bill.pdf")), CanNotCreateFile);
    EXPECT_EQ(TwainAddMorvalenImageToPdf(control(), page), TwainPdfMustBeCreatedFirst);
    EXPECT_EQ(TwainPdfStop(control()), TwainPdfMustBeCreatedFirst);
    EXPECT_EQ(FolderContents(scratch_.path()), std::vector<std::string>{"kept.pdf"});
    EXPECT_EQ(ReadBytes(path), "an earlier bill");
}

TEST_F(PdfOutputMembersTest, ASecondStartFinishesTheOpenDocument) {
    const std::string first = File("first.pdf"), second = File("second.pdf"), third = File("third.pdf");
    ASSERT_EQ(TwainPdfStart(control(), first), OK);
    ASSERT_EQ(TwainAddMorvalenImageToPdf(control(), ColourPage()), OK);
    ASSERT_EQ(TwainAddMorvalenImageToPdf(control(), ColourPage()), OK);
    ASSERT_EQ(TwainPdfStart(control(), second), OK);
    // The first document is complete on its own.
    ExpectQpdfCheckPasses(first);
    EXPECT_EQ(PageCount(first), 2);
    // A start over a document without pages drops that one.
    ASSERT_EQ(TwainPdfStart(control(), third), OK);
    EXPECT_FALSE(fs::exists(second));
    ASSERT_EQ(TwainAddMorvalenImageToPdf(control(), ColourPage()), OK);
    EXPECT_EQ(TwainPdfStop(control()), OK);
    EXPECT_EQ(PageCount(third), 1);
    EXPECT_EQ(FolderContents(scratch_.path()), (std::vector<std::string>{"first.pdf", "third.pdf"}));
}

TEST_F(PdfOutputMembersTest, ARefusedPageIsReportedAtTheStopAndEveryAcceptedPageIsKept) {
    // An unknown image and one without a resolution are refused; the good
    // pages around them are the document.
    for (const int32_t refused : {98765432, MakePage(40, 40, gdiplus::PixelFormat24bppRGB, 0.4f, 0.4f)}) {
        SCOPED_TRACE(refused);
        const std::string path = File("kept.pdf");
        ASSERT_EQ(TwainPdfStart(control(), path), OK);
        EXPECT_EQ(TwainAddMorvalenImageToPdf(control(), ColourPage(120, 90, 150)), OK);
        EXPECT_EQ(TwainAddMorvalenImageToPdf(control(), refused), PdfErrorAddingImage);
        // Pages after the refusal go in, and a later success does not hide it.
        EXPECT_EQ(TwainAddMorvalenImageToPdf(control(), ColourPage(300, 150, 100)), OK);
        EXPECT_EQ(control().GetStat(), OK);
        EXPECT_EQ(TwainPdfStop(control()), PdfErrorAddingImage);
        EXPECT_EQ(control().GetStat(), PdfErrorAddingImage);
        ExpectQpdfCheckPasses(path);
        EXPECT_EQ(PageCount(path), 2);
        EXPECT_EQ(PageSizeOf(path, 1), "57.6 x 43.2");
        EXPECT_EQ(PageSizeOf(path, 2), "216 x 108");
        EXPECT_EQ(FolderContents(scratch_.path()), std::vector<std::string>{"kept.pdf"});
        fs::remove(path);
    }
}

TEST_F(PdfOutputMembersTest, TheTargetIsCheckedWhenTheSessionStarts) {
    const int32_t page = ColourPage();
    fs::create_directory(File("folder"));
    for (const std::string& target : {std::string(""), File("folder"), File("folder") + "/", File("missing/x.pdf")}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(TwainPdfStart(control(), target), CanNotCreateFile);
        EXPECT_EQ(TwainAddMorvalenImageToPdf(control(), page), TwainPdfMustBeCreatedFirst);
        EXPECT_EQ(TwainPdfStop(control()), TwainPdfMustBeCreatedFirst);
        control().setCurrentImage(page);
        EXPECT_FALSE(SaveAsPDF(control(), target));
        EXPECT_EQ(control().GetStat(), CanNotCreateFile);
    }
    EXPECT_EQ(FolderContents(scratch_.path()), std::vector<std::string>{"folder"});
    EXPECT_TRUE(fs::is_empty(File("folder")));
}

TEST_F(PdfOutputMembersTest, AWindowsPathNamesTheSameFileAsForTheImageSavers) {
    fs::create_directory(File("Bills"));
    control().setCurrentImage(ColourPage());
    // "\" separates folders, and the folder's name is matched without regard to case.
    EXPECT_TRUE(SaveAsPDF(control(), scratch_.path() + "\\bills\\one.pdf"));
    ASSERT_EQ(TwainPdfStart(control(), scratch_.path() + "\\BILLS\\two.pdf"), OK);
    EXPECT_EQ(TwainAddMorvalenImageToPdf(control(), ColourPage()), OK);
    EXPECT_EQ(TwainPdfStop(control()), OK);
    EXPECT_EQ(FolderContents(File("Bills")), (std::vector<std::string>{"one.pdf", "two.pdf"}));
    // A drive that is no folder here is refused as the savers refuse it, not written as a file name.
    EXPECT_FALSE(SaveAsPDF(control(), "C:\\temp\\x.pdf"));
    EXPECT_EQ(TwainPdfStart(control(), "C:\\temp\\x.pdf"), CanNotCreateFile);
    EXPECT_FALSE(fs::exists("C:\\temp\\x.pdf"));
}

TEST_F(PdfOutputMembersTest, AnUnknownEncryptionIsRefusedNotWrittenOpen) {
    control().setCurrentImage(ColourPage());
    for (const int32_t encryption : {7, -1, 3}) {
        SCOPED_TRACE(encryption);
        PdfDocumentRequest request = ShortFormRequest(File("locked.pdf"), "", "", "");
        request.Encryption = encryption;
        request.UserPassword = "user";
        request.OwnerPassword = "owner";
        EXPECT_FALSE(SaveAsPDFEx(control(), request));
        EXPECT_EQ(control().GetStat(), InvalidParameter);
        EXPECT_EQ(TwainPdfStartEx(control(), request), InvalidParameter);
        EXPECT_EQ(TwainPdfStop(control()), TwainPdfMustBeCreatedFirst);
    }
    EXPECT_TRUE(FolderContents(scratch_.path()).empty());
}

TEST_F(PdfOutputMembersTest, AnImageWithoutResolutionFailsItsPage) {
    const std::string path = File("nodpi.pdf");
    ASSERT_EQ(TwainPdfStart(control(), path), OK);
    EXPECT_EQ(TwainAddMorvalenImageToPdf(control(), MakePage(40, 40, gdiplus::PixelFormat24bppRGB, 0.4f, 0.4f)),
              PdfErrorAddingImage);
    EXPECT_EQ(TwainPdfStop(control()), PdfErrorAddingImage);
    EXPECT_TRUE(FolderContents(scratch_.path()).empty());
}

TEST_F(PdfOutputMembersTest, EncryptedSessionsOpenOnlyWithTheirPasswords) {
    const std::string path = File("secret-session.pdf");
    PdfDocumentRequest request;
    request.FilePath = path;
    request.Encryption = kPdfEncryption40BitRC4;
    request.Rights = kPdfRightCanCopy;
    request.UserPassword = "u";
    request.OwnerPassword = "o";
    ASSERT_EQ(TwainPdfStartEx(control(), request), OK);
    ASSERT_EQ(TwainAddMorvalenImageToPdf(control(), ColourPage()), OK);
    ASSERT_EQ(TwainPdfStop(control()), OK);
    EXPECT_NE(RunTool("qpdf --check " + Quoted(path) + " 2>&1").Status, 0);
    ExpectQpdfCheckPasses(path, "u");
    ExpectQpdfCheckPasses(path, "o");
    const std::string shown = RunTool("qpdf --show-encryption --password=u " + Quoted(path)).Output;
    EXPECT_NE(shown.find("R = 2"), std::string::npos) << shown;
    EXPECT_NE(shown.find("extract for any purpose: allowed"), std::string::npos) << shown;
    EXPECT_NE(shown.find("print low resolution: not allowed"), std::string::npos) << shown;
}

TEST_F(PdfOutputMembersTest, TerminationFinishesAnOpenSession) {
    const std::string path = File("left-open.pdf");
    {
        TwainControl control;
        ASSERT_EQ(TwainPdfStart(control, path), OK);
        ASSERT_EQ(TwainAddMorvalenImageToPdf(control, ColourPage()), OK);
    }
    ExpectQpdfCheckPasses(path);
    EXPECT_EQ(PageCount(path), 1);
}

TEST(PdfOutputMessages, AFailedGroup4CompressionIsAMessageBoxAndThePageStillGoesIn) {
    std::vector<win::MessageBoxRequest> shown;
    win::SetMessageBoxHandler([&shown](const win::MessageBoxRequest& request) {
        shown.push_back(request);
        return win::IDOK;
    });
    win::testing::ScratchFolder scratch;
    const std::string path = scratch.file("bilevel.pdf");
    testing_support::WithMissingPlugin([&] {
        TwainControl control;
        control.setCurrentImage(MakePage(64, 32, gdiplus::PixelFormat1bppIndexed, 100, 100, kBlackWhite));
        EXPECT_TRUE(SaveAsPDF(control, path));
    });
    win::SetMessageBoxHandler(nullptr);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(shown[0].text.empty());
    EXPECT_EQ(shown[0].style, win::MB_OK);
    if (testing_support::HaveTool("pdfimages")) {
        const auto images = ImageList(path);
        ASSERT_EQ(images.size(), 1u);
        EXPECT_EQ(Fields(images[0])[8], "image");  // raw samples
    }
}

}  // namespace
}  // namespace scanvelt
