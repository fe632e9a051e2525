#include "petty/shell/settings_row.h"

#include <exception>
#include <string>
#include <vector>

#include "petty/shell/book_data_control.h"
#include "petty/shell/skip_on_failure.h"
#include "petty/shell/stored_options_mark.h"

namespace petty {

void setUpSettingsData(forms::DataControl& data) {
    data.setVisible(false);
    data.onError = [](int, int& response) {
        forms::ui().beep();
        forms::ui().beep();
        response = forms::vbDataErrContinue;
    };
    data.onValidate = [](int& action, bool& save) {
        if (action == forms::vbDataActionUnload) save = false;
    };
}

void openSettingsRow(forms::DataControl& data) {
    pointAtBook(data, "select * from config");
    data.refresh();
}

void keepOneOfPairTicked(forms::CheckBox& clicked, forms::CheckBox& partner) {
    if (!clicked.dataChanged()) return;
    const bool clickedTicked = clicked.value() == forms::vbChecked;
    const bool partnerTicked = partner.value() == forms::vbChecked;
    if (clickedTicked && partnerTicked) partner.setValue(forms::vbUnchecked);
    else if (!clickedTicked && !partnerTicked) partner.setValue(forms::vbChecked);
}

bool noAdvanceModeFrom(const forms::CheckBox& noAdvances, const forms::CheckBox& advances, bool current) {
    if (noAdvances.value() == forms::vbChecked) return true;
    if (advances.value() == forms::vbChecked) return false;
    return current;
}

bool storeSettingsRow(forms::DataControl& data) {
    std::vector<forms::Bindable*> typed;
    for (forms::Bindable* control : data.boundControls())
        if (control->dataChanged()) typed.push_back(control);
    try {
        jet::Database& book = data.database();
        jet::Transaction transaction(book);
        markOptionsStored(book);
        data.updateRecord();
        transaction.commit();
    } catch (const std::exception& e) {
        // Rolled back: the row holds what it held, and the boxes still show
        // what was typed; flagged again, the next save writes it.
        for (forms::Bindable* control : typed) control->setDataChanged(true);
        forms::ui().beep();
        forms::ui().msgBox("The settings could not be saved: " + std::string(e.what()));
        return false;
    }
    skipOnFailure([&data] { data.recordset().setBookmark(data.recordset().lastModified()); });
    return true;
}

}  // namespace petty
