#pragma once
// The report definition files shipped with the program (this folder's *.rpt
// and *.RPT) and the quick-help guide "Pettycash.pdf" (petty/help), built into
// the program, and writing them into a book's folder.
#include <filesystem>
#include <string_view>
#include <vector>

namespace petty {

struct ShippedReportFile {
    std::string_view name;  // exactly as the report windows name it ("pettycash1acc.rpt", "voucher2c.RPT")
    std::string_view text;
};

const std::vector<ShippedReportFile>& shippedReportFiles();

// Writes every shipped report file into the folder, each under a temporary
// name renamed into place. A file of that name already there (in any letter
// case) is kept: it may be a report made for this book. std::filesystem_error
// when one cannot be written; no temporary file is left.
void writeShippedReportFiles(const std::filesystem::path& folder);

// Writes "config.xml" into a book's export folder unless one is there: the
// period export runs only while that file exists.
void writeExportConfiguration(const std::filesystem::path& exportFolder);

}  // namespace petty
