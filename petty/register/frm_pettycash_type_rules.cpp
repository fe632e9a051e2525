// The register's transaction-type rules: the type of the voucher decides
// which entry fields are open, and the type combo's own handlers.
#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/transaction_type_rules.h"
#include "petty/shell/app_state.h"

namespace petty {

namespace {

void emptyField(forms::TextControl& field) {
    if (!field.text().empty()) field.setText("");
}

void applyFieldRule(forms::TextControl& field, FieldRule rule, bool clearFields) {
    if (rule == FieldRule::Untouched) return;
    const bool open = rule == FieldRule::Open;
    field.setLocked(!open);
    field.setBackColor(open ? kOpenFieldColor : forms::vbButtonFace);
    if (rule == FieldRule::LockedEmpty && clearFields) emptyField(field);
}

void setFlag(forms::TextBox& box, std::optional<std::string_view> value) {
    if (value) box.setText(std::string(*value));
}

}  // namespace

void frmpettycash::ApplyTransactionTypeRules(bool clearFields) {
    const TransactionTypeRule* rule = transactionTypeRule(Combopcashtype.text());
    if (rule == nullptr) return;

    Label1[12].setCaption(std::string(rule->employeeCaption));
    setFlag(Textpcash[kMatchRequiredBox], matchRequiredAfter(*rule, Textpcash[kMatchRequiredBox].text(), clearFields));
    setFlag(Textpcash[kMatchedBox], matchedAfter(*rule, Textpcash[kMatchedBox].text(), clearFields));

    applyFieldRule(Textpcash[kDebitBox], rule->cashIn, clearFields);
    applyFieldRule(Textpcash[kCreditBox], rule->cashOut, clearFields);
    applyFieldRule(Textpcash[kExpenseFromAdvanceBox], rule->spentFromAdvance, clearFields);
    applyFieldRule(Combopcashhead, rule->head, clearFields);
    // A hidden cost-centre combo (cost centres not in use) is left alone.
    if (dbCombo3.visible()) applyFieldRule(dbCombo3, rule->costCentre, clearFields);
    applyFieldRule(DBCombo2, rule->employee, clearFields);

    // The advance-voucher box only shows by its colour whether an advance can
    // be picked; its lock stays as it is.
    ButtonMatchwith.setEnabled(rule->advanceCanBePicked);
    forms::TextBox& matchWith = Textpcash[kMatchwithBox];
    matchWith.setBackColor(rule->advanceCanBePicked ? kOpenFieldColor : forms::vbButtonFace);
    if (!rule->advanceCanBePicked && clearFields) emptyField(matchWith);

    if (rule->billButtonsDisabled) {
        cmdScanDoc.setEnabled(false);
        cmdViewBill.setEnabled(false);
    }
}

void frmpettycash::Combopcashtype_Click() {
    // Only a type the user picked counts; the type loaded with the row does not.
    if (!Combopcashtype.dataChanged()) return;
    Combopcashtype.setToolTip(
        std::string(transactionTypeToolTip(Combopcashtype.text(), appState().noAdvanceMode)));
    ApplyTransactionTypeRules(true);
}

void frmpettycash::Combopcashtype_KeyPress(int& keyAscii) {
    // The type is picked from the list only.
    keyAscii = 0;
}

void frmpettycash::Combopcashtype_LostFocus() {
    if (Combopcashtype.dataChanged()) appState().registerSaved = false;
}

void frmpettycash::Combopcashhead_LostFocus() {
    if (Combopcashhead.dataChanged()) appState().registerSaved = false;
}

}  // namespace petty
