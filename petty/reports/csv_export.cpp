#include "petty/reports/csv_export.h"

#include <cstdint>
#include <filesystem>
#include <string>

#include "petty/reports/csv_lines.h"
#include "petty/reports/export_file.h"
#include "petty/reports/report_queries.h"
#include "petty/shell/hourglass.h"
#include "petty/shell/app_state.h"
#include "petty/shell/business_database.h"
#include "petty/shell/error_report.h"
#include "petty/shell/frm_select_session.h"
#include "petty/shell/program_paths.h"
#include "platform/forms/ui.h"
#include "platform/vb/clock.h"
#include "platform/win/text_encoding.h"

namespace petty {

namespace {

constexpr const char* kLineEnd = "\r\n";

bool registerShowsRows(forms::DataControl& rows) {
    return rows.hasRecordset() && rows.recordset().recordCount() > 0;
}

bool askYesNo(const std::string& question) {
    return forms::ui().msgBox(question, forms::MsgButtons::YesNo) == forms::MsgResult::Yes;
}

// The period the user picks in the picker's export mode; 0 for none.
int64_t pickPeriodForExport() {
    AppState& state = appState();
    state.periodPickForExport = true;
    const int64_t period = pickPeriod();
    state.periodPickForExport = false;
    return period;
}

// The whole file text (header and rows) in the ANSI code page; empty when the
// period has no row.
std::string exportText(forms::DataControl& query, int64_t period, bool advancesInUse) {
    query.setRecordSource(kPeriodExportRowsSql, {jet::Value(period)});
    query.refresh();
    forms::DataRecordset& rows = query.recordset();
    if (rows.eof()) return {};
    std::string text = win::Utf8ToAnsi(csvHeaderLine(advancesInUse)) + kLineEnd;
    const RowField field = [&rows](std::string_view column) { return rows.field(column); };
    for (int64_t serial = 1; !rows.eof(); rows.moveNext(), ++serial)
        text += win::Utf8ToAnsi(csvDataLine(serial, field, advancesInUse)) + kLineEnd;
    return text;
}

// Opens the file or folder with the desktop's program for it; says so when none would.
void openOnDesktop(const std::string& path) {
    constexpr int kShellOpenFailed = 32;  // shell answers above 32 mean it opened
    if (forms::ui().shellOpen(resolveProgramPath(path).string()) <= kShellOpenFailed)
        refuse("Failed to open '" + path + "'");
}

void offerToOpen(const std::string& file, const std::string& folder) {
    if (askYesNo("File " + file + " created. Do you want to open it?")) {
        openOnDesktop(file);
    } else if (askYesNo("Do you want to open the folder (" + folder + ") where the export file is created?")) {
        // The folder itself, not a name inside it: without its trailing separator.
        openOnDesktop(folder.substr(0, folder.size() - 1));
    }
}

}  // namespace

void exportPeriodToCsv(forms::DataControl& registerRows, forms::DataControl& query) {
    const AppState& state = appState();
    if (!registerShowsRows(registerRows)) return refuse("No records to export!");
    if (registerRows.addingRow())
        return refuse("You are adding a record!! Update the record or cancel the record before exporting data!!");
    if (!state.registerSaved)
        return refuse("You are editing a record!! Update the record or cancel the record before exporting data!!");
    if (!askYesNo("Do you want to export data belonging to a pettycash period in excel csv format ?")) return;

    const int64_t period = pickPeriodForExport();
    if (period == 0) return;

    // One spelling of the export folder, for writing into it and for opening it.
    const std::string folder = shownPath(state.programFolder + "\\" + std::string(kExportFolder) + "\\");
    if (!std::filesystem::is_regular_file(resolveProgramPath(folder + "config.xml")))
        return refuse(folder + "config.xml not found!! The configuraiton file is missing! Copy the config file and "
                               "then try!");
    const std::string file = folder + exportFileName(vb::now(), period);

    std::string text;
    bool written = false;
    try {
        HourglassWhileBusy hourglass;
        text = exportText(query, period, !state.noAdvanceMode);
        if (!text.empty()) written = appendThroughTemporaryFile(resolveProgramPath(file), text);
    } catch (const std::exception& error) {
        return reportRunError(error);
    }
    if (text.empty()) return refuse("No records!", false);
    if (!written) return refuse("File could not be created. Please try again!");
    offerToOpen(file, folder);
}

}  // namespace petty
