#include "petty/reports/export_file.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/files/atomic_file_writer.h"
#include "platform/vb/date_format.h"

namespace petty {

namespace {

// The file's bytes; false when something of that name exists but cannot be
// read as a file.
bool readExisting(const std::filesystem::path& file, std::string& content) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) return true;
    if (error || status.type() != std::filesystem::file_type::regular) return false;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

std::string exportFileName(const vb::DateTime& moment, int64_t periodId) {
    return vb::formatDate(moment, "mmmDDYYYY") + "_" + vb::formatDate(moment, "HHMMSS") +
           " PettycashBackup PeriodID_" + std::to_string(periodId) + ".csv";
}

bool appendThroughTemporaryFile(const std::filesystem::path& file, std::string_view bytes) {
    std::string content;
    if (!readExisting(file, content)) return false;
    content.append(bytes);
    // The export is its owner's alone (mode 0600); a user who shares it copies it.
    return !files::writeFileAtomically(file, content, 0600);
}

}  // namespace petty
