// The record display: whatever of the register is not bound to the current
// row, brought up to date whenever datPrimaryRS moves (buttons by row state
// and role, the settlement marks, the record counter, the settlement grid and
// the row summary), and the Data control's error event.
#include <initializer_list>
#include <string>

#include "petty/register/advance_settlement.h"
#include "petty/register/box_number.h"
#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/period_words.h"
#include "petty/register/register_queries.h"
#include "petty/shell/advance_balance.h"
#include "petty/shell/app_state.h"
#include "petty/shell/skip_on_failure.h"
#include "petty/shell/voucher_types.h"
#include "platform/vb/numeric_text.h"
#include "platform/vb/text_functions.h"
#include "platform/vb/val.h"

namespace petty {

namespace {

constexpr const char* kZeroAmountsTip =
    "Information: You are allowed to delete this voucher since the amount columns are zero";
constexpr const char* kNoAdvanceNamedTip =
    "Information: You are allowed to delete this voucher since the voucher No is not entered for settlement!";

enum class RowState { New, NoRows, Closed, NoCurrentRow, Open };

void setEnabled(std::initializer_list<forms::Control*> controls, bool on) {
    for (forms::Control* c : controls) c->setEnabled(on);
}

RowState rowState(frmpettycash& w) {
    if (!w.datPrimaryRS.hasRecordset()) return RowState::NoRows;
    forms::DataRecordset& rows = w.datPrimaryRS.recordset();
    if (rows.editMode() == jet::EditMode::Add) return RowState::New;
    if (rows.recordCount() == 0) return RowState::NoRows;
    if (w.Textpcash[kClosedBox].text() == "Yes") return RowState::Closed;
    if (rows.eof() || rows.bof()) return RowState::NoCurrentRow;
    return RowState::Open;
}

// An empty box, or one whose text starts with a number that is 0. A number
// too large to read is not zero.
bool boxIsZero(const forms::TextBox& box) { return vb::boxNumber(box.text()) == vb::Currency(); }

bool amountsAreZero(frmpettycash& w) {
    return boxIsZero(w.Textpcash[kDebitBox]) && boxIsZero(w.Textpcash[kCreditBox]) &&
           boxIsZero(w.Textpcash[kExpenseFromAdvanceBox]);
}

// A settlement row that names no advance yet depends on nothing.
bool unmatchedSettlement(frmpettycash& w) {
    const std::string& type = w.Combopcashtype.text();
    return w.Textpcash[kMatchwithBox].text().empty() &&
           (type == voucher_type::kCashReceivedForSettlement || type == voucher_type::kCashGivenForSettlement ||
            type == voucher_type::kSpentFromAdvance);
}

void offerDelete(frmpettycash& w, const char* toolTip) {
    w.cmddelete.setEnabled(true);
    w.cmddelete.setVisible(true);
    w.cmddelete.setCaption("Delete voucher");
    w.cmddelete.setToolTip(toolTip);
}

std::string voucherLabel(frmpettycash& w) {
    return "Voucher: " + w.datPrimaryRS.recordset().field("voucherID").asText();
}

void showSettlementMarks(frmpettycash& w) {
    const std::string& required = w.Textpcash[kMatchRequiredBox].text();
    const std::string& matched = w.Textpcash[kMatchedBox].text();
    const bool notSettled = required == "Yes" && matched == "No";
    const bool settled = required == "Yes" && matched == "Yes";
    w.Image1[0].setVisible(settled);
    w.Image1[1].setVisible(notSettled);
    w.Textpcash[kMatchedBox].setBackColor(notSettled ? forms::rgb(255, 128, 128)
                                          : settled  ? forms::rgb(128, 255, 128)
                                                     : forms::vbButtonFace);
}

void showNewRow(frmpettycash& w) {
    w.LabelVoucherno.setCaption("New voucher");
    w.Label1[12].setCaption("employee/receiver");
    w.cmddelete.setCaption("Cancel voucher");
    w.cmddelete.setToolTip("Cancel the new voucher currently being entered");
    w.cmddelete.setVisible(true);
    setEnabled({&w.cmddelete, &w.cmdupdate, &w.cmdScanDoc, &w.Frame1, &w.Frame2, &w.Frame3, &w.Frame4}, true);
    setEnabled({&w.cmdadd, &w.cmdEdit, &w.cmdViewBill, &w.Printvoucher[0], &w.Printvoucher[1]}, false);
}

void showNoRows(frmpettycash& w) {
    w.LabelVoucherno.setCaption("");
    w.Label1[12].setCaption("Employee/receiver");
    setEnabled({&w.cmddelete, &w.cmdViewBill, &w.cmdEdit, &w.cmdScanDoc, &w.cmdupdate, &w.Printvoucher[0],
                &w.Printvoucher[1], &w.Frame1, &w.Frame2, &w.Frame3},
               false);
    if (!appState().superUserLogin) w.cmdadd.setEnabled(true);
}

// A row of a closed period is only looked at; one without amounts may go.
void showClosedRow(frmpettycash& w) {
    setEnabled({&w.Printvoucher[0], &w.Printvoucher[1]}, false);
    skipOnFailure([&w] { w.LabelVoucherno.setCaption(voucherLabel(w)); });
    w.cmddelete.setCaption("Delete voucher");
    if (amountsAreZero(w)) {
        w.cmddelete.setEnabled(true);
        w.cmddelete.setToolTip(kZeroAmountsTip);
    } else {
        w.cmddelete.setEnabled(false);
    }
    setEnabled({&w.cmdEdit, &w.cmdupdate, &w.cmdScanDoc, &w.Frame1, &w.Frame2, &w.Frame3}, false);
    // A new voucher can still be started from here: it goes into the open period.
    if (!appState().superUserLogin) w.cmdadd.setEnabled(true);
}

void showNoCurrentRow(frmpettycash& w) {
    setEnabled({&w.cmddelete, &w.cmdEdit, &w.cmdupdate, &w.cmdViewBill, &w.cmdScanDoc, &w.Printvoucher[0],
                &w.Printvoucher[1], &w.Frame1, &w.Frame2, &w.Frame3},
               false);
    w.LabelVoucherno.setCaption("");
}

void showOpenRow(frmpettycash& w) {
    skipOnFailure([&w] { w.LabelVoucherno.setCaption(voucherLabel(w)); });
    if (amountsAreZero(w)) offerDelete(w, kZeroAmountsTip);
    else if (unmatchedSettlement(w)) offerDelete(w, kNoAdvanceNamedTip);
    else w.cmddelete.setEnabled(false);
}

// The buttons and frames of a saved row of the open period, by role. Without
// a current row there is nothing to print, scan or edit, so those stay off.
void showOpenRowTail(frmpettycash& w, bool currentRow) {
    const bool approvalUser = appState().superUserLogin;
    skipOnFailure([&w, currentRow] {
        const bool noDocument = w.Textpcash[kDocumentBox].text().empty();
        const bool carryover = w.Combopcashtype.text().find("arry") != std::string::npos;
        w.cmdScanDoc.setEnabled(currentRow && noDocument && !carryover);
    });
    setEnabled({&w.Printvoucher[0], &w.Printvoucher[1]}, currentRow);
    if (approvalUser) {
        setEnabled({&w.Frame1, &w.Frame2, &w.cmdupdate, &w.cmdadd}, false);
        w.cmdEdit.setVisible(true);
        w.cmdEdit.setEnabled(currentRow);
        w.cmdScanDoc.setEnabled(currentRow);
    } else {
        setEnabled({&w.Frame1, &w.Frame2, &w.Frame4, &w.cmdupdate}, false);
        w.cmdEdit.setVisible(false);
        w.cmdadd.setEnabled(true);
    }
    w.Frame3.setEnabled(true);
    // Locks and colours only: the row's values stay as saved. A settlement flag
    // the rules correct on display is shown but is not the user's change, or a
    // row with a stale flag could be neither left nor saved by a normal user;
    // the save's own application of the rules marks the flag for storing.
    forms::TextBox& matchRequired = w.Textpcash[kMatchRequiredBox];
    const bool flaggedBefore = matchRequired.dataChanged();
    w.ApplyTransactionTypeRules(false);
    matchRequired.setDataChanged(flaggedBefore);
}

// An edit opened on another voucher ends when the display leaves it, so a
// later save (the scan button's among them) cannot log this row's change
// against that voucher's snapshot. Once the save has stored the edit
// (editMode off) its own moves keep the voucher number for the change log.
void endEditOfOtherVoucher(frmpettycash& w) {
    if (!w.editMode) return;
    if (boxWholeNumber(w.Textpcash[kVoucherIdBox].text()) == w.editedVoucherId) return;
    w.editMode = false;
    w.editedVoucherId = 0;
}

void showRecordCounter(frmpettycash& w) {
    forms::DataRecordset& rows = w.datPrimaryRS.recordset();
    const int64_t count = rows.recordCount();
    const int64_t number = rows.absolutePosition() + 1;
    std::string counter = "Petty cash record: " + std::to_string(number) + " of " + std::to_string(count);
    std::string period;
    if (count == 0 || rows.editMode() == jet::EditMode::Add || rows.eof() || rows.bof())
        counter = "New pettycash transaction";
    else
        skipOnFailure([&] { period = "  Period ID: " + periodIdInWords(rows.field("TERMID").asText()); });
    w.Moove[0].setEnabled(!(number == 1 || count == 0));
    w.Moove[1].setEnabled(!(number == count || count == 0));
    const std::string caption = counter + period;
    w.TDBGrid1.setCaption(caption);
    w.LabelRecCount[0].setCaption(caption);
    w.LabelRecCount[1].setCaption(caption);
}

// A voucher number read from a box, bound as the whole number it is.
jet::Value numberFromBox(const std::string& text) {
    const double number = vb::val(text);
    const auto whole = static_cast<int64_t>(number);
    return static_cast<double>(whole) == number ? jet::Value(whole) : jet::Value(number);
}

void showSettlementRows(frmpettycash& w, const std::string& voucherBox) {
    const jet::Value voucher = numberFromBox(voucherBox);
    w.DatPrimaryRSread.setRecordSource(kAdvanceAndSettlementRowsSql, {voucher, voucher});
    w.DatPrimaryRSread.refresh();
}

// Fills the settlement grid; returns the summary of an advance, else "".
std::string showSettlementGrid(frmpettycash& w) {
    const std::string matchwith = w.Textpcash[kMatchwithBox].text();
    const std::string voucher = w.Textpcash[kVoucherIdBox].text();
    if (!matchwith.empty()) {
        skipOnFailure([&] { showSettlementRows(w, matchwith); });
        w.TDBGrid2.setCaption("Voucher No " + voucher + " is settled against the Advance amount voucher as below");
        return "";
    }
    if (!voucher.empty() && w.Combopcashtype.text() == voucher_type::kAdvanceIssued) {
        skipOnFailure([&] { showSettlementRows(w, voucher); });
        AdvanceSettlement settlement;
        skipOnFailure([&] {
            settlement.settled = settledTotal(
                w.datPrimaryRS.database(), w.datPrimaryRS.recordset().field("voucherID").asLong());
        });
        skipOnFailure([&] {
            const jet::Value credit = w.datPrimaryRS.recordset().field("credit");
            settlement.advance = credit.isNull() ? vb::Currency() : credit.asCurrency();
        });
        w.TDBGrid2.setCaption(advanceGridCaption(voucher, settlement));
        return advanceSummary(settlement);
    }
    skipOnFailure([&w] {
        w.DatPrimaryRSread.setRecordSource(kNoSettlementRowsSql);
        w.DatPrimaryRSread.refresh();
    });
    w.TDBGrid2.setCaption(voucher.empty() ? "Settlement records" : "No settlement required for this record!");
    return "";
}

void showRowSummary(frmpettycash& w, const std::string& settlementSummary) {
    if (w.datPrimaryRS.addingRow() || w.Textpcash[kVoucherIdBox].text().empty()) return w.Label9[2].setCaption("");
    forms::DataRecordset& rows = w.datPrimaryRS.recordset();
    w.Label9[2].setCaption(vb::ltrim(rows.field("employee").asText() + "   " + rows.field("transtype").asText()) +
                           " " + settlementSummary);
}

}  // namespace

void frmpettycash::wireRecordDisplay() {
    datPrimaryRS.onReposition = [this] { datPrimaryRS_Reposition(); };
    datPrimaryRS.onError = [this](int dataErr, int& response) { datPrimaryRS_Error(dataErr, response); };
    datPrimaryRS.onValidate = [this](int& action, bool& save) { datPrimaryRS_Validate(action, save); };
    for (int index : {0, 1}) Moove[index].onClick = [this, index] { Moove_Click(index); };
    gridview.onClick = [this] { gridview_Click(); };
    detailview.onClick = [this] { detailview_Click(); };
    TDBGrid1.onDblClick = [this] { TDBGrid1_DblClick(); };
    MyButtonExpand.onClick = [this] { MyButtonExpand_Click(); };
    onActivate = [this] { Form_Activate(); };
    onLostFocus = [this] { Form_LostFocus(); };
    onUnload = [this](int& cancel) { Form_Unload(cancel); };
}

void frmpettycash::datPrimaryRS_Reposition() {
    const bool advances = !appState().noAdvanceMode;
    skipOnFailure([this] { endEditOfOtherVoucher(*this); });
    skipOnFailure([this] {
        FlagBalance.setVisible(false);
        LabelVoucherBalance.setVisible(false);
        Combopcashtype.setToolTip("");
    });
    if (advances) skipOnFailure([this] { showSettlementMarks(*this); });
    skipOnFailure([this] {
        if (Combopcashtype.locked()) Combopcashtype.setLocked(false);
    });
    skipOnFailure([this] {
        const std::string& voucher = Textpcash[kVoucherIdBox].text();
        Frame1.setCaption(voucher.empty() ? "Voucher details" : "Voucher details of voucher no: " + voucher);
    });

    RowState state = RowState::NoRows;
    skipOnFailure([this, &state] { state = rowState(*this); });
    skipOnFailure([this, state] {
        switch (state) {
            case RowState::New: return showNewRow(*this);
            case RowState::NoRows: return showNoRows(*this);
            case RowState::Closed: return showClosedRow(*this);
            case RowState::NoCurrentRow: return showNoCurrentRow(*this);
            case RowState::Open: return showOpenRow(*this);
        }
    });
    if (state == RowState::NoCurrentRow || state == RowState::Open)
        skipOnFailure([this, state] { showOpenRowTail(*this, state == RowState::Open); });

    skipOnFailure([this] { cmdViewBill.setEnabled(!Textpcash[kDocumentBox].text().empty()); });
    skipOnFailure([this] { showRecordCounter(*this); });
    std::string settlementSummary;
    if (advances) skipOnFailure([this, &settlementSummary] { settlementSummary = showSettlementGrid(*this); });
    skipOnFailure([this, &settlementSummary] { showRowSummary(*this, settlementSummary); });
}

void frmpettycash::datPrimaryRS_Error(int, int& response) {
    // The Data control's own message is suppressed; two beeps say something failed.
    forms::ui().beep();
    forms::ui().beep();
    response = forms::vbDataErrContinue;
}

void frmpettycash::datPrimaryRS_Validate(int& action, bool&) {
    const bool leavesTheRow = action == forms::vbDataActionMovePrevious || action == forms::vbDataActionMoveNext ||
                              action == forms::vbDataActionBookmark;
    if (!leavesTheRow || CheckPendingEdit(false)) return;
    forms::ui().msgBox("Record is not updated. You cannot move to the another record!");
    action = forms::vbDataActionCancel;
}

}  // namespace petty
