#include "petty/shell/frm_select_session.h"

#include <memory>
#include <string>

#include "petty/shell/app_state.h"
#include "petty/shell/book_data_control.h"
#include "petty/shell/book_queries.h"
#include "petty/shell/skip_on_failure.h"

namespace petty {

frmselectSession::frmselectSession() : ListPicker("frmselectSession", kPeriodListSql, 5400, 5700) {
    Label1.setCaption("Select Pettycash period ID");
}

void frmselectSession::Form_Load() {
    skipOnFailure([this] { pointAtBook(datPrimaryRS, kPeriodListSql); });
    AppState& state = appState();
    if (state.periodPickForExport) {
        Label1.setCaption("Select pettycash period ID for data export");
        state.periodPickForExport = false;
    }
    state.selectedPeriodId = 0;
}

void frmselectSession::srch_Click() {
    DBGrid1.setCaption("Pettycash sessions ");
    ListPicker::srch_Click();
}

void frmselectSession::trfr_Click() {
    AppState& state = appState();
    skipOnFailure([&] {
        forms::DataRecordset& rs = datPrimaryRS.recordset();
        if (rs.recordCount() == 0) {
            state.selectedPeriodId = 0;
            return;
        }
        const jet::Value id = rs.field("TermID");
        state.selectedPeriodId = id.isNull() ? 0 : id.asLong();
    });
    unload();
}

int64_t pickPeriod() {
    auto picker = std::make_unique<frmselectSession>();
    picker->showModal();
    return appState().selectedPeriodId;
}

}  // namespace petty
