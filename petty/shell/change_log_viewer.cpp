#include "petty/shell/change_log_viewer.h"

#include <string>

#include "petty/shell/book_data_control.h"
#include "petty/shell/book_queries.h"
#include "petty/shell/error_report.h"
#include "petty/shell/skip_on_failure.h"

namespace petty {

frmChangelog::frmChangelog() : Form("frmChangelog") {
    setCaption("Changes/Edits");
    move(0, 0, 11280, 6660);
    Label1.setCaption("Changes / edits made to petty-cash transactions");
    Label1.move(240, 120, 10800, 300);
    datPrimaryRS.setVisible(false);  // the grid moves through the rows
    DBGrid1.setDataSource(datPrimaryRS);
    DBGrid1.move(240, 480, 10800, 5400);
    DBGrid1.addColumn("Date", "Date").setWidth(2100);
    DBGrid1.addColumn("Log", "changelog").setWidth(5700);
    DBGrid1.addColumn("User", "user").setWidth(1400);
    DBGrid1.addColumn("voucher No", "voucherID").setWidth(1100);
    cmdclose.setCaption("Close");
    cmdclose.move(9660, 6000, 1380, 420);

    onLoad = [this] { Form_Load(); };
    DBGrid1.onRowColChange = [this](int, int) { DBGrid1_RowColChange(); };
    answerDataErrorsWithBeeps(datPrimaryRS, 2);
    cmdclose.onClick = [this] { cmdclose_Click(); };
}

void frmChangelog::Form_Load() {
    skipOnFailure([this] { pointAtBook(datPrimaryRS, kChangeLogNewestFirstSql); });
    skipOnFailure([this] { datPrimaryRS.refresh(); });
}

void frmChangelog::DBGrid1_RowColChange() {
    skipOnFailure([this] {
        DBGrid1.setCaption("Log: " + std::to_string(DBGrid1.row() + 1) + " of " + std::to_string(DBGrid1.rowCount()));
    });
}

void frmChangelog::cmdclose_Click() {
    datPrimaryRS.releaseRecordset();
    unload();
}

}  // namespace petty
