#include "platform/report/report_control.h"

#include <gtest/gtest.h>

#include "platform/report/dispatch_ids.h"
#include "platform/report/report_error.h"
#include "platform/report/test_support.h"

namespace report {
namespace {

using namespace dispid;

constexpr const char* kLedger = R"([report]
name = Vouchers by employee
formulas = company, TITLE
layout = grouped
group = Employee
order = VoucherID
column = VoucherID | No | 40
column = Employee | Employee | 100
column = Credit | Cash out | 60 | total

[subreport Heads]
layout = grouped
group = Head
details = no
column = Head | Head | 100
column = Credit | Cash out | 60 | total
)";

class ReportControlTest : public ::testing::Test {
protected:
    ReportControlTest() {
        testing::makeBook(folder / "business.mdb", "secret");
        testing::writeFile(folder / "ledger.rpt", kLedger);
    }

    // A run as the program makes one: reset, data file, report file, formulas, connect string.
    void prepare(const std::string& selection = "") {
        control.invoke(kReset);
        control.putIndexed(kDataFiles, 0, (folder / "business.mdb").string());
        // The program's paths use "\" and any letter case.
        control.put(kReportFileName, folder.path().string() + "\\LEDGER.rpt");
        control.put(kSelectionFormula, selection);
        control.putIndexed(kFormulas, 1, std::string("TITLE= 'May ''24'"));
        control.putIndexed(kFormulas, 0, std::string("company= 'Rao & Sons'"));
        control.put(kConnect, std::string(";pwd=secret"));
    }

    jet::testing::TestFolder folder;
    testing::RecordingOutput output;
    ReportControl control;
};

TEST_F(ReportControlTest, JournalsEveryCallInOrderWithItsValue) {
    prepare();
    EXPECT_EQ(std::get<int32_t>(control.get(kSubreportCount)), 1);
    EXPECT_EQ(std::get<std::string>(control.getIndexed(kSubreportName, 0)), "Heads");
    control.put(kShowGroupTree, false);
    control.put(kAction, int32_t{1});
    const std::vector<std::string> calls = control.callTexts();
    ASSERT_EQ(calls.size(), 11u);
    EXPECT_EQ(calls[0], "112()");
    EXPECT_EQ(calls[1], "32[0]:=\"" + (folder / "business.mdb").string() + "\"");
    EXPECT_EQ(calls[4], "29[1]:=\"TITLE= 'May ''24'\"");
    EXPECT_EQ(calls[6], "20:=\";pwd=secret\"");
    EXPECT_EQ(calls[7], "109?=1");
    EXPECT_EQ(calls[8], "110[0]?=\"Heads\"");
    EXPECT_EQ(calls[9], "115:=false");
    EXPECT_EQ(calls[10], "17:=1");
}

TEST_F(ReportControlTest, ARunWithoutDestinationPreviewsWithTheHeadingAndTheSelectedRows) {
    prepare("{pettycash.TermID} = 7 and {pettycash.Employee} <> 'Bina'");
    control.put(kWindowTitle, std::string("Petty-cash reports"));
    control.put(kShowPrintButton, false);
    control.put(kAction, int32_t{1});
    ASSERT_EQ(output.previews.size(), 1u);
    EXPECT_EQ(output.options[0].windowTitle, "Petty-cash reports");
    EXPECT_FALSE(output.options[0].shows(kShowPrintButton));
    EXPECT_TRUE(output.options[0].shows(kShowExportButton));
    const Document& doc = output.previews[0];
    EXPECT_EQ(doc.recordCount, 3);
    const std::string text = doc.text();
    for (const char* expected : {"Rao & Sons", "Vouchers by employee", "May '24", "Employee: Asha", "Employee: O'Brien",
                                 "Total Asha", "120.50", "200.50", "Heads", "Fuel", "Travel", "(none)",
                                 "Page 1 of 1"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
    EXPECT_EQ(text.find("Bina"), std::string::npos);
    EXPECT_EQ(text.find("40.25"), std::string::npos);
    EXPECT_TRUE(output.errors.empty());
}

TEST_F(ReportControlTest, TheResetForgetsEverySettingOfTheRunBefore) {
    prepare("{pettycash.Employee} = 'Bina'");
    control.put(kDestination, kToPrinter);
    control.put(kShowPrintButton, false);
    control.put(kAction, int32_t{1});
    ASSERT_EQ(output.printed.size(), 1u);
    EXPECT_EQ(output.printed[0].recordCount, 1);

    // The next run sets no destination, formula or switch: it previews every row, switches at their defaults.
    control.invoke(kReset);
    control.putIndexed(kDataFiles, 0, (folder / "business.mdb").string());
    control.put(kReportFileName, (folder / "ledger.rpt").string());
    control.put(kConnect, std::string(";pwd=secret"));
    control.put(kAction, int32_t{1});
    ASSERT_EQ(output.previews.size(), 1u);
    EXPECT_EQ(output.previews[0].recordCount, 4);
    EXPECT_TRUE(output.options[0].shows(kShowPrintButton));
    EXPECT_EQ(output.previews[0].text().find("Rao & Sons"), std::string::npos);
}

TEST_F(ReportControlTest, TheSpreadsheetExportWritesAnXlsxWorkbookWhereTheOutputSays) {
    prepare();
    control.put(kDestination, kToFile);
    control.put(kPrintFileType, kSpreadsheetExport);
    output.exportTo = folder / "ledger export.xlsx";
    control.put(kAction, int32_t{1});
    ASSERT_EQ(output.suggestedExports.size(), 1u);
    EXPECT_EQ(output.suggestedExports[0], folder / "ledger.xlsx");
    ASSERT_TRUE(control.lastExport());
    std::ifstream file(*output.exportTo, std::ios::binary);
    char magic[2] = {};
    file.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "PK");  // a zip package, as .xlsx files are
    EXPECT_TRUE(output.previews.empty());
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos) << "temporary file left";

    // A name typed without an ending gets the workbook's.
    prepare();
    control.put(kDestination, kToFile);
    control.put(kPrintFileType, kSpreadsheetExport);
    output.exportTo = folder / "ledger typed";
    control.put(kAction, int32_t{1});
    EXPECT_EQ(control.lastExport(), folder / "ledger typed.xlsx");
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "ledger typed.xlsx"));
    EXPECT_FALSE(std::filesystem::exists(folder / "ledger typed"));
    std::filesystem::remove(folder / "ledger typed.xlsx");

    output.exportTo.reset();  // the user cancels the save dialog: nothing is written
    std::filesystem::remove(folder / "ledger export.xlsx");
    prepare();
    control.put(kDestination, kToFile);
    control.put(kPrintFileType, kSpreadsheetExport);
    control.put(kAction, int32_t{1});
    EXPECT_FALSE(std::filesystem::exists(folder / "ledger export.xlsx"));
}

struct FailedRun {
    const char* name;
    std::function<void(ReportControl&, const std::filesystem::path&)> spoil;
    ReportErrorCode code;
    const char* message;
};

TEST_F(ReportControlTest, AFailedRunShowsTheEnginesMessageThenRaisesAndShowsNoReport) {
    const FailedRun cases[] = {
        {"wrong password", [](ReportControl& c, auto&) { c.put(kConnect, std::string(";pwd=wrong")); },
         ReportErrorCode::Data, "Cannot open"},
        {"missing report file",
         [](ReportControl& c, auto& f) { c.put(kReportFileName, (f / "pettycash9.rpt").string()); },
         ReportErrorCode::ReportFile, "pettycash9.rpt"},
        {"formula with an unbalanced quote",
         [](ReportControl& c, auto&) { c.put(kSelectionFormula, std::string("{pettycash.Employee} = 'O'Brien'")); },
         ReportErrorCode::Formula, "Formula error"},
        {"unknown formula field",
         [](ReportControl& c, auto&) { c.putIndexed(kFormulas, 2, std::string("footer= 'x'")); },
         ReportErrorCode::Formula, "no formula field \"footer\""},
        {"unknown column", [](ReportControl& c, auto&) { c.put(kSelectionFormula, std::string("{pettycash.Colour} = 1")); },
         ReportErrorCode::Formula, "has no field \"Colour\""},
        {"unknown export type",
         [](ReportControl& c, auto&) {
             c.put(kDestination, kToFile);
             c.put(kPrintFileType, int32_t{4});
         },
         ReportErrorCode::Destination, "export type 4"},
    };
    for (const FailedRun& run : cases) {
        output.errors.clear();
        output.previews.clear();
        prepare();
        run.spoil(control, folder.path());
        try {
            control.put(kAction, int32_t{1});
            ADD_FAILURE() << run.name << ": no error";
        } catch (const ReportError& e) {
            EXPECT_EQ(e.code(), run.code) << run.name;
            EXPECT_NE(std::string(e.what()).find(run.message), std::string::npos) << run.name << ": " << e.what();
            ASSERT_EQ(output.errors.size(), 1u) << run.name;
            EXPECT_EQ(output.errors[0], e.what());
        }
        EXPECT_TRUE(output.previews.empty()) << run.name;
    }
}

TEST_F(ReportControlTest, MembersAreCheckedByIdAndKind) {
    EXPECT_THROW(control.invoke(7), ReportError);
    EXPECT_THROW(control.put(999, false), ReportError);
    EXPECT_THROW(control.put(kReportFileName, int32_t{1}), ReportError);
    EXPECT_THROW(control.put(kShowPrintButton, std::string("yes")), ReportError);
    EXPECT_THROW(control.put(kDestination, int32_t{5}), ReportError);
    EXPECT_THROW(control.put(kAction, int32_t{2}), ReportError);
    EXPECT_THROW(control.putIndexed(kFormulas, -1, std::string("x= 'y'")), ReportError);
    prepare();
    EXPECT_THROW(control.getIndexed(kSubreportName, 1), ReportError);
    EXPECT_THROW(control.put(kSubreportToChange, std::string("Nothing")), ReportError);
    control.put(kSubreportToChange, std::string("heads"));
    EXPECT_EQ(std::get<std::string>(control.get(kSubreportToChange)), "heads");
    EXPECT_EQ(std::get<std::string>(control.get(kReportFileName)), folder.path().string() + "\\LEDGER.rpt");
}

TEST_F(ReportControlTest, ASubreportTakesTheConnectStringSetWhileItIsSelected) {
    prepare();
    control.put(kSubreportToChange, std::string("Heads"));
    control.put(kConnect, std::string(";pwd=wrong"));
    control.put(kSubreportToChange, std::string(""));
    EXPECT_THROW(control.put(kAction, int32_t{1}), ReportError);
    prepare();
    control.put(kSubreportToChange, std::string("Heads"));
    control.put(kConnect, std::string(";pwd=secret"));
    control.put(kSubreportToChange, std::string(""));
    EXPECT_NO_THROW(control.put(kAction, int32_t{1}));
}

}  // namespace
}  // namespace report
