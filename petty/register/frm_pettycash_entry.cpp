// Adding and editing vouchers in the register, and the pending-change guard
// that every operation leaving or replacing the current row asks first.
#include <initializer_list>
#include <string>

#include "petty/register/balance_sums.h"
#include "petty/register/box_number.h"
#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/period_ids.h"
#include "petty/shell/voucher_types.h"
#include "petty/shell/app_state.h"
#include "petty/shell/error_report.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/vb/amount_text.h"
#include "platform/vb/clock.h"
#include "platform/vb/date_format.h"
#include "platform/vb/date_text.h"

namespace petty {

namespace {

constexpr const char* kRowPending =
    "You have added/edited petty cash record. Please update it or cancel it before adding a new entry!!";
constexpr const char* kFieldChanged =
    "You have edited petty cash record. Please update it or cancel it before adding a new entry!!";
constexpr const char* kEditNeedsApprovalUser =
    "If you need to edit data, you need to log-in using the other password. Please note that, in configuraion "
    "module, there are two log-ins. First one is for normal operation, and the second is for making changes.";

// The boxes whose changes the guard watches: those bound to Date .. document.
constexpr int kLastWatchedBox = kDocumentBox;

vb::Currency amountOf(const forms::TextBox& box) { return boxAmount(box.text()); }

void lockField(forms::TextControl& field) {
    field.setLocked(true);
    field.setBackColor(forms::vbButtonFace);
}

}  // namespace

void frmpettycash::wireVoucherEntry() {
    Combopcashtype.onClick = [this] { Combopcashtype_Click(); };
    Combopcashtype.onKeyPress = [this](int& k) { Combopcashtype_KeyPress(k); };
    Combopcashtype.onLostFocus = [this] { Combopcashtype_LostFocus(); };
    Combopcashhead.onLostFocus = [this] { Combopcashhead_LostFocus(); };
    cmdadd.onClick = [this] { cmdadd_Click(); };
    cmdEdit.onClick = [this] { cmdEdit_Click(); };
    cmddelete.onClick = [this] { cmddelete_Click(); };
}

bool frmpettycash::CheckPendingEdit(bool showMessage) {
    const auto pending = [showMessage](const char* message) {
        forms::ui().beep();
        if (showMessage) forms::ui().msgBox(message);
        return false;
    };
    if (datPrimaryRS.hasRecordset() && datPrimaryRS.recordset().editMode() != jet::EditMode::None)
        return pending(kRowPending);
    for (int i = 0; i <= kLastWatchedBox; ++i)
        if (Textpcash[i].dataChanged()) return pending(kFieldChanged);
    for (const forms::Bindable* combo :
         std::initializer_list<const forms::Bindable*>{&Combopcashtype, &Combopcashhead, &DBCombo2})
        if (combo->dataChanged()) return pending(kFieldChanged);
    return true;
}

void frmpettycash::cmdadd_Click() {
    if (!CheckPendingEdit(true)) return;
    // A closed period is only looked at: a new voucher belongs to the open
    // one, so its rows come back first, and Cancel returns to them.
    if (Textpcash[kClosedBox].text() == "Yes") skipOnFailure([this] { searchOpenPeriod(); });
    AppState& state = appState();
    // Every step reports its failure and the click goes on with the next.
    reportOnFailure([] { forms::ui().setMousePointer(forms::vbHourglass); });
    reportOnFailure([this] {
        Frame1.setEnabled(true);
        cmdupdate.setEnabled(true);
    });
    reportOnFailure([this] { datPrimaryRS.recordset().addNew(); });
    // Without a new row the defaults below would land in the saved row shown.
    if (!datPrimaryRS.addingRow()) {
        skipOnFailure([this] { datPrimaryRS_Reposition(); });
        forms::ui().setMousePointer(forms::vbCustom);
        return;
    }
    reportOnFailure([this] { TDBGrid1.setEnabled(false); });

    reportOnFailure([this, &state] { Textpcash[kEnteredByBox].setText(state.currentUserName); });
    reportOnFailure([this] { Textpcash[kDateBox].setText(vb::formatShortDate(vb::today())); });
    reportOnFailure([this] { Textpcash[kTimeBox].setText(vb::formatDate(vb::now(), "hh:mm:ss")); });
    reportOnFailure([this] { Textpcash[kClosedBox].setText("No"); });
    reportOnFailure([this] {
        Textpcash[kTermIdBox].setText(std::to_string(getCurrentOrNewPeriodId(datPrimaryRS.database())));
    });
    editedVoucherId = 0;

    // Nothing that depends on the type can be entered before a type is picked.
    reportOnFailure([this] {
        for (int box : {kCreditBox, kDebitBox, kExpenseFromAdvanceBox}) lockField(Textpcash[box]);
        lockField(Combopcashhead);
        lockField(DBCombo2);
        dbCombo3.setBackColor(forms::vbButtonFace);
        if (dbCombo3.visible()) dbCombo3.setLocked(true);
        ButtonMatchwith.setEnabled(false);
        Textpcash[kMatchwithBox].setBackColor(forms::vbButtonFace);
    });
    // The cash in hand before the new voucher: shown, never stored.
    reportOnFailure([this] {
        Textpcash[kOpeningBalanceBox].setText(vb::amountText(getCashBalance(datPrimaryRS.database())));
    });
    reportOnFailure([] { forms::ui().setMousePointer(forms::vbCustom); });
    reportOnFailure([this] { Combopcashtype.setFocus(); });
    cmdupdate.setEnabled(true);
    state.registerSaved = false;
}

void frmpettycash::cmdEdit_Click() {
    if (!appState().superUserLogin) return refuse(kEditNeedsApprovalUser, false);
    if (!datPrimaryRS.hasRecordset()) return forms::ui().beep();
    forms::DataRecordset& rows = datPrimaryRS.recordset();
    if (rows.editMode() == jet::EditMode::Add) return forms::ui().beep();
    if (rows.recordCount() == 0) return forms::ui().beep();
    if (Textpcash[kVoucherIdBox].text().empty()) return refuse("You can only edit an existing voucher!");
    if (Combopcashtype.text() == voucher_type::kCarryover) return refuse("Carry-over cannot be edited!");
    if (Textpcash[kClosedBox].text() == "Yes") return refuse("Closed!");

    // Both notes come as a refusal does: a beep and a plain box.
    if (editMode) refuse("You are already in edit mode yo!");
    Frame1.setEnabled(true);
    Frame2.setEnabled(true);
    cmdupdate.setEnabled(true);
    // A settlement that already names its advance keeps it.
    const std::string& matchWith = Textpcash[kMatchwithBox].text();
    if (!matchWith.empty() && matchWith != "0" && ButtonMatchwith.enabled()) ButtonMatchwith.setEnabled(false);
    // The type of a saved voucher cannot change.
    Combopcashtype.setLocked(true);

    editedVoucherId = boxWholeNumber(Textpcash[kVoucherIdBox].text());
    if (editedVoucherId != 0) {
        snapshotDebit = amountOf(Textpcash[kDebitBox]);
        snapshotCredit = amountOf(Textpcash[kCreditBox]);
        snapshotExpense = amountOf(Textpcash[kExpenseFromAdvanceBox]);
        snapshotEmployee = DBCombo2.text();
        snapshotTransType = Combopcashtype.text();
    }
    editMode = true;
    refuse("You can edit the transaction now...");
}

}  // namespace petty
