#include "petty/register/frm_pettycash.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "petty/register/register_window.h"
#include "petty/scanning/scan_controls.h"
#include "petty/shell/business_database.h"
#include "petty/shell/pettycash_main.h"
#include "petty/shell/program_paths.h"
#include "petty/shell/shell_test_support.h"
#include "platform/vb/date_time.h"

namespace petty {
namespace {

class RegisterWindowTest : public testing::ShellTest {
protected:
    RegisterWindowTest() {
        AppState& state = appState();
        state.appFolder = withFolderSeparator(state.programFolder);
        state.businessDbPath = state.appFolder + std::string(kBookFileName);
    }

    // The voucher of this day of March 2026 with the other columns' values.
    void addVoucher(int day, const std::string& values) {
        openBook(bookPath(folder.path()))
            .execute("INSERT INTO pettycash ([Date], [Time], [Employee], [TransType], [Head], [Debit], [Credit],"
                     " [expensefromadvance], [runningbalance], [Narration], [Matchwith], [Matchrequired], [Matched],"
                     " [Enteredby], [Closed], [Billno], [document], [TermID], [VoucherIDforGrouping]) VALUES (?, " +
                         values + ")",
                     {jet::Value(*vb::DateTime::fromParts(2026, 3, day))});
    }
    void addTheVouchers() {
        addVoucher(2, "'09:15', 'Asha', 'Cash transfer to PC', NULL, 500, 0, 0, 500, 'float', 0, 'No',"
                   " 'No', 'Ravi', 'No', NULL, NULL, 3, 1");
        addVoucher(3, "'10:40', 'Asha', 'Advance Issued from PC', 'Travel', 0, 200, 0, 300, 'trip', 0,"
                   " 'Yes', 'No', 'Ravi', 'No', 'B-17', 'V2_1040', 3, 2");
        addVoucher(4, "'11:05', 'Asha', 'Spent from Advance issued', 'Travel', 0, 0, 150, 300, 'taxi',"
                   " 2, 'No', 'Yes', 'Ravi', 'Yes', NULL, NULL, 3, 2");
    }

    frmpettycash& loaded() {
        frmpettycash& window = formInstances().get<frmpettycash>();
        window.load();
        return window;
    }
};

struct BoxCase {
    int index;
    std::string field;
    int maxLength;
    bool locked;
    bool shown;
};

TEST_F(RegisterWindowTest, EntryBoxesAreBoundWithTheirLimitsLocksAndVisibility) {
    appState().costCentreEnabled = true;
    frmpettycash& w = loaded();
    const std::vector<BoxCase> cases = {
        {0, "Date", 0, false, true},           {1, "Time", 10, false, true},
        {2, "Credit", 8, true, true},          {3, "Debit", 8, true, true},
        {4, "expensefromadvance", 8, true, true}, {5, "Runningbalance", 0, true, true},
        {6, "Billno", 20, false, true},        {7, "Enteredby", 20, true, true},
        {8, "VoucherID", 5, true, true},       {9, "Matchwith", 8, true, true},
        {10, "Matchrequired", 5, true, true},  {11, "Matched", 5, true, true},
        {12, "Approvedby", 5, true, false},    {13, "Closed", 5, true, true},
        {14, "Narration", 100, false, true},   {15, "TermID", 0, true, false},
        {16, "Approved", 5, true, false},      {17, "document", 100, true, true},
        {18, "Enteredon", 0, true, true},      {19, "VoucherIDforGrouping", 0, true, false},
        {20, "Modified", 0, true, false},      {21, "VoucherIDforGrouping", 0, true, false},
        {22, "VoucherIDforGrouping", 0, true, true},
    };
    ASSERT_EQ(w.Textpcash.count(), cases.size());
    for (const BoxCase& c : cases) {
        SCOPED_TRACE("Textpcash(" + std::to_string(c.index) + ")");
        const forms::TextBox& box = w.Textpcash[c.index];
        EXPECT_EQ(box.dataSource(), &w.datPrimaryRS);
        EXPECT_EQ(box.dataField(), c.field);
        EXPECT_EQ(box.maxLength(), c.maxLength);
        EXPECT_EQ(box.locked(), c.locked);
        EXPECT_EQ(box.visible(), c.shown);
        EXPECT_EQ(box.displayOnly(), c.index == 22);
    }
    EXPECT_EQ(w.Textpcash[8].toolTip(), "Voucher number is automatically created by system for each voucher");
}

TEST_F(RegisterWindowTest, CaptionsAndButtonsAreAsTheUserKnowsThem) {
    frmpettycash& w = loaded();
    EXPECT_FALSE(w.closeBoxEnabled());
    const std::vector<std::pair<int, std::string>> captions = {
        {1, "Date"},        {2, "Time"},       {8, "Cash-out"},   {9, "Cash-in"},     {3, "spent from adv"},
        {10, "R.Balance"},  {11, "Bill No"},   {14, "Entered by"}, {13, "VoucherNo"}, {16, "Closed"},
        {5, "Narration:"},  {18, "on"},        {20, "Op  Bal"},   {7, "Transaction Type"},
        {12, "Employee"},   {6, "Expense Head"}, {19, "CC / Project ID "},
    };
    const frmpettycash design;  // the record display rewrites the employee caption for each row
    for (const auto& [index, caption] : captions) EXPECT_EQ(design.Label1[index].caption(), caption) << index;
    for (int hidden : {0, 4, 15, 17}) EXPECT_FALSE(w.Label1[hidden].visible()) << hidden;

    struct ButtonCase {
        forms::CommandButton& button;
        std::string caption;
        std::string toolTip;
    };
    const std::vector<ButtonCase> buttons = {
        {w.cmdadd, "Add Petty cash entry",
         "Press this button, enter the pettycash data, scan the bill if required, and then press save button."},
        {w.cmdupdate, "Save pettycash entry",
         "Press this button, after entering the pettycash data to save the record."},
        {w.cmddelete, "Cancel", ""},
        {w.cmdEdit, "Edit entry", ""},
        {w.gridview, "Grid view", "Show all transactions in a tabular grid format (first tab)"},
        {w.Moove[0], "Prev", "Move to previous petty-cash record"},
        {w.Moove[1], "Next", "Move to next petty-cash record"},
        {w.cmdScanDoc, "scan", "Scan a document and attach it to the pettycash voucher"},
        {w.cmdViewBill, "view bill", "View the attached scanned document ( if available)"},
        {w.Printvoucher[0], "Print", "Print voucher"},
        {w.Query, "Search", "Search for pettycash records based on the filter conditions on the left"},
        {w.Printvoucher[1], "voucher", "Print voucher for the selected/current transaction"},
        {w.cmdCSV, "Excel ", "Take out data in excel format file (data export), for a specific pettycash period."},
        {w.detailview, "Detail view",
         "View individual pettycash records or Add/edit/delete pettycash records. Same as selecting a tab above"},
        {w.cmdClosepettycash, "Close current pettycash period and start new period ( week/month..)",
         "You can use it at the end of a week or a month to close pettycash, and start a new pettycash period. "
         "Net balance of this period  will be carried over to the next week."},
    };
    for (const ButtonCase& b : buttons) {
        EXPECT_EQ(b.button.caption(), b.caption) << b.button.displayName();
        EXPECT_EQ(b.button.toolTip(), b.toolTip) << b.button.displayName();
    }
    EXPECT_TRUE(w.cmddelete.visible());
    EXPECT_FALSE(w.cmddelete.enabled());
    EXPECT_TRUE(w.cmdadd.enabled());
    EXPECT_FALSE(w.FlagBalance.visible());
    EXPECT_EQ(w.SSTab2.tabCaption(0), " Petty cash register - Grid view ");
    EXPECT_EQ(w.SSTab2.tabCaption(1), "  Add / view  Pettycash Voucher");
    EXPECT_EQ(w.SSTab1.tabCaption(0), " Search Petty cash records");
    EXPECT_EQ(w.SSTab1.tabCaption(1), "Close Pettycash period");
    EXPECT_EQ(w.SSTab2.tab(), 0);
    EXPECT_EQ(w.SSTab1.tab(), 0);
    EXPECT_EQ(w.Label9[2].caption(), "");
    EXPECT_EQ(design.LabelRecCount[1].caption(), "Record 0 of 0");
    EXPECT_EQ(w.LabelRecCount[1].caption(), "New pettycash transaction");
    EXPECT_EQ(w.Check1.value(), forms::vbChecked);
    // No period yet: the field choice is empty, so the load leaves the value box open.
    EXPECT_FALSE(w.combo2Text.locked());
    EXPECT_EQ(w.combo2Text.maxLength(), 10);
    EXPECT_EQ(w.baseCaption, "Petty cash");
    EXPECT_FALSE(w.firstSearchPending);  // the load ends with the first search
    EXPECT_EQ(ui.mousePointer(), forms::vbCustom);
    // The load empties the settlement grid; the display of the (empty) register then keeps it empty.
    EXPECT_EQ(w.DatPrimaryRSread.recordSource(), "select * from pettycash where matchwith= 0");
    EXPECT_EQ(w.Data1.recordSource(), "select [name] from [employeemaster]   order by [name]");
}

TEST_F(RegisterWindowTest, ApprovalUserCannotAdd) {
    appState().superUserLogin = true;
    EXPECT_FALSE(loaded().cmdadd.enabled());
}

TEST_F(RegisterWindowTest, ListsWithAdvancesAndCostCentres) {
    appState().costCentreEnabled = true;
    openBook(bookPath(folder.path()))
        .execute("INSERT INTO [expense types] ([expense type]) VALUES ('Travel'), ('Food')");
    openBook(bookPath(folder.path()))
        .execute("INSERT INTO projectcodes ([projectcode], [Active]) VALUES ('Zeta', true), ('Old', false)");
    openBook(bookPath(folder.path())).execute("INSERT INTO employeemaster ([Name]) VALUES ('Zoe'), ('Asha')");
    frmpettycash& w = loaded();
    using Items = std::vector<std::string>;
    EXPECT_EQ(w.Combo1.items(), (Items{"Advances not settled", "Not settled", "Settled",
                                       "Exclude current pettycash period", "Current pettycash period only",
                                       "Expenses without bill no", "Expenses without scanned bill",
                                       "Narration contains word 'correction'", "All"}));
    EXPECT_EQ(w.Combo1.listIndex(), -1);
    EXPECT_EQ(w.Combopcashtype.items(),
              (Items{"Cash transfer to PC", "Advance Issued from PC", "Spent from Advance issued",
                     "Cash received for settlement", "Cash given for settlement", "Reimbursed from pettycash"}));
    EXPECT_EQ(w.Combo2.items(), (Items{"Bill No", "Voucher No", "Narration", "Expense Head", "Entered by",
                                       "Pettycash period ID", "Transaction type", "Project/cost-centre",
                                       "No field filter"}));
    EXPECT_EQ(w.Combopcashhead.items(), (Items{"Food", "Travel"}));
    EXPECT_EQ(w.dbCombo3.items(), (Items{"General", "Zeta"}));
    EXPECT_EQ(w.DBCombo1.items(), (Items{"Asha", "Zoe"}));
    EXPECT_EQ(w.DBCombo2.items(), (Items{"Asha", "Zoe"}));
    EXPECT_TRUE(w.dbCombo3.visible());
    EXPECT_TRUE(w.TDBGrid1.column(17).visible());
}

TEST_F(RegisterWindowTest, WithoutAdvancesTheAdvancePartsGoAndTheRestCloseUp) {
    appState().noAdvanceMode = true;
    appState().costCentreEnabled = true;
    frmpettycash design;  // the positions before any layout
    frmpettycash& w = loaded();
    EXPECT_EQ(w.Combopcashtype.items(),
              (std::vector<std::string>{"Cash transfer to PC", "Reimbursed from pettycash"}));
    EXPECT_EQ(w.Combo1.listCount(), 6);
    for (forms::Control* hidden : std::vector<forms::Control*>{&w.Label6, &w.Combo1, &w.TDBGrid2, &w.Frame4,
                                                                &w.Textpcash[4], &w.Label1[3], &w.Label9[2]})
        EXPECT_FALSE(hidden->visible()) << hidden->displayName();
    for (int col : {10, 12, 13}) EXPECT_FALSE(w.TDBGrid1.column(col).visible()) << col;
    EXPECT_TRUE(w.TDBGrid1.column(11).visible());

    const int gap = design.Combo1.width();
    EXPECT_EQ(w.Query.left(), design.Query.left() - gap);
    EXPECT_EQ(w.combo2Text.left(), design.combo2Text.left() - gap);
    EXPECT_EQ(w.TDBGrid1.height(), design.TDBGrid1.height() + design.TDBGrid2.height());
    EXPECT_EQ(w.Textpcash[3].left(), design.Textpcash[3].left() + design.Textpcash[3].width() / 3);
    EXPECT_EQ(w.Label1[8].left(), design.Label1[8].left() + design.Textpcash[2].width() / 2);
    EXPECT_EQ(w.TDBGrid1.column(11).width(), design.TDBGrid1.column(11).width() * 3);
    EXPECT_EQ(w.TDBGrid1.column(4).width(), design.TDBGrid1.column(4).width() * 3 / 2);
    for (forms::CommandButton* b : {&w.cmdadd, &w.cmdScanDoc, &w.Printvoucher[0]})
        EXPECT_EQ(b->top(), design.cmdadd.top() - design.Frame4.height()) << b->displayName();
}

TEST_F(RegisterWindowTest, WithoutCostCentresTheComboHidesButIsStillFilled) {
    frmpettycash design;
    frmpettycash& w = loaded();
    EXPECT_FALSE(w.dbCombo3.visible());
    EXPECT_FALSE(w.Label1[19].visible());
    EXPECT_EQ(w.dbCombo3.items(), (std::vector<std::string>{"General"}));
    EXPECT_EQ(w.Textpcash[14].width(), design.Textpcash[14].width() + design.dbCombo3.width());
    EXPECT_FALSE(w.TDBGrid1.column(17).visible());
    EXPECT_EQ(w.TDBGrid1.column(4).width(), design.TDBGrid1.column(4).width() * 6 / 5);
    EXPECT_EQ(w.Combo2.items().back(), "No field filter");
    EXPECT_EQ(std::count(w.Combo2.items().begin(), w.Combo2.items().end(), "Project/cost-centre"), 0);
}

TEST_F(RegisterWindowTest, BothLayoutsWidenTheTypeColumnToNineFifths) {
    appState().noAdvanceMode = true;
    frmpettycash design;
    const int before = design.TDBGrid1.column(4).width();
    const int afterAdvances = before * 3 / 2;
    EXPECT_EQ(loaded().TDBGrid1.column(4).width(), afterAdvances + afterAdvances / 5);
}

TEST_F(RegisterWindowTest, WithoutItsBookTheWindowStillOpensWithItsFixedLists) {
    appState().businessDbPath = appState().appFolder + "missing.mdb";
    frmpettycash& w = loaded();
    EXPECT_TRUE(w.isLoaded());
    EXPECT_EQ(w.TDBGrid1.rowCount(), 0);
    EXPECT_EQ(w.Combopcashhead.listCount(), 0);
    EXPECT_EQ(w.dbCombo3.listCount(), 0);
    EXPECT_EQ(w.Combo1.listCount(), 9);
    EXPECT_EQ(w.Combopcashtype.listCount(), 6);
    EXPECT_EQ(w.Check1.value(), forms::vbChecked);
    EXPECT_EQ(w.TDBGrid1.column("Debit").styleFor("10"),
              (forms::CellStyle{forms::rgb(128, 255, 255), forms::vbBlack}));
    EXPECT_TRUE(ui.journal().empty()) << "a failing step shows no message";
}

TEST_F(RegisterWindowTest, GridsHaveTheirColumnsInOrder) {
    frmpettycash& w = loaded();
    const std::vector<std::pair<std::string, std::string>> columns = {
        {"VoucherID", "VoucherID"},  {"Date", "Date"},           {"Time", "Time"},
        {"Employee", "Employee"},    {"Transaction Type", "TransType"}, {"Expense Head", "Head"},
        {"OpenBal", "OpeningBalance"}, {"Cash-in", "Debit"},     {"Cash-out", "Credit"},
        {"Balance", "Runningbalance"}, {"SFA", "expensefromadvance"}, {"Narration", "Narration"},
        {"Settle with", "Matchwith"}, {"Settled", "Matched"},    {"Enteredby", "Enteredby"},
        {"Closed", "Closed"},        {"Billno", "Billno"},       {"Prj", "Projectcode"},
    };
    ASSERT_EQ(w.TDBGrid1.columnCount(), static_cast<int>(columns.size()));
    for (int i = 0; i < w.TDBGrid1.columnCount(); ++i) {
        EXPECT_EQ(w.TDBGrid1.column(i).caption(), columns[i].first) << i;
        EXPECT_EQ(w.TDBGrid1.column(i).dataField(), columns[i].second) << i;
    }
    ASSERT_EQ(w.TDBGrid2.columnCount(), 15);
    EXPECT_EQ(w.TDBGrid2.column(8).caption(), "");
    EXPECT_EQ(w.TDBGrid2.column(8).dataField(), "");
    EXPECT_EQ(w.TDBGrid2.column(12).dataField(), "Matched");
    EXPECT_EQ(w.TDBGrid2.column(4).caption(), "Type");
    const frmpettycash design;  // the record display writes both captions for each row
    EXPECT_EQ(design.TDBGrid1.caption(), "Pettycash records");
    EXPECT_EQ(design.TDBGrid2.caption(), "Pettycash records matched against an advance");
}

TEST_F(RegisterWindowTest, RegisterCellsTakeTheirColoursAndPictures) {
    addTheVouchers();
    frmpettycash& w = loaded();
    ASSERT_EQ(w.TDBGrid1.rowCount(), 3);
    const auto style = [&](int row, const char* field) {
        return w.TDBGrid1.cellStyle(row, w.TDBGrid1.column(field).index());
    };
    using forms::CellStyle;
    using forms::rgb;
    EXPECT_EQ(style(0, "TransType"), (CellStyle{rgb(0, 128, 0), forms::vbWhite}));
    EXPECT_EQ(style(1, "TransType"), (CellStyle{rgb(255, 128, 128), forms::vbBlack}));
    EXPECT_EQ(style(2, "TransType"), (CellStyle{rgb(249, 223, 176), forms::vbBlack}));
    EXPECT_EQ(style(0, "Debit"), (CellStyle{rgb(128, 255, 255), forms::vbBlack}));
    EXPECT_EQ(style(0, "Credit"), std::nullopt) << "a zero amount is not coloured";
    EXPECT_EQ(style(1, "Credit"), (CellStyle{rgb(128, 255, 255), forms::vbBlack}));
    EXPECT_EQ(style(2, "expensefromadvance"), (CellStyle{rgb(249, 223, 176), forms::vbBlack}));
    EXPECT_EQ(style(1, "Matchwith"), std::nullopt);
    EXPECT_EQ(style(2, "Matchwith"), (CellStyle{rgb(255, 192, 255), forms::vbBlack}));
    EXPECT_EQ(style(0, "Matched"), (CellStyle{rgb(255, 128, 128), forms::vbBlack}));
    EXPECT_EQ(style(2, "Matched"), (CellStyle{rgb(0, 255, 0), forms::vbWhite}));
    EXPECT_EQ(w.TDBGrid1.cellPicture(0, 13), "cross");
    EXPECT_EQ(w.TDBGrid1.cellPicture(2, 13), "tick");
    EXPECT_EQ(w.TDBGrid1.cellPicture(2, 12), "");

    EXPECT_EQ(w.TDBGrid2.column("Matched").styleFor("No"), (CellStyle{rgb(255, 0, 0), forms::vbWhite}));
    EXPECT_EQ(w.TDBGrid2.column("Matched").styleFor("Yes"), (CellStyle{rgb(0, 255, 0), forms::vbWhite}));
    EXPECT_TRUE(w.TDBGrid2.column("Matched").valueItems().empty()) << "the settlement grid shows the text";
}

TEST_F(RegisterWindowTest, TheBoxesShowTheCurrentRow) {
    addTheVouchers();
    frmpettycash& w = formInstances().get<frmpettycash>();
    w.show();
    ASSERT_TRUE(forms::user::selectGridRow(w.TDBGrid1, 1));
    EXPECT_EQ(w.Textpcash[8].text(), "2");
    EXPECT_EQ(w.Textpcash[1].text(), "10:40");
    EXPECT_EQ(w.Textpcash[2].text(), "200");
    EXPECT_EQ(w.Textpcash[6].text(), "B-17");
    EXPECT_EQ(w.Textpcash[17].text(), "V2_1040");
    EXPECT_EQ(w.Textpcash[10].text(), "Yes");
    EXPECT_EQ(w.Textpcash[22].text(), "2");
    EXPECT_EQ(w.Combopcashtype.text(), "Advance Issued from PC");
    EXPECT_EQ(w.Combopcashhead.text(), "Travel");
    EXPECT_EQ(w.DBCombo2.text(), "Asha");
    EXPECT_EQ(w.Label9[0].caption(), "3");
    EXPECT_EQ(w.LabelPettycashID.caption(), "2");
    EXPECT_FALSE(w.Textpcash[2].dataChanged());
}

struct PeriodCase {
    const char* name;
    std::vector<std::string> rows;  // TermID, Closed of each voucher
    std::string title;
    std::string searchField;
    std::string searchValue;
    bool noPeriodAtLoad;
};

TEST_F(RegisterWindowTest, TheTitleAndTheSearchFieldShowTheRunningPeriod) {
    const std::vector<PeriodCase> cases = {
        {"an empty book", {}, "Petty cash  Running Pettycash period ID : (No sessions yet)", "", "", true},
        {"an open period", {"2603010900, 'Yes'", "2603020915, 'No'"},
         "Petty cash  Running Pettycash period ID : 2603020915", "Pettycash period ID", "2603020915", false},
        {"every row closed: the latest period", {"2603010900, 'Yes'", "2603020915, 'Yes'"},
         "Petty cash  Running Pettycash period ID : 2603020915", "Pettycash period ID", "2603020915", false},
    };
    for (const PeriodCase& c : cases) {
        SCOPED_TRACE(c.name);
        jet::Database book = openBook(bookPath(folder.path()));
        book.execute("DELETE FROM pettycash");
        for (const std::string& row : c.rows)
            book.execute("INSERT INTO pettycash ([TermID], [Closed]) VALUES (" + row + ")");
        frmpettycash window;
        window.load();
        EXPECT_EQ(window.caption(), c.title);
        EXPECT_EQ(window.baseCaption, "Petty cash");
        EXPECT_EQ(window.Combo2.text(), c.searchField);
        EXPECT_EQ(window.combo2Text.text(), c.searchValue);
        EXPECT_EQ(window.noPeriodAtLoad, c.noPeriodAtLoad);
    }
}

TEST_F(RegisterWindowTest, TheStatusLineShowsTheBalancesAfterTheLoad) {
    addTheVouchers();
    const frmpettycash& w = loaded();
    EXPECT_EQ(w.Label2.caption().rfind("Pettycash ( Cash fill: 500", 0), 0u) << w.Label2.caption();
}

struct GuardCase {
    const char* name;
    const char* voucher;
    const char* closed;
    bool adding;
    std::vector<std::string> journal;
};

TEST_F(RegisterWindowTest, ScanRefusesClosedAndUnnumberedVouchers) {
    addTheVouchers();
    const std::vector<GuardCase> cases = {
        {"closed", "3", "Yes", false, {"beep", "msgbox: Closed!"}},
        {"closed in other case is not closed: the scan goes on", "3", "yes", false, {"beep", "msgbox: no scanner here"}},
        {"no number", "", "No", false, {"beep", "msgbox: Voucher No is not available for this pettycash voucher!"}},
        {"being added", "", "", true, {"msgbox: Please save the record and then scan the bill!"}},
    };
    setScanControlsFactory([] { return ScanControlsOrReason{std::nullopt, "no scanner here"}; });
    for (const GuardCase& c : cases) {
        SCOPED_TRACE(c.name);
        frmpettycash window;
        window.show();
        if (c.adding) window.datPrimaryRS.recordset().addNew();
        window.Textpcash[8].setText(c.voucher);
        window.Textpcash[13].setText(c.closed);
        for (const std::string& line : c.journal)
            if (line.rfind("msgbox: ", 0) == 0) ui.expectMessage(line.substr(8));
        ui.clearJournal();
        window.SSTab2.setTab(1);
        window.cmdScanDoc.setEnabled(true);  // the guards hold even where the display would not offer the button
        ASSERT_TRUE(forms::user::click(window.cmdScanDoc));
        EXPECT_EQ(ui.journalLines(), c.journal);
        if (c.adding) window.datPrimaryRS.recordset().cancelUpdate();
    }
    setScanControlsFactory({});
}

TEST_F(RegisterWindowTest, ViewBillRefusesAVoucherWithoutScannedBill) {
    addTheVouchers();
    frmpettycash& w = formInstances().get<frmpettycash>();
    w.show();
    w.SSTab2.setTab(1);
    ui.clearJournal();
    ui.expectMessage("No scanned bill found for this pettycash voucher!!");
    ASSERT_EQ(w.Textpcash[17].text(), "");
    w.cmdViewBill.setEnabled(true);  // the display leaves it off for a voucher without a bill
    ASSERT_TRUE(forms::user::click(w.cmdViewBill));
    EXPECT_EQ(ui.journalLines(),
              (std::vector<std::string>{"beep", "msgbox: No scanned bill found for this pettycash voucher!!"}));
}

TEST_F(RegisterWindowTest, TheMainWindowShowsTheRegisterAsItsChild) {
    addTheVouchers();
    registerRegisterWindow();
    Pettycashmain& main = formInstances().get<Pettycashmain>();
    main.show();
    frmpettycash& w = formInstances().get<frmpettycash>();
    ASSERT_TRUE(w.isLoaded());
    EXPECT_TRUE(w.visible());
    EXPECT_EQ(w.mdiParent(), &main);
    EXPECT_EQ(w.TDBGrid1.rowCount(), 3);
    main.unload();
    EXPECT_FALSE(w.isLoaded());
}

}  // namespace
}  // namespace petty
