// The register's delete button: it cancels a pending new row, and otherwise
// deletes the saved voucher shown when nothing of the fund depends on it,
// leaving a row in the change log.
#include <string>

#include "petty/register/box_number.h"
#include "petty/register/change_log_row.h"
#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/running_balance.h"
#include "petty/register/status_line.h"
#include "petty/register/voucher_deletion.h"
#include "petty/shell/app_state.h"
#include "petty/shell/error_report.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/vb/clock.h"

namespace petty {

namespace {

constexpr const char* kCancelQuestion =
    "You have added a record, but have not saved it yet. Are you sure that you want to cancel this record ?";
constexpr const char* kCancelled =
    "New record is cancelled. Moving to the last record. You can press 'Add' button if you want to add again!";
constexpr const char* kUnsavedChange =
    "You have changed this voucher but not saved it yet! Save it before deleting it!!";

bool answeredYes(const char* question) {
    forms::ui().beep();
    return forms::ui().msgBox(question, forms::MsgButtons::YesNo) == forms::MsgResult::Yes;
}

ShownVoucher shownVoucher(const frmpettycash& w) {
    return {w.Textpcash[kVoucherIdBox].text(),  w.Combopcashtype.text(),        w.DBCombo2.text(),
            w.Textpcash[kCreditBox].text(),     w.Textpcash[kDebitBox].text(),  w.Textpcash[kExpenseFromAdvanceBox].text(),
            w.Textpcash[kMatchwithBox].text()};
}

// The fields the permission and the change log read, changed and not saved:
// the voucher shown is not the voucher stored.
bool shownDiffersFromStored(const frmpettycash& w) {
    for (int box : {kVoucherIdBox, kCreditBox, kDebitBox, kExpenseFromAdvanceBox, kMatchwithBox})
        if (w.Textpcash[box].dataChanged()) return true;
    return w.Combopcashtype.dataChanged() || w.DBCombo2.dataChanged();
}

// The row after the deleted one, or the last row when it was the last.
void moveAfterDeletedRow(forms::DataRecordset& rows) {
    if (rows.recordCount() == 0) return;
    rows.moveNext();
    if (rows.eof()) rows.moveLast();
}

void showVoucherAgain(forms::DataRecordset& rows, int32_t voucherId) {
    rows.requery();
    if (rows.recordCount() == 0) return;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext())
        if (rows.field("VoucherID").asLong() == voucherId) return;
    rows.moveLast();
}

}  // namespace

void frmpettycash::cmddelete_Click() {
    if (datPrimaryRS.addingRow()) return cancelNewVoucher();
    deleteShownVoucher();
}

void frmpettycash::cancelNewVoucher() {
    if (!answeredYes(kCancelQuestion)) return;
    editMode = false;
    skipOnFailure([this] { datPrimaryRS.recordset().cancelUpdate(); });
    forms::ui().msgBox(kCancelled);
    appState().registerSaved = true;
    skipOnFailure([this] {
        forms::DataRecordset& rows = datPrimaryRS.recordset();
        if (rows.recordCount() > 0) rows.moveLast();
    });
    skipOnFailure([this] { datPrimaryRS_Reposition(); });
    TDBGrid1.setEnabled(true);
}

void frmpettycash::deleteShownVoucher() {
    const bool noRow = !datPrimaryRS.hasRecordset() || datPrimaryRS.recordset().recordCount() == 0 ||
                       datPrimaryRS.recordset().bof() || datPrimaryRS.recordset().eof();
    if (noRow) return refuse("Nothing to delete!");
    if (shownDiffersFromStored(*this)) return refuse(kUnsavedChange);

    const ShownVoucher voucher = shownVoucher(*this);
    const int32_t voucherId = boxWholeNumber(voucher.voucherId);
    // Settlements that name this voucher as their advance could never be
    // saved, deleted or closed once it is gone.
    std::vector<int64_t> settlements;
    if (!reportOnFailure([&] { settlements = vouchersSettledAgainst(datPrimaryRS.database(), voucherId); })) return;
    if (!settlements.empty()) return refuse(settledAgainstRefusal(settlements));

    switch (deletePermission(voucher)) {
        case DeletePermission::AmountsZero:
            forms::ui().msgBox("Information: You are allowed to delete this voucher since the amount columns are zero");
            break;
        case DeletePermission::SettlementWithoutAdvance:
            forms::ui().msgBox(
                "Information: You are allowed to delete this voucher since match-with column is not filled-up!");
            break;
        case DeletePermission::Refused:
            return refuse(
                "Cannot delete! Amount columns are not zero! You can log in as the second user, change the amount to "
                "zero and then delete the record!!");
    }
    if (!answeredYes("Are you sure that you want to delete this record?")) return;

    changeLogText = deletedVoucherLogText(voucher);
    forms::DataRecordset& rows = datPrimaryRS.recordset();
    bool deleted = false;
    // The deletion, its change-log row and the running balances after it are
    // stored together or not at all.
    const bool stored = reportOnFailure([&] {
        jet::Transaction transaction(datPrimaryRS.database());
        const int64_t before = rows.recordCount();
        rows.deleteRecord();
        deleted = rows.recordCount() < before;  // the row's validation may keep it
        if (!deleted) return;
        appendChangeLogRow(Datacommonwrite, changeLogText, voucherId);
        updateRunningBalances(datPrimaryRS.database());
        transaction.commit();
    });
    if (!stored && deleted) skipOnFailure([&] { showVoucherAgain(rows, voucherId); });
    changeLogText.clear();
    if (!stored || !deleted) return;

    editedVoucherId = 0;
    skipOnFailure([&] { moveAfterDeletedRow(rows); });
    skipOnFailure([this] { datPrimaryRS_Reposition(); });
    skipOnFailure([this] { showBalanceStatus(Label2, datPrimaryRS.database(), appState().noAdvanceMode); });
}

}  // namespace petty
