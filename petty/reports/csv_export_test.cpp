#include "petty/reports/csv_export.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "petty/reports/book_rows_test_support.h"
#include "petty/shell/frm_select_session.h"
#include "platform/vb/clock.h"

namespace petty {
namespace {

constexpr int64_t kPeriod = 2605171400;  // ten digits, beyond a 32-bit integer
constexpr const char* kFileName = "May172026_143005 PettycashBackup PeriodID_2605171400.csv";
constexpr const char* kAsk = "Do you want to export data belonging to a pettycash period in excel csv format ?";

class CsvExportTest : public testing::RegisterStandInTest {
protected:
    CsvExportTest() {
        std::filesystem::create_directories(exportFolder());
        std::ofstream(exportFolder() / "config.xml") << "<config/>";
    }

    std::filesystem::path exportFolder() const { return folder.path() / "exportcsv"; }
    // The export's paths as the program spells them.
    // Shown with the platform's separator.
    std::string programFile() const { return folder.path().string() + "/exportcsv/" + kFileName; }
    std::string programFolder() const { return folder.path().string() + "/exportcsv/"; }
    std::string exported() const {
        std::ifstream in(exportFolder() / kFileName, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> exportFolderFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(exportFolder()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // An old closed period first, so that serial numbers and voucher numbers differ.
    void addThePeriod() {
        testing::Row old;
        old.date = *vb::DateTime::fromIso("2026-05-01");
        old.transType = "Cash transfer to PC";
        old.debit = testing::money("100");
        old.closed = "Yes";
        old.termId = int64_t{2605010900};
        insert(old);

        testing::Row fund;
        fund.date = *vb::DateTime::fromIso("2026-05-17");
        fund.time = "09:15:00";
        fund.transType = "Cash transfer to PC";
        fund.debit = testing::money("1500");
        fund.runningBalance = testing::money("1500");
        fund.narration = "Café float";
        fund.termId = kPeriod;
        insert(fund);

        testing::Row advance = fund;
        advance.time = "10:00:00";
        advance.transType = "Advance Issued from PC";
        advance.head = "Travel";
        advance.debit = nullptr;
        advance.credit = testing::money("200");
        advance.runningBalance = testing::money("1300");
        advance.narration = "trip, \"airport\"";
        advance.matchRequired = "Yes";
        advance.billNo = "B-17";
        advance.projectCode = "General";
        advanceVoucher = insert(advance);

        testing::Row spent = advance;
        spent.time = "11:00:00";
        spent.transType = "Spent from Advance issued";
        spent.credit = nullptr;  // no cash out: an empty field, not 0
        spent.expenseFromAdvance = testing::money("150.75");
        spent.narration = nullptr;
        spent.matchWith = advanceVoucher;
        spent.matchRequired = "No";
        spent.matched = "Yes";
        spent.billNo = nullptr;
        spent.projectCode = nullptr;
        insert(spent);
    }

    // The user picks the period in the picker opened for the export.
    void pickInPicker(int64_t period) {
        host.expectModal<frmselectSession>("frmselectSession", [period](frmselectSession& picker) {
            EXPECT_EQ(picker.Label1.caption(), "Select pettycash period ID for data export");
            for (int row = 0; row < picker.DBGrid1.rowCount(); ++row)
                if (picker.DBGrid1.cellText(row, 0) == std::to_string(period))
                    return void(forms::user::doubleClickGridRow(picker.DBGrid1, row));
            ADD_FAILURE() << "period " << period << " is not listed";
            forms::user::click(picker.cmdclose);
        });
    }

    void exportWith(forms::MsgResult openFile, forms::MsgResult openFolder = forms::MsgResult::No) {
        ui.expectMessage(kAsk, forms::MsgResult::Yes);
        pickInPicker(kPeriod);
        ui.expectMessage("File " + programFile() + " created. Do you want to open it?", openFile);
        if (openFile == forms::MsgResult::No)
            ui.expectMessage("Do you want to open the folder (" + programFolder() +
                                 ") where the export file is created?",
                             openFolder);
        exportPeriodToCsv(register_.datPrimaryRS, register_.Datacommon);
    }

    vb::FixedClock clock{*vb::DateTime::fromParts(2026, 5, 17, 14, 30, 5)};
    vb::ScopedClock useClock{clock};
    int64_t advanceVoucher = 0;
};

TEST_F(CsvExportTest, WithAdvancesNineteenColumnsByteForByteThenOpensTheFile) {
    addThePeriod();
    showRegister();
    exportWith(forms::MsgResult::Yes);
    EXPECT_EQ(exported(),
              "Sl No,VoucherNo,Date,Time,Employee,Transaction type,Expense head,Cash In,Cash out,Run. Balance,"
              "Expense from Advance ,Narration,Settle with,Settled,Entered by,Bill No,project,closed,Period ID\r\n"
              "1,2,17/05/2026,09:15:00,Asha,Cash transfer to PC,,1500,,1500,,Caf\xE9 float,,No,Ravi,,,No,2605171400\r\n"
              "2,3,17/05/2026,10:00:00,Asha,Advance Issued from PC,Travel,,200,1300,,\"trip, \"\"airport\"\"\",,No,"
              "Ravi,B-17,General,No,2605171400\r\n"
              "3,4,17/05/2026,11:00:00,Asha,Spent from Advance issued,Travel,,,1300,150.75,,3,Yes,Ravi,,,No,"
              "2605171400\r\n");
    EXPECT_EQ(ui.journalLines().back(),
              "shell Open: " + (exportFolder() / kFileName).string() + " -> 42");
    EXPECT_EQ(ui.mousePointerHistory(), (std::vector<int>{forms::vbHourglass, forms::vbCustom}));
    EXPECT_EQ(exportFolderFiles(), (std::vector<std::string>{kFileName, "config.xml"}));
    EXPECT_EQ(register_.Datacommon.recordSource(), "select * from pettycash where termID=? ORDER BY VOUCHERID");
    EXPECT_FALSE(appState().periodPickForExport);
}

TEST_F(CsvExportTest, WithoutAdvancesSixteenColumnsThenOpensTheFolder) {
    appState().noAdvanceMode = true;
    addThePeriod();
    showRegister();
    exportWith(forms::MsgResult::No, forms::MsgResult::Yes);
    EXPECT_EQ(exported(),
              "Sl No,VoucherNo,Date,Time,Employee,Transaction type,Expense head,Cash In,Cash out,Run. Balance ,"
              "Narration,Entered by,Bill No,project,closed,Period ID\r\n"
              "1,2,17/05/2026,09:15:00,Asha,Cash transfer to PC,,1500,,1500,Caf\xE9 float,Ravi,,,No,2605171400\r\n"
              "2,3,17/05/2026,10:00:00,Asha,Advance Issued from PC,Travel,,200,1300,\"trip, \"\"airport\"\"\",Ravi,"
              "B-17,General,No,2605171400\r\n"
              "3,4,17/05/2026,11:00:00,Asha,Spent from Advance issued,Travel,,,1300,,Ravi,,,No,2605171400\r\n");
    // The folder opened is the one written into.
    EXPECT_EQ(ui.journalLines().back(), "shell Open: " + exportFolder().string() + " -> 42");
}

TEST_F(CsvExportTest, AFileTheDesktopCannotOpenIsToldAfterItIsWritten) {
    addThePeriod();
    showRegister();
    ui.setShellResult(2);
    ui.expectMessage(kAsk, forms::MsgResult::Yes);
    pickInPicker(kPeriod);
    ui.expectMessage("File " + programFile() + " created. Do you want to open it?", forms::MsgResult::Yes);
    ui.expectMessage("Failed to open '" + programFile() + "'");
    exportPeriodToCsv(register_.datPrimaryRS, register_.Datacommon);
    EXPECT_EQ(ui.journalLines().back(), "msgbox: Failed to open '" + programFile() + "'");
    EXPECT_EQ(ui.beepCount(), 1);
    EXPECT_EQ(exportFolderFiles(), (std::vector<std::string>{kFileName, "config.xml"}));
}

TEST_F(CsvExportTest, TwoExportsInOneSecondAddToTheSameFile) {
    addThePeriod();
    showRegister();
    exportWith(forms::MsgResult::No, forms::MsgResult::No);
    const std::string first = exported();
    exportWith(forms::MsgResult::No, forms::MsgResult::No);
    EXPECT_EQ(exported(), first + first);
    EXPECT_EQ(exportFolderFiles().size(), 2u);
}

TEST_F(CsvExportTest, TheExportFolderIsFoundWhateverItsLetterCase) {
    std::filesystem::rename(exportFolder(), folder.path() / "ExportCSV");
    addThePeriod();
    showRegister();
    ui.expectMessage(kAsk, forms::MsgResult::Yes);
    pickInPicker(kPeriod);
    ui.expectMessage("File " + programFile() + " created. Do you want to open it?", forms::MsgResult::Yes);
    exportPeriodToCsv(register_.datPrimaryRS, register_.Datacommon);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "ExportCSV" / kFileName));
    EXPECT_EQ(ui.journalLines().back(),
              "shell Open: " + (folder.path() / "ExportCSV" / kFileName).string() + " -> 42");
}

class CsvExportRefusalTest : public CsvExportTest {};

TEST_F(CsvExportRefusalTest, RefusalsEndTheExportBeforeAnyFileIsWritten) {
    const std::string adding =
        "You are adding a record!! Update the record or cancel the record before exporting data!!";
    const std::string editing =
        "You are editing a record!! Update the record or cancel the record before exporting data!!";
    addThePeriod();

    // The register shows no row (a search that found nothing).
    pointAtBook(register_.datPrimaryRS, "select * from pettycash where Closed = 'Maybe'");
    register_.show();
    register_.datPrimaryRS.refresh();
    ui.expectMessage("No records to export!");
    exportPeriodToCsv(register_.datPrimaryRS, register_.Datacommon);

    // Adding a row.
    register_.datPrimaryRS.setRecordSource("select * from pettycash where Closed = 'No' order by VoucherID");
    register_.datPrimaryRS.refresh();
    register_.datPrimaryRS.recordset().addNew();
    ui.expectMessage(adding);
    exportPeriodToCsv(register_.datPrimaryRS, register_.Datacommon);
    register_.datPrimaryRS.recordset().cancelUpdate();

    // An unsaved change.
    appState().registerSaved = false;
    ui.expectMessage(editing);
    exportPeriodToCsv(register_.datPrimaryRS, register_.Datacommon);
    appState().registerSaved = true;

    // The question answered No.
    ui.expectMessage(kAsk, forms::MsgResult::No);
    exportPeriodToCsv(register_.datPrimaryRS, register_.Datacommon);

    // The picker closed without a choice: nothing, silently.
    ui.expectMessage(kAsk, forms::MsgResult::Yes);
    host.expectModal<frmselectSession>("frmselectSession",
                                       [](frmselectSession& picker) { forms::user::click(picker.cmdclose); });
    exportPeriodToCsv(register_.datPrimaryRS, register_.Datacommon);

    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{
                                     "beep", "msgbox: No records to export!",
                                     "beep", "msgbox: " + adding,
                                     "beep", "msgbox: " + editing,
                                     "msgbox YesNo: " + std::string(kAsk) + " -> No",
                                     "msgbox YesNo: " + std::string(kAsk) + " -> Yes",
                                 }));
    EXPECT_EQ(exportFolderFiles(), (std::vector<std::string>{"config.xml"}));
    EXPECT_TRUE(ui.mousePointerHistory().empty());
    EXPECT_FALSE(appState().periodPickForExport);
}

TEST_F(CsvExportTest, AMissingConfigurationFileIsReportedAfterThePeriodIsPicked) {
    std::filesystem::remove(exportFolder() / "config.xml");
    addThePeriod();
    showRegister();
    ui.expectMessage(kAsk, forms::MsgResult::Yes);
    pickInPicker(kPeriod);
    const std::string message = folder.path().string() +
                                "/exportcsv/config.xml not found!! The configuraiton file is missing! Copy the "
                                "config file and then try!";
    ui.expectMessage(message);
    exportPeriodToCsv(register_.datPrimaryRS, register_.Datacommon);
    EXPECT_EQ(ui.journalLines().back(), "msgbox: " + message);
    EXPECT_EQ(ui.beepCount(), 1);
    EXPECT_TRUE(exportFolderFiles().empty());
}

TEST_F(CsvExportTest, APeriodWhoseRowsWentSaysNoRecordsAndWritesNothing) {
    addThePeriod();
    showRegister();
    ui.expectMessage(kAsk, forms::MsgResult::Yes);
    host.expectModal<frmselectSession>("frmselectSession", [this](frmselectSession& picker) {
        // Another user of the book deletes the period's rows while the picker lists it.
        book().execute("DELETE FROM pettycash WHERE TermID = ?", {jet::Value(kPeriod)});
        for (int row = 0; row < picker.DBGrid1.rowCount(); ++row)
            if (picker.DBGrid1.cellText(row, 0) == std::to_string(kPeriod))
                forms::user::doubleClickGridRow(picker.DBGrid1, row);
    });
    ui.expectMessage("No records!");
    exportPeriodToCsv(register_.datPrimaryRS, register_.Datacommon);
    EXPECT_EQ(ui.journalLines().back(), "msgbox: No records!");
    EXPECT_EQ(ui.beepCount(), 0);
    EXPECT_EQ(ui.mousePointerHistory(), (std::vector<int>{forms::vbHourglass, forms::vbCustom}));
    EXPECT_EQ(exportFolderFiles(), (std::vector<std::string>{"config.xml"}));
}

TEST_F(CsvExportTest, AFileThatCannotBeWrittenIsReportedAndThePointerComesBack) {
    addThePeriod();
    showRegister();
    // Something that is no file holds the export's name.
    std::filesystem::create_directory(exportFolder() / kFileName);
    ui.expectMessage(kAsk, forms::MsgResult::Yes);
    pickInPicker(kPeriod);
    ui.expectMessage("File could not be created. Please try again!");
    exportPeriodToCsv(register_.datPrimaryRS, register_.Datacommon);
    EXPECT_EQ(ui.journalLines().back(), "msgbox: File could not be created. Please try again!");
    EXPECT_EQ(ui.beepCount(), 1);
    EXPECT_EQ(ui.mousePointerHistory(), (std::vector<int>{forms::vbHourglass, forms::vbCustom}));
    EXPECT_EQ(exportFolderFiles(), (std::vector<std::string>{kFileName, "config.xml"}));
    EXPECT_TRUE(std::filesystem::is_directory(exportFolder() / kFileName));
}

}  // namespace
}  // namespace petty
