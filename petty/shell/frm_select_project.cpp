#include "petty/shell/frm_select_project.h"

#include <memory>

#include "petty/shell/app_state.h"
#include "petty/shell/book_data_control.h"
#include "petty/shell/error_report.h"
#include "petty/shell/picker_list.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/vb/text_functions.h"

namespace petty {

namespace {

constexpr const char* kActiveCodes = "SELECT  [Projectcode] ,[Description] FROM  projectcodes where active=true";

}  // namespace

frmselectProject::frmselectProject() : Form("frmselectProject") {
    setCaption("select ...");
    move(0, 0, 6000, 5400);
    Label1.setCaption("Select Cost-centre / project-code for Pettycash");
    Label1.move(240, 120, 5400, 300);
    // The list query returns no Active column (only active codes are listed),
    // so the grid shows the code and its description only.
    DBGrid1.addColumn("Project / cost-centre", "projectcode").setWidth(2000);
    DBGrid1.addColumn("Description", "Description").setWidth(3000);
    DBGrid1.move(240, 480, 5400, 4080);
    DBGrid1.setDataSource(datPrimaryRS);
    datPrimaryRS.setVisible(false);
    trfr.setCaption("Select");
    trfr.move(3000, 4740, 1200, 420);
    cmdclose.setCaption("Cancel");
    cmdclose.setToolTip("Cancel and exit from the selection screen");
    cmdclose.move(4440, 4740, 1200, 420);
    srch.setCaption("Query");
    srch.setVisible(false);

    onLoad = [this] { Form_Load(); };
    onActivate = [this] { srch_Click(); };
    onUnload = [this](int&) { datPrimaryRS.releaseRecordset(); };
    srch.onClick = [this] { srch_Click(); };
    trfr.onClick = [this] { trfr_Click(); };
    DBGrid1.onDblClick = [this] { trfr_Click(); };
    cmdclose.onClick = [this] { cmdclose_Click(); };
    datPrimaryRS.onReposition = [this] { datPrimaryRS_Reposition(); };
    // A data error the control meets by itself: two beeps instead of its message.
    answerDataErrorsWithBeeps(datPrimaryRS, 2);
}

void frmselectProject::Form_Load() {
    skipOnFailure([this] { pointAtBook(datPrimaryRS, kActiveCodes); });
    appState().selectedProjectCode.clear();
}

void frmselectProject::srch_Click() { runPickerQuery(datPrimaryRS, kActiveCodes, trfr); }

void frmselectProject::datPrimaryRS_Reposition() {
    skipOnFailure([this] { DBGrid1.setCaption(pickerPositionCaption(datPrimaryRS.recordset())); });
}

void frmselectProject::trfr_Click() {
    AppState& state = appState();
    skipOnFailure([&] {
        forms::DataRecordset& rs = datPrimaryRS.recordset();
        if (rs.recordCount() == 0) {
            state.selectedProjectCode.clear();
            return;
        }
        const jet::Value code = rs.field("Projectcode");
        if (!code.isNull()) state.selectedProjectCode = vb::trim(code.asText());
    });
    unload();
}

void frmselectProject::cmdclose_Click() {
    appState().selectedProjectCode.clear();
    unload();
}

std::string pickProjectCode() {
    auto picker = std::make_unique<frmselectProject>();
    picker->showModal();
    return appState().selectedProjectCode;
}

}  // namespace petty
