#include "petty/reports/export_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/vb/date_format.h"

namespace petty {

namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

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

// A new, exclusively created file beside the target, with the permissions the
// user's umask gives a new file (it becomes the export); -1 when none can be made.
int createTemporary(const std::filesystem::path& file, std::filesystem::path& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = file;
        temporary += ".part" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
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

    std::filesystem::path temporary;
    const int fd = createTemporary(file, temporary);
    if (fd < 0) return false;
    const bool written = writeAll(fd, content) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(temporary.c_str(), file.c_str()) == 0) return true;
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
}

}  // namespace petty
