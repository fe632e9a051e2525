// The register's export and voucher-print buttons. What they do belongs to the
// reports (petty/reports); they read the register's data sources and boxes.
#include "petty/register/frm_pettycash.h"
#include "petty/reports/csv_export.h"
#include "petty/reports/voucher_print.h"

namespace petty {

void frmpettycash::wireReportButtons() {
    cmdCSV.onClick = [this] { cmdCSV_Click(); };
    Printvoucher.forEach([this](forms::CommandButton& button) {
        button.onClick = [this, index = button.index()] { Printvoucher_Click(index); };
    });
}

void frmpettycash::cmdCSV_Click() { exportPeriodToCsv(datPrimaryRS, Datacommon); }

// Both buttons print the current voucher.
void frmpettycash::Printvoucher_Click(int) {
    const VoucherOnScreen voucher{Textpcash[0].text(), Textpcash[1].text(), Textpcash[8].text(),
                                  Textpcash[9].text(), Textpcash[10].text(), Combopcashtype.text(),
                                  DBCombo2.text()};
    printVoucher(datPrimaryRS, voucher, Datacommon);
}

}  // namespace petty
