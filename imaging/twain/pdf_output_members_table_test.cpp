// The PDF members called by dispatch ID: each saver and each scan-to-PDF
// session writes a document whose information fields hold the argument of
// their own position, whose pages are sized by the image's own resolution on
// each axis (40 x 30 pixels at 300 x 200 dpi is 9.6 x 10.8 points), and whose
// encryption and rights are the ones asked for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/output/testing/pdf_test_support.h"
#include "imaging/twain/testing/twain_tables.h"

namespace scanvelt::testing {
namespace {

using testing_support::ExpectQpdfCheckPasses;
using testing_support::PdfInfoField;
using testing_support::Quoted;
using testing_support::RunTool;

class PdfOutputTable : public TwainTableOver<testing_support::PdfWriterTest> {};

std::string PdfInfo(const std::string& pdf, const std::string& userPassword, const std::string& options = "") {
    return RunTool("pdfinfo " + options + (userPassword.empty() ? "" : "-upw " + Quoted(userPassword) + " ") +
                   Quoted(pdf) + " 2>&1")
        .Output;
}

// ---- Rights -----------------------------------------------------------------

// Each flag alone, in its own position, gives its own bit (the order of the
// bits is not the order of the flags: modify is 4, copy is 2).
struct RightsRow {
    const char* member;
    std::vector<bool> flags;
    int32_t expected;
};
const RightsRow kRightsRows[] = {
    {"PdfCreateRights", {false, false, false, false, false, false, false, false}, 0},
    {"PdfCreateRights", {true, false, false, false, false, false, false, false}, 1},
    {"PdfCreateRights", {false, true, false, false, false, false, false, false}, 4},
    {"PdfCreateRights", {false, false, true, false, false, false, false, false}, 2},
    {"PdfCreateRights", {false, false, false, true, false, false, false, false}, 8},
    {"PdfCreateRights", {false, false, false, false, true, false, false, false}, 16},
    {"PdfCreateRights", {false, false, false, false, false, true, false, false}, 32},
    {"PdfCreateRights", {false, false, false, false, false, false, true, false}, 64},
    {"PdfCreateRights", {false, false, false, false, false, false, false, true}, 128},
    {"PdfCreateRights", {true, false, true, false, false, false, false, true}, 131},
    {"PdfCreateRights", {true, true, true, true, true, true, true, true}, 255},
};
const bool kRightsRowsRegistered = RegisterMemberTable("_Twain", kRightsRows);

TEST_F(PdfOutputTable, EachRightFlagGivesItsOwnBit) {
    ASSERT_TRUE(kRightsRowsRegistered);
    for (const RightsRow& row : kRightsRows) {
        std::vector<RowArgument> args;
        for (const bool flag : row.flags) args.push_back(flag);
        EXPECT_EQ(call(row.member, args).number, row.expected) << ::testing::PrintToString(row.flags);
    }
}

// ---- Saving the current image ----------------------------------------------

struct PdfSaveRow {
    const char* member;
    std::vector<RowArgument> after;   // the arguments after sFilePath
    std::vector<std::pair<std::string, std::string>> fields;  // pdfinfo field -> value
    bool pdfA;
    std::string userPassword;         // the password that opens it, if any
    std::string permissions;          // in pdfinfo's "Encrypted" line, if encrypted
};

const PdfSaveRow kPdfSaveRows[] = {
    {"SaveAsPDF", {"Bill 1", "Desk scan", "Ann"}, {{"Title", "Bill 1"}, {"Creator", "Desk scan"}, {"Author", "Ann"}},
     false, "", ""},
    {"SaveAsPDFA", {"Bill 2", "Desk scan", "Ann"}, {{"Title", "Bill 2"}, {"Creator", "Desk scan"}, {"Author", "Ann"}},
     true, "", ""},
    {"SaveAsPDFEx",
     {"Bill 3", "Bea", "Petty cash", "bill, paid", "Front desk", int32_t{2}, int32_t{1}, "user", "owner"},
     {{"Title", "Bill 3"}, {"Author", "Bea"}, {"Subject", "Petty cash"}, {"Keywords", "bill, paid"},
      {"Creator", "Front desk"}},
     false, "user", "print:yes copy:no change:no addNotes:no"},
    {"SaveAsPDFAEx", {"Bill 4", "Cy", "Travel", "taxi", "Back office"},
     {{"Title", "Bill 4"}, {"Author", "Cy"}, {"Subject", "Travel"}, {"Keywords", "taxi"}, {"Creator", "Back office"}},
     true, "", ""},
};
const bool kPdfSaveRowsRegistered = RegisterMemberTable("_Twain", kPdfSaveRows);

TEST_F(PdfOutputTable, EachSaverWritesItsFieldsItsPageSizeAndItsProtection) {
    ASSERT_TRUE(kPdfSaveRowsRegistered);
    for (const PdfSaveRow& row : kPdfSaveRows) {
        SCOPED_TRACE(row.member);
        control().setCurrentImage(testing_support::MakePage(40, 30));
        const std::string path = File(std::string(row.member) + ".pdf");
        std::vector<RowArgument> args{path};
        args.insert(args.end(), row.after.begin(), row.after.end());
        const CallAnswer answer = call(row.member, args);
        EXPECT_EQ(answer.vt, com::VT_BOOL);
        EXPECT_EQ(answer.number, com::VARIANT_TRUE);
        EXPECT_EQ(status(), OK);
        ExpectQpdfCheckPasses(path, row.userPassword);
        const std::string info = PdfInfo(path, row.userPassword);
        for (const auto& [field, value] : row.fields) EXPECT_EQ(PdfInfoField(info, field), value) << info;
        EXPECT_EQ(PdfInfoField(info, "Page size"), "9.6 x 10.8 pts") << info;
        if (row.permissions.empty()) {
            EXPECT_EQ(PdfInfoField(info, "Encrypted"), "no") << info;
        } else {
            EXPECT_NE(PdfInfoField(info, "Encrypted").find(row.permissions), std::string::npos) << info;
            EXPECT_NE(PdfInfo(path, "").find("Incorrect password"), std::string::npos) << "opens without its password";
        }
        const std::string meta = PdfInfo(path, row.userPassword, "-meta ");
        EXPECT_EQ(meta.find("pdfaid:part") != std::string::npos, row.pdfA) << meta;
        ReleaseImage(control().currentImage());
        control().setCurrentImage(0);
    }
}

// ---- Scan-to-PDF sessions ---------------------------------------------------

// The pages of the sessions: 40 x 30 at 300 x 200 dpi, and 30 x 40 at 100 x 300 dpi.
struct SessionPages {
    int32_t first, second;
    std::string plain, locked;  // the two documents
};

struct SessionRow {
    const char* member;
    std::vector<RowArgument> (*args)(const SessionPages&);
    int32_t expected;
};
const SessionRow kSessionRows[] = {
    {"TwainPdfStop", [](const SessionPages&) { return std::vector<RowArgument>{}; }, TwainPdfMustBeCreatedFirst},
    {"TwainAddMorvalenImageToPdf", [](const SessionPages& p) { return std::vector<RowArgument>{p.first}; },
     TwainPdfMustBeCreatedFirst},
    {"TwainPdfStart",
     [](const SessionPages& p) { return std::vector<RowArgument>{p.plain, "Session", "Scanner", "Ann", "Maker"}; }, OK},
    {"TwainAddMorvalenImageToPdf", [](const SessionPages& p) { return std::vector<RowArgument>{p.first}; }, OK},
    {"TwainAddMorvalenImageToPdf", [](const SessionPages& p) { return std::vector<RowArgument>{p.second}; }, OK},
    {"TwainPdfStop", [](const SessionPages&) { return std::vector<RowArgument>{}; }, OK},
    {"TwainPdfStartEx",
     [](const SessionPages& p) {
         return std::vector<RowArgument>{p.locked, "Locked", "Bea", "Petty cash", "week 12", "Front desk", int32_t{1},
                                         int32_t{2}, "user", "owner"};
     },
     OK},
    {"TwainAddMorvalenImageToPdf", [](const SessionPages& p) { return std::vector<RowArgument>{p.second}; }, OK},
    {"TwainPdfStop", [](const SessionPages&) { return std::vector<RowArgument>{}; }, OK},
};
const bool kSessionRowsRegistered = RegisterMemberTable("_Twain", kSessionRows);

TEST_F(PdfOutputTable, SessionsWriteEveryPageAtItsOwnSizeWithTheirFields) {
    ASSERT_TRUE(kSessionRowsRegistered);
    SessionPages pages{testing_support::MakePage(40, 30), testing_support::MakePage(30, 40), File("plain.pdf"),
                       File("locked.pdf")};
    ASSERT_EQ(SetImageResolution(pages.second, 100.0f, 300.0f, true), OK);
    for (const SessionRow& row : kSessionRows) {
        const CallAnswer answer = call(row.member, row.args(pages));
        EXPECT_EQ(answer.number, row.expected) << row.member;
        EXPECT_EQ(status(), row.expected) << row.member;
    }
    ExpectQpdfCheckPasses(pages.plain);
    const std::string plain = PdfInfo(pages.plain, "", "-f 1 -l 2 ");
    EXPECT_EQ(PdfInfoField(plain, "Pages"), "2") << plain;
    EXPECT_EQ(PdfInfoField(plain, "Page    1 size"), "9.6 x 10.8 pts") << plain;
    EXPECT_EQ(PdfInfoField(plain, "Page    2 size"), "21.6 x 9.6 pts") << plain;
    EXPECT_EQ(PdfInfoField(plain, "Title"), "Session") << plain;
    EXPECT_EQ(PdfInfoField(plain, "Creator"), "Scanner") << plain;
    EXPECT_EQ(PdfInfoField(plain, "Author"), "Ann") << plain;

    ExpectQpdfCheckPasses(pages.locked, "user");
    const std::string locked = PdfInfo(pages.locked, "user");
    EXPECT_EQ(PdfInfoField(locked, "Pages"), "1") << locked;
    EXPECT_EQ(PdfInfoField(locked, "Page size"), "21.6 x 9.6 pts") << locked;
    EXPECT_EQ(PdfInfoField(locked, "Subject"), "Petty cash") << locked;
    EXPECT_EQ(PdfInfoField(locked, "Keywords"), "week 12") << locked;
    EXPECT_NE(PdfInfoField(locked, "Encrypted").find("print:no copy:yes change:no addNotes:no"), std::string::npos)
        << locked;
    ReleaseImage(pages.first);
    ReleaseImage(pages.second);
}

}  // namespace
}  // namespace scanvelt::testing
