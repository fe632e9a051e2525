// The register's bill buttons: the checks before a bill is scanned or viewed.
// The scan and view windows themselves belong to bill scanning.
#include "petty/register/frm_pettycash.h"
#include "petty/shell/error_report.h"

namespace petty {

void frmpettycash::cmdScanDoc_Click() {
    if (Textpcash[13].text() == "Yes") return refuse("Closed!");
    if (Textpcash[8].text().empty()) {
        if (datPrimaryRS.addingRow()) return refuse("Please save the record and then scan the bill!", false);
        return refuse("Voucher No is not available for this pettycash voucher!");
    }
}

void frmpettycash::cmdViewBill_Click() {
    if (Textpcash[17].text().empty()) return refuse("No scanned bill found for this pettycash voucher!!");
}

}  // namespace petty
