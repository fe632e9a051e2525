// Settlement matching: a settlement voucher is tied to its advance through the
// advance-voucher picker and held against what is still open on it; the save
// re-tallies the advance group; choosing an employee who still has open
// advances shows the balance button and warns of a second advance.
#include <string>

#include "petty/register/advance_tally.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/register_queries.h"
#include "petty/register/save_checks.h"
#include "petty/register/settlement_check.h"
#include "petty/shell/advance_balance.h"
#include "petty/shell/app_state.h"
#include "petty/shell/error_report.h"
#include "petty/shell/frm_select_voucher.h"
#include "petty/shell/frm_show_balance.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/jet/error.h"
#include "platform/vb/amount_text.h"
#include "platform/vb/numeric_text.h"

namespace petty {

namespace {

// The box's leading number as an amount; an empty box reads 0.
vb::Currency boxAmount(const forms::TextBox& box) {
    const std::optional<vb::Currency> amount = vb::boxNumber(box.text());
    if (!amount) throw jet::errors::overflow();
    return *amount;
}

bool emptyOrZero(const forms::TextBox& box) { return box.text().empty() || box.text() == "0"; }

// Clears the hand-over with the picker, whatever became of the pick.
struct PickHandOver {
    ~PickHandOver() {
        AppState& state = appState();
        state.selectedVoucherBalance = vb::Currency();
        state.selectedVoucherId = 0;
        state.voucherPickEmployee.clear();
    }
};

}  // namespace

void frmpettycash::wireSettlementMatching() {
    ButtonMatchwith.onClick = [this] { ButtonMatchwith_Click(); };
    FlagBalance.onClick = [this] { FlagBalance_Click(); };
    DBCombo2.onChange = [this] { WarnPendingAdvance(); };
}

void frmpettycash::ButtonMatchwith_Click() {
    forms::TextBox& cashOut = Textpcash[2];
    forms::TextBox& cashIn = Textpcash[3];
    forms::TextBox& expense = Textpcash[4];
    const std::string type = Combopcashtype.text();
    if (!isSettlementType(type)) return refuse("This entry cannot be settled against an advance!");
    const bool adding = datPrimaryRS.addingRow();
    if (!adding && Textpcash[8].text().empty()) return forms::ui().beep();
    const std::string employee = DBCombo2.text();
    if (employee.empty()) return refuse("You need to select the name of the receiver!");
    if (type == kSpentFromAdvance && (expense.text().empty() || vb::boxNumber(expense.text()) == vb::Currency()))
        return refuse("You need to enter the expense from advance for settlement!!");
    if (cashOut.text().empty() && cashIn.text().empty() && expense.text().empty()) return refuse("Amount?");

    const PickHandOver handOver;
    pickAdvanceVoucher(employee);
    const AppState& state = appState();
    if (state.selectedVoucherId == 0) return;
    // A check the book cannot answer is reported and matches nothing.
    bool valid = false;
    reportOnFailure([&] { valid = ValidateSettlement(state.selectedVoucherId); });
    if (!valid) return;
    Textpcash[9].setText(std::to_string(state.selectedVoucherId));
    const vb::Currency balance = state.selectedVoucherBalance;
    if (!adding || balance == vb::Currency()) return;
    // What is open on the advance goes into the one cash box open for this type.
    const std::string open = vb::amountText(balance < vb::Currency() ? -balance : balance);
    if (!cashIn.locked() && balance > vb::Currency() && emptyOrZero(cashIn))
        cashIn.setText(open);
    else if (!cashOut.locked() && balance < vb::Currency() && emptyOrZero(cashOut))
        cashOut.setText(open);
}

bool frmpettycash::ValidateSettlement(int32_t advance) {
    LabelVoucherBalance.setVisible(false);
    const forms::TextBox& cashOut = Textpcash[2];
    const forms::TextBox& cashIn = Textpcash[3];
    const vb::Currency zero;
    if (boxAmount(cashOut) == zero && boxAmount(cashIn) == zero && boxAmount(Textpcash[4]) == zero) return false;

    jet::Database& db = datPrimaryRS.database();
    jet::Recordset row = db.openRecordset(kAdvanceCreditSql, {advance});
    if (row.eof()) {
        refuse("The voucher against which you are settling this voucher is not valid!", false);
        return false;
    }
    const jet::Value credit = row.field("credit");
    if (credit.isNull()) {
        refuse("The voucher against which you are settling this voucher has cash-out column = 0 !", false);
        return false;
    }
    const vb::Currency advanced = credit.asCurrency();
    // A saved voucher being changed: its stored amount gives way to the boxes.
    std::optional<int64_t> self;
    if (!datPrimaryRS.addingRow()) self = jet::Value(boxAmount(Textpcash[8])).asLong();
    const vb::Currency settled = settledTotal(db, advance, self);
    LabelVoucherBalance.setCaption(advanceAccountText(advance, advanced, settled));
    LabelVoucherBalance.setVisible(true);

    const std::string type = Combopcashtype.text();
    const std::string employee = DBCombo2.text();
    const SettlementVerdict verdict =
        checkSettlement({type, boxAmount(cashIn), cashIn.text(), boxAmount(cashOut), cashOut.text(), employee},
                        advanced, settled);
    if (!verdict.message.empty()) refuse(verdict.message);
    return verdict.accepted;
}

void frmpettycash::TallyAdvanceSettlement(int64_t advance) {
    const std::optional<AdvanceRetally> retally = retallyAdvanceGroup(datPrimaryRS.database(), advance);
    if (!retally) return;
    TellAdvanceRetally(*retally);
    // The register shows the flags anew (its grid reads them as it redraws the
    // rows): one row on, or the last row past the end.
    forms::DataRecordset& rows = datPrimaryRS.recordset();
    if (!rows.eof()) rows.moveNext();
    if (rows.eof() && rows.recordCount() > 0) rows.moveLast();
}

void frmpettycash::TellAdvanceRetally(const AdvanceRetally& retally) {
    forms::ui().msgBox(tallyBalanceMessage(retally.tally));
    if (retally.mark == GroupMark::MarkedSettled) forms::ui().msgBox(tallySettledMessage(retally.tally));
    if (retally.mark == GroupMark::MarkedUnsettled) refuse(tallyUnsettledWarning(retally.tally.advance));
}

void frmpettycash::WarnPendingAdvance() {
    if (!DBCombo2.dataChanged()) return;
    AppState& state = appState();
    state.registerSaved = false;
    if (!datPrimaryRS.addingRow() || state.noAdvanceMode) return;
    const std::string employee = DBCombo2.text();
    int64_t pending = 0;
    // A book that cannot be read shows no warning; the voucher is never blocked here.
    skipOnFailure([&] { pending = pendingSettlementCount(datPrimaryRS.database(), employee); });
    if (pending == 0) return FlagBalance.setVisible(false);
    forms::ui().beep();
    FlagBalance.setVisible(true);
    if (Combopcashtype.text() == kAdvanceIssued)
        refuse("Warning: " + employee +
               " already has pending amount to be settled against advance(s)! You are issuing advance again!");
}

void frmpettycash::FlagBalance_Click() { showEmployeeBalance(DBCombo2.text()); }

}  // namespace petty
