#include "platform/report/spreadsheet_export.h"

#include <xlsxwriter.h>

#include "platform/report/report_error.h"
#include "platform/report/zip_archive_check.h"
#include "platform/files/atomic_file_writer.h"

namespace report {

namespace {

[[noreturn]] void fail(const std::filesystem::path& file, const std::string& why) {
    throw ReportError(ReportErrorCode::Output, "Cannot write " + file.string() + ": " + why);
}

// A sheet name holds at most 31 characters and none of []:*?/\ .
std::string sheetNameOf(const std::string& name) {
    std::string out;
    for (char c : name)
        if (std::string_view("[]:*?/\\").find(c) == std::string_view::npos) out += c;
    if (out.size() > 31) out.resize(31);
    return out.empty() ? "Report" : out;
}

void writeCell(lxw_worksheet* sheet, lxw_row_t r, lxw_col_t c, const jet::Value& v, lxw_format* dateFormat) {
    if (v.isNull()) return;
    if (v.isDate()) {
        const vb::DateTime d = v.asDate();
        lxw_datetime when = {d.year(), d.month(), d.day(), d.hour(), 0, 0};
        const std::string hms = d.toHms();
        when.min = std::stoi(hms.substr(3, 2));
        when.sec = std::stoi(hms.substr(6, 2));
        worksheet_write_datetime(sheet, r, c, &when, dateFormat);
    } else if (v.isCurrency() || v.isDouble() || v.isLong()) {
        worksheet_write_number(sheet, r, c, v.isLong() ? static_cast<double>(v.asLong()) : v.asCurrency().toDouble(),
                               nullptr);
    } else if (v.isBool()) {
        worksheet_write_boolean(sheet, r, c, v.asBool(), nullptr);
    } else {
        worksheet_write_string(sheet, r, c, v.asText().c_str(), nullptr);
    }
}

}  // namespace

void writeSpreadsheet(const ReportTable& table, const std::string& sheetName, const std::filesystem::path& file) {
    // Exports are the owner's alone (mode 0600); a user who shares one copies it.
    files::AtomicFileWriter output;
    if (const std::error_code error = output.open(file, 0600)) fail(file, error.message());
    lxw_workbook* book = workbook_new(output.temporaryPath().c_str());
    if (!book) fail(file, "the workbook cannot be made");
    lxw_worksheet* sheet = workbook_add_worksheet(book, sheetNameOf(sheetName).c_str());
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* dateFormat = workbook_add_format(book);
    format_set_num_format(dateFormat, "yyyy-mm-dd");
    for (size_t c = 0; c < table.headings.size(); ++c)
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), table.headings[c].c_str(), bold);
    for (size_t r = 0; r < table.rows.size(); ++r)
        for (size_t c = 0; c < table.rows[r].size(); ++c)
            writeCell(sheet, static_cast<lxw_row_t>(r + 1), static_cast<lxw_col_t>(c), table.rows[r][c], dateFormat);
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) fail(file, lxw_strerror(closed));
    // The writer's own close does not see every short write of its archive.
    if (!isWholeZipArchive(output.temporaryPath())) fail(file, "the workbook was not written whole");
    if (const std::error_code error = output.commitWrittenByName()) fail(file, error.message());
}

}  // namespace report
