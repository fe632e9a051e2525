#pragma once
// The spreadsheet export: the report's table as an .xlsx workbook, one sheet,
// headings in the first row, amounts and numbers as numbers, dates as dates.
#include <filesystem>
#include <string>

#include "platform/report/page_model.h"

namespace report {

// Written under a temporary name and renamed into place; ReportError (Output)
// when it cannot be written, leaving no file behind.
void writeSpreadsheet(const ReportTable& table, const std::string& sheetName, const std::filesystem::path& file);

}  // namespace report
