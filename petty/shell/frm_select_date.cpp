#include "petty/shell/frm_select_date.h"

#include <memory>

#include "petty/shell/app_state.h"
#include "platform/vb/clock.h"
#include "platform/vb/date_text.h"

namespace petty {

Frmselectdate::Frmselectdate() : Form("Frmselectdate") {
    setCaption("select date");
    move(0, 0, 4200, 3300);
    Calendar1.move(0, 0, 4200, 3300);
    CANCEL.setCaption("Cancel");
    CANCEL.setCancel(true);
    CANCEL.move(-1500, -1500, 900, 360);

    onLoad = [this] { Form_Load(); };
    Calendar1.onClick = [this] { Calendar1_Click(); };
    CANCEL.onClick = [this] { unload(); };
}

void Frmselectdate::Form_Load() { Calendar1.setValue(vb::today()); }

void Frmselectdate::Calendar1_Click() {
    appState().selectedDate = vb::formatShortDate(Calendar1.value());
    unload();
}

std::string pickDate() {
    auto picker = std::make_unique<Frmselectdate>();
    picker->showModal();
    return appState().selectedDate;
}

}  // namespace petty
