#include "petty/shell/frm_select_project.h"

#include <memory>

#include "petty/shell/app_state.h"
#include "petty/shell/book_data_control.h"
#include "petty/shell/book_queries.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/vb/text_functions.h"

namespace petty {

frmselectProject::frmselectProject() : ListPicker("frmselectProject", kActiveProjectCodesWithDescriptionSql, 6000, 5400) {
    Label1.setCaption("Select Cost-centre / project-code for Pettycash");
    // The list query returns no Active column (only active codes are listed),
    // so the grid shows the code and its description only.
    DBGrid1.addColumn("Project / cost-centre", "projectcode").setWidth(2000);
    DBGrid1.addColumn("Description", "Description").setWidth(3000);
}

void frmselectProject::Form_Load() {
    skipOnFailure([this] { pointAtBook(datPrimaryRS, kActiveProjectCodesWithDescriptionSql); });
    appState().selectedProjectCode.clear();
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
