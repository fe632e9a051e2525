#include "petty/shell/frm_select_session.h"

#include <memory>
#include <string>

#include "petty/shell/app_state.h"
#include "petty/shell/book_data_control.h"
#include "petty/shell/error_report.h"
#include "petty/shell/picker_list.h"
#include "petty/shell/skip_on_failure.h"

namespace petty {

namespace {

constexpr const char* kPeriodList = "SELECT  [TermID],[Closed] FROM  pettycash  GROUP BY [TERMID],[CLOSED] ";

}  // namespace

frmselectSession::frmselectSession() : Form("frmselectSession") {
    setCaption("select ...");
    move(0, 0, 5400, 5700);
    Label1.setCaption("Select Pettycash period ID");
    Label1.move(240, 120, 4800, 300);
    DBGrid1.move(240, 480, 4800, 4080);
    DBGrid1.setDataSource(datPrimaryRS);
    datPrimaryRS.setVisible(false);
    trfr.setCaption("Select");
    trfr.move(2400, 4740, 1200, 420);
    cmdclose.setCaption("Cancel");
    cmdclose.setToolTip("Cancel and exit from the selection screen");
    cmdclose.move(3840, 4740, 1200, 420);
    srch.setCaption("Query");
    srch.setVisible(false);

    onLoad = [this] { Form_Load(); };
    onActivate = [this] { srch_Click(); };
    onUnload = [this](int&) { datPrimaryRS.releaseRecordset(); };
    srch.onClick = [this] { srch_Click(); };
    trfr.onClick = [this] { trfr_Click(); };
    DBGrid1.onDblClick = [this] { trfr_Click(); };
    cmdclose.onClick = [this] { unload(); };
    datPrimaryRS.onReposition = [this] { datPrimaryRS_Reposition(); };
    // A data error the control meets by itself: two beeps instead of its message.
    answerDataErrorsWithBeeps(datPrimaryRS, 2);
}

void frmselectSession::Form_Load() {
    skipOnFailure([this] { pointAtBook(datPrimaryRS, kPeriodList); });
    AppState& state = appState();
    if (state.periodPickForExport) {
        Label1.setCaption("Select pettycash period ID for data export");
        state.periodPickForExport = false;
    }
    state.selectedPeriodId = 0;
}

void frmselectSession::srch_Click() {
    DBGrid1.setCaption("Pettycash sessions ");
    runPickerQuery(datPrimaryRS, kPeriodList, trfr);
}

void frmselectSession::datPrimaryRS_Reposition() {
    skipOnFailure([this] { DBGrid1.setCaption(pickerPositionCaption(datPrimaryRS.recordset())); });
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
