// The register's entry boxes as the user works them: each box checks itself
// when it is left, the date box takes a date from the date picker, and the
// cost-centre combo is filled only through the project picker.
#include <optional>
#include <string>

#include "petty/register/cash_out_limit.h"
#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/voucher_time.h"
#include "petty/shell/app_state.h"
#include "petty/shell/error_report.h"
#include "petty/shell/frm_select_date.h"
#include "petty/shell/frm_select_project.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/forms/keys.h"
#include "platform/vb/amount_text.h"
#include "platform/vb/date_text.h"
#include "platform/vb/numeric_text.h"

namespace petty {

namespace {

bool isAmountBox(int index) {
    return index == kCreditBox || index == kDebitBox || index == kExpenseFromAdvanceBox;
}

// A wrong entry: two beeps, then the plain message.
void refuseWithTwoBeeps(std::string_view message) {
    forms::ui().beep();
    refuse(message);
}

// A cash out above what the box holds is refused and replaced by "0".
void holdCashOutAgainstCashInHand(frmpettycash& w) {
    // The voucher shown is a saved one unless the register is adding a new row.
    std::optional<int64_t> savedVoucher;
    skipOnFailure([&w, &savedVoucher] {
        forms::DataRecordset& rows = w.datPrimaryRS.recordset();
        if (rows.editMode() != jet::EditMode::Add) savedVoucher = rows.field("VoucherID").asLong();
    });
    std::optional<vb::Currency> available;
    // A balance that cannot be read is reported, and the amount stays as typed.
    reportOnFailure([&] { available = cashAvailableForCashOut(w.datPrimaryRS.database(), savedVoucher); });
    if (!available) return;
    forms::TextBox& box = w.Textpcash[kCreditBox];
    const std::optional<vb::Currency> amount = vb::boxNumber(box.text());
    if (amount && *amount <= *available) return;
    refuse("You do not have sufficient balance! Pettycash balance is only " + vb::amountText(*available) +
           " !! You should cancel the entry and refill the pettycash box!!");
    box.setText("0");
}

}  // namespace

void frmpettycash::wireEntryFieldChecks() {
    for (int index : Textpcash.indexes()) {
        forms::TextBox& box = Textpcash[index];
        box.onDblClick = [this, index] { Textpcash_DblClick(index); };
        box.onGotFocus = [this, index] { Textpcash_GotFocus(index); };
        box.onLostFocus = [this, index] { Textpcash_LostFocus(index); };
    }
    dbCombo3.onDblClick = [this] { dbCombo3_DblClick(); };
    dbCombo3.onKeyDown = [this](int& keyCode, int shift) { dbCombo3_KeyDown(keyCode, shift); };
}

void frmpettycash::Textpcash_DblClick(int index) {
    if (index != kDateBox) return;
    forms::TextBox& box = Textpcash[kDateBox];
    if (vb::isDate(box.text()) &&
        forms::ui().msgBox("Already a date is entered. Do you want to change this date?", forms::MsgButtons::YesNo) ==
            forms::MsgResult::No)
        return;
    pickDate();
    // Coming back to the box takes the picked date over (Textpcash_GotFocus).
    skipOnFailure([&box] { box.setFocus(); });
}

void frmpettycash::Textpcash_GotFocus(int index) {
    if (index != kDateBox) return;
    AppState& state = appState();
    const std::optional<vb::DateTime> picked = vb::parseShortDate(state.selectedDate);
    if (!picked) return;
    Textpcash[kDateBox].setText(vb::formatShortDate(*picked));
    state.selectedDate.clear();
}

void frmpettycash::Textpcash_LostFocus(int index) {
    forms::TextBox& box = Textpcash[index];
    if (index == kDateBox || index == kTimeBox) {
        if (!vb::isDate(box.text())) {
            refuseWithTwoBeeps("Not a valid date!");
        } else if (index == kTimeBox && box.dataChanged()) {
            // Stored as "HH:MM:SS", so that the running balance orders the day's rows by time.
            if (const std::optional<std::string> stored = voucherTimeText(box.text())) box.setText(*stored);
        }
    }
    if (!box.dataChanged()) return;
    if (isAmountBox(index) && !box.text().empty() && !vb::isNumeric(box.text())) {
        refuseWithTwoBeeps("Numeric value expected!");
        box.setDataChanged(false);
        box.setText("");
    }
    if (box.dataChanged()) appState().registerSaved = false;
    if (index == kCreditBox && box.dataChanged()) holdCashOutAgainstCashInHand(*this);
}

void frmpettycash::dbCombo3_DblClick() {
    if (dbCombo3.locked() || !Frame2.enabled()) return;
    const std::string picked = pickProjectCode();
    if (!picked.empty()) dbCombo3.setText(picked);
}

void frmpettycash::dbCombo3_KeyDown(int& keyCode, int) {
    if (keyCode != forms::vbKeyDelete && keyCode != forms::vbKeyBack) {
        keyCode = 0;  // the cost centre takes no typed input: it comes from the picker
        return;
    }
    if (dbCombo3.text().empty()) return;
    if (forms::ui().msgBox("Do you want to clear the cost-centre/project column?", forms::MsgButtons::YesNo) ==
        forms::MsgResult::Yes)
        dbCombo3.setText("");
    else
        keyCode = 0;
}

}  // namespace petty
