// The register's export and voucher-print buttons. What they do belongs to the
// reports (petty/reports); they read the register's data sources.
#include "petty/register/frm_pettycash.h"
#include "petty/reports/csv_export.h"

namespace petty {

void frmpettycash::wireReportButtons() {
    cmdCSV.onClick = [this] { cmdCSV_Click(); };
}

void frmpettycash::cmdCSV_Click() { exportPeriodToCsv(datPrimaryRS, Datacommon); }

}  // namespace petty
