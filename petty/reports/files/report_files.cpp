#include "petty/reports/files/report_files.h"

#include "platform/files/atomic_file_writer.h"
#include "platform/jet/file_name.h"

namespace petty {

namespace {

// Writes the file whole or not at all; a file of that name already there (in
// any letter case) is kept.
void writeNewFile(const std::filesystem::path& target, std::string_view text) {
    if (jet::findIgnoringCase(target)) return;
    if (const std::error_code error = files::writeFileAtomically(target, text))
        throw std::filesystem::filesystem_error("Cannot write the file", target, error);
}

constexpr std::string_view kExportConfiguration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- The period export runs only while this file is here; nothing in it is read. -->\n"
    "<exportcsv/>\n";

}  // namespace

void writeShippedReportFiles(const std::filesystem::path& folder) {
    for (const ShippedReportFile& file : shippedReportFiles()) writeNewFile(folder / file.name, file.text);
}

void writeExportConfiguration(const std::filesystem::path& exportFolder) {
    writeNewFile(exportFolder / "config.xml", kExportConfiguration);
}

}  // namespace petty
