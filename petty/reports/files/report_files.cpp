#include "petty/reports/files/report_files.h"

#include <unistd.h>

#include <fstream>

#include "platform/jet/file_name.h"

namespace petty {

namespace {

// Writes the text under a temporary name and renames it into place; a file of
// that name already there (in any letter case) is kept.
void writeNewFile(const std::filesystem::path& target, std::string_view text) {
    if (jet::findIgnoringCase(target)) return;
    const std::filesystem::path temporary =
        target.parent_path() / ("." + target.filename().string() + ".new-" + std::to_string(::getpid()));
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw std::filesystem::filesystem_error("Cannot write the file", target,
                                                    std::make_error_code(std::errc::io_error));
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw std::filesystem::filesystem_error("Cannot write the file", target, ec);
    }
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
