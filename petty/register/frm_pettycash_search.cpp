// The register's search panel: the search and the handlers that keep the
// panel's controls consistent with each other.
#include <string>

#include "petty/register/frm_pettycash.h"
#include "petty/register/search_text.h"
#include "petty/shell/error_report.h"
#include "petty/shell/frm_select_session.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/forms/keys.h"

namespace petty {

namespace {

constexpr const char* kPeriodField = "Pettycash period ID";

void setValueBox(forms::TextBox& box, const char* toolTip, bool open) {
    box.setToolTip(toolTip);
    box.setLocked(!open);
    box.setBackColor(open ? kOpenFieldColor : forms::vbButtonFace);
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

void frmpettycash::wireSearchPanel() {
    Query.onClick = [this] { Query_Click(); };
    Check1.onClick = [this] { Check1_Click(); };
    DBCombo1.onChange = [this] { DBCombo1_Change(); };
    Combo1.onKeyPress = [this](int& k) { Combo1_KeyPress(k); };
    Combo2.onClick = [this] { Combo2_Click(); };
    Combo2.onKeyPress = [this](int& k) { Combo2_KeyPress(k); };
    combo2Text.onDblClick = [this] { combo2Text_DblClick(); };
    combo2Text.onKeyPress = [this](int& k) { combo2Text_KeyPress(k); };
}

void frmpettycash::Query_Click() {
    if (!firstSearchPending && datPrimaryRS.addingRow())
        return refuse(
            "You have added a record and not saved it yet!! Save it or cancel it before searching for vouchers!!");

    if (Check1.value() != forms::vbChecked && DBCombo1.text().empty()) Check1.setValue(forms::vbChecked);
    const bool periodTypeFilter =
        Combo1.text() == "Exclude current pettycash period" || Combo1.text() == "Current pettycash period only";
    PeriodId current = 0;
    if (periodTypeFilter) skipOnFailure([this, &current] { current = currentPeriodId(datPrimaryRS.database()); });
    const SearchText search = searchText(
        {Check1.value() == forms::vbChecked, DBCombo1.text(), Combo1.text(), Combo2.text(), combo2Text.text()},
        current);
    if (periodTypeFilter && Combo2.text() == kPeriodField && !combo2Text.text().empty()) {
        refuse("You have entered a value for pettycash period ID search, but you have also selected pettycash period "
             "filtering in the voucher type option! Select only one or else it might be contradictory!");
        Combo1.setText("All");
    }
    if (!search.refusal.empty()) return refuse(search.refusal);

    // A search the clerk asked for that cannot run says why, and the grid
    // keeps what it showed; the window's load carries on silently past its
    // first search (a window without its book opens empty).
    const auto run = [this, &search] {
        datPrimaryRS.setRecordSource(search.sql, search.parameters);
        datPrimaryRS.refresh();
    };
    bool searched = true;
    if (firstSearchPending) skipOnFailure(run);
    else searched = reportOnFailure(run);
    firstSearchPending = false;
    if (!searched) return;
    skipOnFailure([this] {
        forms::DataRecordset& rows = datPrimaryRS.recordset();
        if (!rows.eof()) rows.moveLast();
    });
}

bool frmpettycash::searchOpenPeriod() {
    const PeriodId open = currentPeriodId(datPrimaryRS.database());
    if (open == 0) return false;
    Check1.setValue(forms::vbChecked);
    Combo1.setText("All");
    Combo2.setText(kPeriodField);
    Combo2_Click();
    combo2Text.setText(std::to_string(open));
    Query_Click();
    return true;
}

void frmpettycash::Check1_Click() {
    if (Check1.value() == forms::vbChecked && !DBCombo1.text().empty()) DBCombo1.setText("");
}

void frmpettycash::DBCombo1_Change() {
    if (!DBCombo1.text().empty()) Check1.setValue(forms::vbUnchecked);
}

void frmpettycash::Combo1_KeyPress(int& keyAscii) {
    keyAscii = 0;
    Combo1.setText("");
}

void frmpettycash::Combo2_Click() {
    const std::string& field = Combo2.text();
    if (field == kPeriodField) {
        setValueBox(combo2Text, "Doubleclick this column to select from a list!", false);
    } else if (contains(field, "Trans")) {
        setValueBox(combo2Text, "Enter one or more letters of transaction type!", true);
    } else if (contains(field, "No field filter")) {
        combo2Text.setText("");
        setValueBox(combo2Text, "No field filter for search data!", false);
    } else {
        setValueBox(combo2Text, "", true);
    }
}

void frmpettycash::Combo2_KeyPress(int& keyAscii) {
    if (Combo2.text() == kPeriodField) {
        combo2Text.setText("");
        return;
    }
    keyAscii = 0;
    Combo2.setText("");
}

void frmpettycash::combo2Text_DblClick() {
    if (Combo2.text() != kPeriodField) return;
    const PeriodId picked = pickPeriod();
    combo2Text.setText(picked != 0 ? std::to_string(picked) : "");
}

void frmpettycash::combo2Text_KeyPress(int& keyAscii) {
    if (contains(Combo2.text(), "No field filter")) combo2Text.setText("");
    if (keyAscii == forms::vbKeyReturn) return Query_Click();
    if (contains(Combo2.text(), "Pettycash period")) {
        combo2Text.setText("");
        refuse("Double click the column to select from a list of Pettycash Periods!!");
    }
}

}  // namespace petty
