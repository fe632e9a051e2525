#include "petty/reports/files/report_files.h"

#include <unistd.h>

#include <fstream>

#include "platform/jet/file_name.h"

namespace petty {

void writeShippedReportFiles(const std::filesystem::path& folder) {
    for (const ShippedReportFile& file : shippedReportFiles()) {
        const std::filesystem::path target = folder / file.name;
        if (jet::findIgnoringCase(target)) continue;
        const std::filesystem::path temporary =
            folder / ("." + std::string(file.name) + ".new-" + std::to_string(::getpid()));
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(file.text.data(), static_cast<std::streamsize>(file.text.size()));
            out.close();
            if (!out) {
                std::error_code ignored;
                std::filesystem::remove(temporary, ignored);
                throw std::filesystem::filesystem_error("Cannot write the report file", target,
                                                        std::make_error_code(std::errc::io_error));
            }
        }
        std::error_code ec;
        std::filesystem::rename(temporary, target, ec);
        if (ec) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw std::filesystem::filesystem_error("Cannot write the report file", target, ec);
        }
    }
}

}  // namespace petty
