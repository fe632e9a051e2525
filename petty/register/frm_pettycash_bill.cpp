// The register's bill buttons: the scan of the shown voucher's bill into the
// documents folder (through the scan window) and the view of a stored bill
// with the desktop's program for its type.
#include <filesystem>
#include <string>
#include <vector>

#include "petty/register/bill_link.h"
#include "petty/register/box_number.h"
#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/voucher_position.h"
#include "petty/scanning/bill_files.h"
#include "petty/scanning/formscan.h"
#include "petty/shell/app_state.h"
#include "petty/shell/error_report.h"
#include "petty/shell/program_paths.h"
#include "petty/shell/shell_open.h"
#include "platform/forms/ui.h"
#include "platform/vb/clock.h"
#include "platform/vb/date_format.h"
#include "platform/vb/text_functions.h"

namespace petty {

namespace {

// The bill's name: the voucher number, "_" and the time as HHMM.
std::string billBaseName(const std::string& voucherId) {
    return vb::trim(voucherId) + "_" + vb::formatDate(vb::now(), "hhnn");
}

// The name of a file of the documents folder as the voucher keeps it.
std::string nameInDocuments(const std::string& path) {
    const std::string& folder = appState().documentsFolder;
    if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0) return path.substr(folder.size());
    return std::filesystem::path(shownPath(path)).filename().string();
}

// Which of several files of one bill name to open: the user picks one by its number.
std::string chosenFile(const std::vector<std::string>& files) {
    std::string question = "Several files carry this bill's name:";
    for (size_t i = 0; i < files.size(); ++i) question += "\r\n" + std::to_string(i + 1) + ": " + files[i];
    question += "\r\nType the number of the file to open:";
    const std::string answer = vb::trim(forms::ui().inputBox(question, "Scanned bill", "1"));
    for (size_t i = 0; i < files.size(); ++i)
        if (answer == std::to_string(i + 1)) return files[i];
    return {};
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
    // A voucher with changes not yet saved is saved (or cancelled) first: the
    // bill's name is written to the stored row.
    if (!CheckPendingEdit(false)) return refuse("Please save the record and then scan the bill!", false);

    // The bill belongs to the voucher shown now, whatever is shown when the window closes.
    const int64_t voucherId = boxWholeNumber(Textpcash[kVoucherIdBox].text());
    app.scanBaseName = billBaseName(Textpcash[kVoucherIdBox].text());
    app.scannedFilePath.clear();
    {
        Formscan window(std::move(*made.controls));
        window.showModal();
    }
    const std::string file = app.scannedFilePath;
    app.scanBaseName.clear();
    app.scannedFilePath.clear();
    // A window closed without a bill has nothing to store and nothing to say.
    if (file.empty() || !findOrdinaryFile(file)) return;

    const std::string bill = nameInDocuments(file);
    std::string refusal;
    if (!reportOnFailure([&] { refusal = storeBillName(datPrimaryRS.database(), voucherId, bill); })) return;
    if (!refusal.empty())
        return refuse("The bill was scanned to " + shownPath(file) + " but the book did not store it: " + refusal +
                          ". The file stays in the documents folder.",
                      false);
    // The register shows the scanned voucher with its bill.
    reportOnFailure([&] {
        datPrimaryRS.recordset().requery();
        showVoucherById(datPrimaryRS, voucherId);
    });
}

void frmpettycash::cmdViewBill_Click() {
    if (Textpcash[kDocumentBox].text().empty()) return refuse("No scanned bill found for this pettycash voucher!!");
    std::string name = Textpcash[kDocumentBox].text();
    OpenBillDocument(name);
}

void frmpettycash::OpenBillDocument(std::string& name) {
    if (name.empty()) return refuse("No document specified!");
    const std::vector<std::string> files = billFilesOf(appState().documentsFolder, name);
    name = appState().documentsFolder + name;
    if (files.empty()) {
        forms::ui().msgBox("Document does not exist or is in the root of hard-disk!");
        return;
    }
    const std::string file = files.size() == 1 ? files.front() : chosenFile(files);
    if (file.empty()) return;
    name = file;
    openWithDesktop(file);
}

}  // namespace petty
