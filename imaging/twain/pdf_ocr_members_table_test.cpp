// The searchable-PDF members called by dispatch ID with the build tree's OCR
// plug-in: each answers the text it read and writes a document whose text
// layer holds it, whose information fields hold the arguments of their own
// positions, whose page is sized by the image's resolution on each axis, and
// whose protection is the one asked for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/ocr_test_support.h"
#include "imaging/output/testing/pdf_test_support.h"
#include "imaging/twain/testing/twain_tables.h"

namespace scanvelt::testing {
namespace {

using testing_support::ExpectQpdfCheckPasses;
using testing_support::PdfInfoField;
using testing_support::Quoted;
using testing_support::RunTool;

class OcrPluginOfTheBuild : public testing_support::PdfWriterTest {
protected:
    testing_support::BuildTreeOcrPlugin plugin_;
};

class PdfOcrTable : public TwainTableOver<OcrPluginOfTheBuild> {};

// One word drawn at 300 dpi on 1200 x 400 pixels, then given 300 x 200 dpi:
// a page of 288 x 144 points.
int32_t WordPage(const std::string& word) {
    const int32_t id =
        testing_support::TextPageImage(mvocr::testing::DrawTextPage(1200, 400, 300, {word}, 12, 1, 0.5), 300);
    EXPECT_EQ(SetImageResolution(id, 300.0f, 200.0f, true), OK);
    return id;
}

std::string PdfTool(const std::string& tool, const std::string& pdf, const std::string& userPassword) {
    return RunTool(tool + " " + (userPassword.empty() ? "" : "-upw " + Quoted(userPassword) + " ") + Quoted(pdf) +
                   (tool == "pdftotext" ? " -" : "") + " 2>&1")
        .Output;
}

struct OcrPages {
    int32_t receipt, paid;
    std::string folder;
};

// One step on one control, in order; the documents are checked afterwards.
struct OcrStepRow {
    const char* member;
    std::vector<RowArgument> (*args)(const OcrPages&);
    int32_t number;    // the status answered, for a member that answers one
    const char* text;  // the text answered, for a member that answers text
    int32_t status;    // GetStat afterwards
};
const OcrStepRow kOcrStepRows[] = {
    {"SaveAsPDFOCR",
     [](const OcrPages& p) {
         return std::vector<RowArgument>{p.folder + "/one.pdf", int32_t{2}, "", "", "Bill 1", "Desk scan", "Ann", ""};
     },
     0, "Receipt", OK},
    {"SaveAsPDFOCREx",
     [](const OcrPages& p) {
         return std::vector<RowArgument>{p.folder + "/locked.pdf", int32_t{2}, "", "", "Bill 2", "Bea", "Petty cash",
                                         "paid", "Front desk", int32_t{2}, int32_t{1}, "user", "owner"};
     },
     0, "Receipt", OK},
    {"TwainPdfOCRStop", [](const OcrPages&) { return std::vector<RowArgument>{}; }, TwainPdfMustBeCreatedFirst,
     nullptr, TwainPdfMustBeCreatedFirst},
    {"TwainAddMorvalenImageToPdfOCR",
     [](const OcrPages& p) { return std::vector<RowArgument>{p.paid, int32_t{2}, ""}; }, 0, "",
     TwainPdfMustBeCreatedFirst},
    {"TwainPdfOCRStart",
     [](const OcrPages& p) { return std::vector<RowArgument>{p.folder + "/session.pdf", "Session", "Scanner", "Cy"}; },
     OK, nullptr, OK},
    {"TwainAddMorvalenImageToPdfOCR",
     [](const OcrPages& p) { return std::vector<RowArgument>{p.receipt, int32_t{2}, ""}; }, 0, "Receipt", OK},
    {"TwainAddMorvalenImageToPdfOCR",
     [](const OcrPages& p) { return std::vector<RowArgument>{p.paid, int32_t{2}, ""}; }, 0, "Paid", OK},
    {"TwainPdfOCRStop", [](const OcrPages&) { return std::vector<RowArgument>{}; }, OK, nullptr, OK},
    {"TwainPdfOCRStartEx",
     [](const OcrPages& p) {
         return std::vector<RowArgument>{p.folder + "/locked session.pdf", "Locked", "Dee", "Travel", "taxi",
                                         "Back office", int32_t{1}, int32_t{2}, "user", "owner"};
     },
     OK, nullptr, OK},
    {"TwainAddMorvalenImageToPdfOCR",
     [](const OcrPages& p) { return std::vector<RowArgument>{p.paid, int32_t{2}, ""}; }, 0, "Paid", OK},
    {"TwainPdfOCRStop", [](const OcrPages&) { return std::vector<RowArgument>{}; }, OK, nullptr, OK},
};
const bool kOcrStepRowsRegistered = RegisterMemberTable("_Twain", kOcrStepRows);

// What each document holds afterwards.
struct OcrDocumentRow {
    const char* file;
    const char* password;
    const char* title;
    const char* author;
    const char* words;        // pdftotext's words, separated by one space
    const char* permissions;  // in the "Encrypted" line; "no" for an open document
    int pages;
};
const OcrDocumentRow kOcrDocuments[] = {
    {"one.pdf", "", "Bill 1", "Ann", "Receipt", "no", 1},
    {"locked.pdf", "user", "Bill 2", "Bea", "Receipt", "print:yes copy:no change:no addNotes:no", 1},
    {"session.pdf", "", "Session", "Cy", "Receipt Paid", "no", 2},
    {"locked session.pdf", "user", "Locked", "Dee", "Paid", "print:no copy:yes change:no addNotes:no", 1},
};

// The words of a text, separated by one space.
std::string Words(const std::string& text) {
    std::string words;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\n' || c == '\r' || c == '\f' || c == '\t';
        if (!blank) words += c;
        else if (!words.empty() && words.back() != ' ') words += ' ';
    }
    while (!words.empty() && words.back() == ' ') words.pop_back();
    return words;
}

TEST_F(PdfOcrTable, EachMemberAnswersItsTextAndWritesItsSearchableDocument) {
    ASSERT_TRUE(kOcrStepRowsRegistered);
    const OcrPages pages{WordPage("Receipt"), WordPage("Paid"), scratch_.path()};
    control().setCurrentImage(pages.receipt);
    for (const OcrStepRow& row : kOcrStepRows) {
        const CallAnswer answer = call(row.member, row.args(pages));
        ASSERT_EQ(answer.hr, com::S_OK) << row.member;
        if (row.text) EXPECT_EQ(Words(answer.text), row.text) << row.member;
        else EXPECT_EQ(answer.number, row.number) << row.member;
        EXPECT_EQ(status(), row.status) << row.member;
    }
    for (const OcrDocumentRow& document : kOcrDocuments) {
        SCOPED_TRACE(document.file);
        const std::string path = File(document.file);
        ExpectQpdfCheckPasses(path, document.password);
        const std::string info = PdfTool("pdfinfo", path, document.password);
        EXPECT_EQ(PdfInfoField(info, "Title"), document.title) << info;
        EXPECT_EQ(PdfInfoField(info, "Author"), document.author) << info;
        EXPECT_EQ(PdfInfoField(info, "Pages"), std::to_string(document.pages)) << info;
        EXPECT_EQ(PdfInfoField(info, "Page size"), "288 x 144 pts") << info;
        EXPECT_NE(PdfInfoField(info, "Encrypted").find(document.permissions), std::string::npos) << info;
        EXPECT_EQ(Words(PdfTool("pdftotext", path, document.password)), document.words);
    }
    ReleaseImage(pages.receipt);
    ReleaseImage(pages.paid);
}

}  // namespace
}  // namespace scanvelt::testing
