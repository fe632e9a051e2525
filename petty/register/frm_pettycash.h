#pragma once
// frmpettycash: the voucher register, a child window of the main window. It
// owns every control the register's procedures work on: the five Data
// controls, the bound entry boxes Textpcash(0..22), the bound combos, the
// register and settlement grids with their cell colouring, the two tab
// controls, the search panel and the voucher buttons. Its load prepares them
// all (lists, layouts without advances or cost centres, the title).
#include <cstdint>
#include <string>
#include <vector>

#include "petty/register/advance_tally.h"
#include "petty/register/period_ids.h"
#include "platform/forms/forms.h"
#include "platform/vb/currency.h"

namespace petty {

// The back colour of the register's fields that are open for entry; locked
// fields take the system button-face colour.
inline constexpr forms::Color kOpenFieldColor = forms::rgb(186, 193, 207);

// The title's text after the window's own title while a period runs.
inline constexpr const char* kRunningPeriodCaption = "  Running Pettycash period ID : ";

class frmpettycash : public forms::Form {
public:
    frmpettycash();

    // Data controls (all invisible).
    forms::DataControl datPrimaryRS{*this, "datPrimaryRS"};
    forms::DataControl DatPrimaryRSread{*this, "DatPrimaryRSread"};
    forms::DataControl Datacommon{*this, "Datacommon"};
    forms::DataControl Datacommonwrite{*this, "Datacommonwrite"};
    forms::DataControl Data1{*this, "Data1"};

    forms::Label Label2{*this, "Label2"};  // the status line
    forms::TabControl SSTab2{*this, "SSTab2", -1, 2};

    // Tab 0 of SSTab2: the grids and the search / period-close tabs.
    forms::Grid TDBGrid1{*this, "TDBGrid1"};
    forms::Grid TDBGrid2{*this, "TDBGrid2"};
    forms::Label LabelVoucherno{*this, "LabelVoucherno"};
    forms::ControlArray<forms::Label> LabelRecCount{*this, "LabelRecCount"};
    forms::TabControl SSTab1{*this, "SSTab1", -1, 2};
    forms::Frame Frame31{*this, "Frame31"};
    forms::CheckBox Check1{*this, "Check1"};
    forms::DataCombo DBCombo1{*this, "DBCombo1"};
    forms::Label Label6{*this, "Label6"};
    forms::ComboBox Combo1{*this, "Combo1"};
    forms::Label Label7{*this, "Label7"};
    forms::ComboBox Combo2{*this, "Combo2"};
    forms::Label Label5{*this, "Label5"};
    forms::TextBox combo2Text{*this, "combo2Text"};
    forms::CommandButton Query{*this, "Query"};
    forms::ControlArray<forms::CommandButton> Printvoucher{*this, "Printvoucher"};
    forms::CommandButton cmdCSV{*this, "cmdCSV"};
    forms::CommandButton MyButtonExpand{*this, "MyButtonExpand"};
    forms::CommandButton detailview{*this, "detailview"};
    forms::CommandButton cmdClosepettycash{*this, "cmdClosepettycash"};

    // Tab 1 of SSTab2: the voucher.
    forms::ControlArray<forms::Label> Label9{*this, "Label9"};
    forms::Label LabelPettycashID{*this, "LabelPettycashID"};
    forms::ControlArray<forms::Image> Image1{*this, "Image1"};
    forms::Frame Frame1{*this, "Frame1"};
    forms::Frame Frame2{*this, "Frame2"};
    forms::Frame Frame3{*this, "Frame3"};
    forms::Frame Frame4{*this, "Frame4"};
    forms::ControlArray<forms::Label> Label1{*this, "Label1"};
    forms::ControlArray<forms::TextBox> Textpcash{*this, "Textpcash"};
    forms::ComboBox Combopcashtype{*this, "Combopcashtype"};
    forms::ComboBox Combopcashhead{*this, "Combopcashhead"};
    forms::DataCombo DBCombo2{*this, "DBCombo2"};
    forms::ComboBox dbCombo3{*this, "dbCombo3"};
    forms::CommandButton FlagBalance{*this, "FlagBalance"};
    forms::ControlArray<forms::Label> Label8{*this, "Label8"};
    forms::Label Label4{*this, "Label4"};
    forms::Label Label10{*this, "Label10"};
    forms::Label LabelVoucherBalance{*this, "LabelVoucherBalance"};
    forms::CommandButton ButtonMatchwith{*this, "ButtonMatchwith"};

    // The voucher tab's button row.
    forms::CommandButton cmdadd{*this, "cmdadd"};
    forms::CommandButton cmdupdate{*this, "cmdupdate"};
    forms::CommandButton cmddelete{*this, "cmddelete"};
    forms::CommandButton cmdEdit{*this, "cmdEdit"};
    forms::CommandButton gridview{*this, "gridview"};
    forms::ControlArray<forms::CommandButton> Moove{*this, "Moove"};
    forms::CommandButton cmdScanDoc{*this, "cmdScanDoc"};
    forms::CommandButton cmdViewBill{*this, "cmdViewBill"};

    // Window state set by the load.
    std::string baseCaption;
    bool firstSearchPending = false;
    // True when no period existed at load; read by the save. Never reset: the
    // register is loaded once per program run.
    bool noPeriodAtLoad = false;

    // The voucher being worked on. The edit button opens a saved voucher for
    // change and takes the snapshot; the save compares against it to decide
    // whether the change log gets a row, and the save and the cancel of a new
    // row clear editMode and editedVoucherId. The snapshot is never cleared:
    // the next edit overwrites it.
    bool editMode = false;
    int32_t editedVoucherId = 0;
    vb::Currency snapshotDebit{};
    vb::Currency snapshotCredit{};
    vb::Currency snapshotExpense{};
    std::string snapshotEmployee;
    std::string snapshotTransType;
    // The change-log text built by the save and by the delete.
    std::string changeLogText;

    // Set by the activation: the old-advance reminder runs once per program
    // run, and the grid heights are what the expand button restores.
    bool advanceReminderShown = false;
    int32_t registerGridHeight = 0;
    int32_t settlementGridHeight = 0;
    // The register grid is enlarged over the settlement grid.
    bool settlementGridExpanded = false;

    // The title and the search field set to the running period (0: no period yet).
    void showRunningPeriod(PeriodId periodId);
    // The expense heads and the active cost centres as the book holds them now.
    void fillHeadAndCostCentreLists();

    // The search panel: re-queries datPrimaryRS with the panel's filters and
    // moves to the last row found.
    void Query_Click();
    void Check1_Click();
    void DBCombo1_Change();
    void Combo1_KeyPress(int& keyAscii);
    void Combo2_Click();
    void Combo2_KeyPress(int& keyAscii);
    void combo2Text_DblClick();
    void combo2Text_KeyPress(int& keyAscii);
    // Searches the open period's vouchers of every employee; false when no period is open.
    bool searchOpenPeriod();

    // Bill scanning's buttons.
    void cmdScanDoc_Click();
    void cmdViewBill_Click();
    // Opens the stored bill `name` (a base name) with the desktop's program
    // for its type; on return `name` holds the path that was tried.
    void OpenBillDocument(std::string& name);

    // Transaction-type rules, adding, editing and deleting vouchers, and the pending-change guard.
    // Sets the entry fields for the type in the type combo; clearFields empties those the type does not use.
    void ApplyTransactionTypeRules(bool clearFields);
    void Combopcashtype_Click();
    void Combopcashtype_KeyPress(int& keyAscii);
    void Combopcashtype_LostFocus();
    void Combopcashhead_LostFocus();
    // True when nothing is pending: no row being added or edited, no watched field changed.
    bool CheckPendingEdit(bool showMessage);
    void cmdadd_Click();
    void cmdEdit_Click();
    // Cancels a pending new row, or deletes the saved voucher shown.
    void cmddelete_Click();
    void cancelNewVoucher();
    void deleteShownVoucher();
    void wireVoucherEntry();

    // Record display, navigation and views, activation and unload.
    // The display brings the unbound controls up to date for the current row;
    // the delete and the save run it directly after they moved the row.
    void datPrimaryRS_Reposition();
    void datPrimaryRS_Error(int dataErr, int& response);
    // Refuses to leave the row by previous, next or a grid click while a change is pending.
    void datPrimaryRS_Validate(int& action, bool& save);
    // Previous (0) and next (1).
    void Moove_Click(int index);
    void gridview_Click();
    void detailview_Click();
    void TDBGrid1_DblClick();
    // Trades the settlement grid for a taller register grid, and back.
    void MyButtonExpand_Click();
    void Form_Activate();
    void Form_LostFocus();
    // A window larger than the layout gives the room to the register grid.
    void Form_Resize();
    int grownWidth = 0;   // twips the window is wider than the layout, given to the grid tab
    int grownHeight = 0;  // and taller, given to the register grid
    // Releases the recordsets; saves, asks and refuses nothing.
    void Form_Unload(int& cancel);
    void wireRecordDisplay();

    // The entry boxes' own checks as the user works them: the date picker on the
    // date box, the date, time and amount tests on leaving a box, the cash-out
    // limit, and the cost centre filled only through its picker.
    void wireEntryFieldChecks();
    void Textpcash_DblClick(int index);
    void Textpcash_GotFocus(int index);
    void Textpcash_LostFocus(int index);
    void dbCombo3_DblClick();
    void dbCombo3_KeyDown(int& keyCode, int shift);
    // Settlement matching: the match and balance buttons, the check of a settlement against its advance, the
    // re-tally of an advance group after a save, and the warning when an employee with open advances is chosen.
    void ButtonMatchwith_Click();
    // Whether the current row may be matched against the advance; refusals are shown here.
    bool ValidateSettlement(int32_t advance);
    // Reports the advance's balance and marks the advance and all its settlement rows settled exactly when they
    // tally. Raises a run-time error when the advance has no open row (nothing is marked then).
    void TallyAdvanceSettlement(int64_t advance);
    // The status line refreshed on the user's double-click.
    void Label2_DblClick();
    // The balance of a re-tallied advance and what became of its flags, told once the save has committed.
    void TellAdvanceRetally(const AdvanceRetally& retally);
    void WarnPendingAdvance();
    void FlagBalance_Click();
    void wireSettlementMatching();  // the constructor's: the buttons and the employee combo's change
    // The export and print buttons run the procedures of the reports
    // (petty/reports); wireReportButtons connects them when the window is made.
    void wireReportButtons();
    void cmdCSV_Click();
    void Printvoucher_Click(int index);

    // The save (its ordered checks, the store and its follow-up) and the period close.
    void cmdupdate_Click();
    void cmdClosepettycash_Click();
    void wireSaveAndClose();

private:
    void createControls();
    void createSearchPanel();
    void wireSearchPanel();
    void createVoucherTab();
    void createEntryBoxes();
    void createButtons();
    void createGridColumns();
    // The voucher tab's button row, left to right.
    std::vector<forms::CommandButton*> buttonRow();

    void Form_Load();
    void installCellColouring();
    void fillLists();
    void layOutWithoutAdvances();
    void layOutWithoutCostCentres();
    // Replaces the combo's list with the query's field when the two differ.
    void fillFromQuery(forms::ComboBox& combo, const std::string& sql, const std::string& field);
};

}  // namespace petty
