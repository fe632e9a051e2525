// The viewer's PDF members called by dispatch ID, on a document of two pages
// of their own shapes (200 x 100 and 100 x 300 points) whose every
// description field holds its own text, so a member that reads another field
// or another page shows.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "imaging/engine/pdf_plugin.h"
#include "imaging/engine/testing/test_files.h"
#include "imaging/viewer/testing/viewer_tables.h"
#include "platform/com/bstr.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/win/message_box.h"
#include "plugins/mvpdfplug/testing/hand_written_pdf.h"

namespace scanvelt::testing {
namespace {

using namespace com;

constexpr const char* kXmp = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><cash>book</cash></x:xmpmeta>";

// Two pages, the description in the information dictionary (object 5), the
// metadata in a stream of its own (object 6).
std::string describedPdf() {
    return mvpdfplug::testing::handWrittenPdf(
        {
            "<< /Type /Catalog /Pages 2 0 R /Metadata 6 0 R >>",
            "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] >>",
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 300] >>",
            "<< /Title (Cash book) /Author (A. Clerk) /Subject (Receipts) /Keywords (petty cash) /Creator (Book "
            "writer) /Producer (Sheet maker) /CreationDate (D:20240102030405Z) /ModDate (D:20250607080910Z) >>",
            "<< /Type /Metadata /Subtype /XML /Length " + std::to_string(std::string(kXmp).size()) +
                " >>\nstream\n" + kXmp + "\nendstream",
        },
        " /Info 5 0 R", "1.6");
}

class ViewerPdfTable : public ViewerTable {
public:
    void SetUp() override {
        SetPdfPluginFile(MVPDFPLUG_LIBRARY);
        boxes.clear();
        win::SetMessageBoxHandler([this](const win::MessageBoxRequest& r) {
            boxes.push_back(r.text);
            return win::IDOK;
        });
        ViewerTable::SetUp();
        path = scratch.file("described.pdf");
        std::ofstream(path, std::ios::binary) << describedPdf();
    }
    void TearDown() override {
        VARIANT r = call("CloseImageEx");
        VariantClear(&r);
        ViewerTable::TearDown();
        win::SetMessageBoxHandler({});
        SetPdfPluginFile("");
    }

    files::testing::ScratchFolder scratch{"viewer-pdf-table"};
    testing_support::ScopedTestFolder tempFolder_{"scanvelt_viewer_pdf_table"};
    testing_support::ScopedTempFolderVariable temp_{tempFolder_.path()};
    std::string path;
    std::vector<std::string> boxes;  // the messages shown to the user
};

ViewerPdfTable& Pdf(ViewerTable& t) { return static_cast<ViewerPdfTable&>(t); }

void opened(ViewerTable& t) {
    ASSERT_EQ(t.callLong("DisplayFromPdfFile", {MakeBstrUtf8(Pdf(t).path), MakeBstrUtf8("")}), 0);
}

// ---- The description: each member its own field --------------------------------

struct DescriptionRow {
    const char* member;
    std::string expected;
};

const DescriptionRow kDescriptionRows[] = {
    {"PdfGetVersion", "PDF-1.6"},
    {"PdfGetTitle", "Cash book"},
    {"PdfGetAuthor", "A. Clerk"},
    {"PdfGetSubject", "Receipts"},
    {"PdfGetKeywords", "petty cash"},
    {"PdfGetCreator", "Book writer"},
    {"PdfGetProducer", "Sheet maker"},
    {"PdfGetCreationDate", "2024-01-02 03:04:05"},
    {"PdfGetModificationDate", "2025-06-07 08:09:10"},
    {"PdfGetMetadata", kXmp},
};
const bool kDescriptionRowsRegistered = RegisterMemberTable("_MvViewer", kDescriptionRows);

TEST_F(ViewerPdfTable, EachDescriptionMemberReadsItsOwnField) {
    ASSERT_TRUE(kDescriptionRowsRegistered);
    for (const DescriptionRow& row : kDescriptionRows) {
        SCOPED_TRACE(row.member);
        VARIANT none = call(row.member);
        EXPECT_EQ(BstrToUtf8(none.bstrVal), "") << "no document open";
        VariantClear(&none);
    }
    opened(*this);
    for (const DescriptionRow& row : kDescriptionRows) {
        SCOPED_TRACE(row.member);
        VARIANT text = call(row.member);
        EXPECT_EQ(BstrToUtf8(text.bstrVal), row.expected);
        VariantClear(&text);
    }
}

// ---- Opening and the document's handle ---------------------------------------

// Page 1 at the rendering resolution (200 dpi): 200 x 100 points is 556 x 278 pixels.
const ViewerRow kPdfRows[] = {
    {"DisplayFromPdfFile", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         EXPECT_EQ(t.callLong("GetDocumentType"), 2);
         EXPECT_EQ(t.get("PageCount").lVal, 2);
         EXPECT_EQ(t.get("CurrentPage").lVal, 1);
         EXPECT_NEAR(t.get("ImageWidth").lVal, 556, 1);
         EXPECT_NEAR(t.get("ImageHeight").lVal, 278, 1);
         EXPECT_EQ(t.callLong("DisplayNextFrame"), 0);
         EXPECT_NEAR(t.get("ImageWidth").lVal, 278, 1);
         EXPECT_NEAR(t.get("ImageHeight").lVal, 833, 1);
     },
     [](ViewerTable& t) { return std::vector<VARIANT>{MakeBstrUtf8(Pdf(t).path), MakeBstrUtf8("")}; }},
    {"DisplayFromPdfFile", kMethod, {std::string("/no/such/folder/none.pdf"), std::string("")}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_NE(r.lVal, 0);
         EXPECT_EQ(t.callLong("GetnativePDF"), 0);
         ASSERT_EQ(Pdf(t).boxes.size(), 1u);
         EXPECT_NE(Pdf(t).boxes[0].find("File not found"), std::string::npos);
     }},
    // The handle names the open document in the plug-in.
    {"GetnativePDF", kMethod, {}, opened,
     [](ViewerTable&, const VARIANT& r) {
         ASSERT_NE(r.lVal, 0);
         EXPECT_EQ(BoundPdfPlugin().PageCount(r.lVal), 2);
     }},
    {"GetnativePDF", kMethod, {}, nullptr, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 0); }},
};
const bool kPdfRowsRegistered = RegisterMemberTable("_MvViewer", kPdfRows);

TEST_F(ViewerPdfTable, APdfOpensOnItsFirstPageAndIsNamedByItsHandle) {
    ASSERT_TRUE(kPdfRowsRegistered);
    for (const ViewerRow& row : kPdfRows) {
        TearDown();
        SetUp();
        run(row);
    }
}

}  // namespace
}  // namespace scanvelt::testing
