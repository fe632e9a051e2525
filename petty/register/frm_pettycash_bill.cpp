// The register's bill buttons: the scan of the shown voucher's bill into the
// documents folder (through the scan window) and the view of a stored bill
// with the desktop's program for its type.
#include <filesystem>
#include <optional>

#include "petty/register/frm_pettycash.h"
#include "petty/register/entry_box_index.h"
#include "petty/register/period_query.h"
#include "petty/scanning/formscan.h"
#include "petty/shell/app_state.h"
#include "petty/shell/common.h"
#include "petty/shell/error_report.h"
#include "petty/shell/program_paths.h"
#include "platform/vb/clock.h"
#include "platform/vb/date_format.h"
#include "platform/vb/text_functions.h"

namespace petty {

namespace {

// The bill's name: the voucher number, "_" and the time as HHMM.
std::string billBaseName(const std::string& voucherId) {
    return vb::trim(voucherId) + "_" + vb::formatDate(vb::now(), "hhnn");
}

// What the book holds as the bill of a voucher ("" when none or unreadable).
std::string storedBill(jet::Database& book, const std::string& voucherId) {
    try {
        const jet::Value id = jet::Value(static_cast<int64_t>(std::stoll(vb::trim(voucherId))));
        const jet::Value stored =
            firstRowValue(book, "select document from pettycash where voucherid = ?", "document", {id});
        return stored.isNull() ? std::string() : stored.asText();
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

void frmpettycash::cmdScanDoc_Click() {
    AppState& app = appState();
    app.scanBaseName.clear();
    if (Textpcash[kClosedBox].text() == "Yes") return refuse("Closed!");
    if (Textpcash[kVoucherIdBox].text().empty()) {
        if (datPrimaryRS.addingRow()) return refuse("Please save the record and then scan the bill!", false);
        return refuse("Voucher No is not available for this pettycash voucher!");
    }
    ScanControlsOrReason made = createScanControls();
    if (!made.controls) return refuse(made.reason);

    app.scanBaseName = billBaseName(Textpcash[kVoucherIdBox].text());
    app.scannedFilePath.clear();
    {
        Formscan window(std::move(*made.controls));
        window.showModal();
    }
    const bool found = CheckFileExists(app.scannedFilePath);
    if (found && !app.scannedFilePath.empty() && app.scannedFilePath.back() != '\\' && !app.scanBaseName.empty()) {
        const std::string bill = app.scanBaseName;
        const std::string file = app.scannedFilePath;
        Textpcash[kDocumentBox].setText(bill);
        cmdupdate_Click();
        // The file stays in the documents folder either way; a voucher that
        // did not save keeps the name in its box for the next save.
        if (storedBill(datPrimaryRS.database(), Textpcash[kVoucherIdBox].text()) != bill)
            refuse("The bill was scanned to " + shownPath(file) +
                       " but the voucher was not saved: its name stays in the box until the voucher is saved.",
                   false);
    }
    app.scanBaseName.clear();
    app.scannedFilePath.clear();
}

void frmpettycash::cmdViewBill_Click() {
    if (Textpcash[kDocumentBox].text().empty()) return refuse("No scanned bill found for this pettycash voucher!!");
    std::string name = Textpcash[kDocumentBox].text();
    OpenBillDocument(name);
}

void frmpettycash::OpenBillDocument(std::string& name) {
    if (name.empty()) return refuse("No document specified!");
    name = appState().documentsFolder + name;
    // The scan window writes a JPEG, a PDF or a multi-page TIFF.
    std::optional<std::filesystem::path> file;
    for (const char* ending : {".jpg", ".pdf", "multipage.tif"}) {
        if ((file = findOrdinaryFile(name + ending))) {
            name += ending;
            break;
        }
    }
    if (!file) {
        forms::ui().msgBox("Document does not exist or is in the root of hard-disk!");
        return;
    }
    if (forms::ui().shellOpen(file->string(), "Open") <= 32)
        forms::ui().msgBox("Failed to open '" + shownPath(name) + "'", forms::MsgButtons::OkOnly,
                           forms::MsgIcon::Information);
}

}  // namespace petty
