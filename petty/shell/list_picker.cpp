#include "petty/shell/list_picker.h"

#include <string>

#include "petty/shell/error_report.h"
#include "petty/shell/skip_on_failure.h"

namespace petty {

ListPicker::ListPicker(std::string name, const char* listQuery, int width, int height)
    : Form(std::move(name)), listQuery_(listQuery) {
    setCaption("select ...");
    move(0, 0, width, height);
    const int listWidth = width - 600;
    Label1.move(240, 120, listWidth, 300);
    DBGrid1.move(240, 480, listWidth, 4080);
    DBGrid1.setDataSource(datPrimaryRS);
    datPrimaryRS.setVisible(false);
    trfr.setCaption("Select");
    trfr.move(width - 3000, 4740, 1200, 420);
    cmdclose.setCaption("Cancel");
    cmdclose.setToolTip("Cancel and exit from the selection screen");
    cmdclose.move(width - 1560, 4740, 1200, 420);
    srch.setCaption("Query");
    srch.setVisible(false);

    // The handlers are virtual: each runs the picker's own.
    onLoad = [this] { Form_Load(); };
    onActivate = [this] { srch_Click(); };
    onUnload = [this](int&) { datPrimaryRS.releaseRecordset(); };
    srch.onClick = [this] { srch_Click(); };
    trfr.onClick = [this] { trfr_Click(); };
    DBGrid1.onDblClick = [this] { trfr_Click(); };
    cmdclose.onClick = [this] { cmdclose_Click(); };
    datPrimaryRS.onReposition = [this] { datPrimaryRS_Reposition(); };
    answerDataErrorsWithBeeps(datPrimaryRS, 2);
}

void ListPicker::srch_Click() {
    skipOnFailure([this] {
        datPrimaryRS.setRecordSource(listQuery_);
        datPrimaryRS.refresh();
    });
    skipOnFailure([this] {
        if (datPrimaryRS.recordset().recordCount() > 0)
            trfr.setDefault(true);
        else
            trfr.setEnabled(false);
    });
}

void ListPicker::datPrimaryRS_Reposition() {
    skipOnFailure([this] {
        forms::DataRecordset& rows = datPrimaryRS.recordset();
        DBGrid1.setCaption("Record " + std::to_string(rows.absolutePosition() + 1) + "  of  " +
                           std::to_string(rows.recordCount()) + " records");
    });
}

}  // namespace petty
