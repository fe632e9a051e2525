#include "platform/files/atomic_file_writer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <random>
#include <string>

namespace files {

namespace {

constexpr std::string_view kMarker = ".part-";

std::error_code lastError() { return {errno, std::generic_category()}; }

std::string randomSuffix() {
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generator()));
    return text;
}

// The writing process's id in a temporary name; 0 when the name has none.
pid_t writerOf(std::string_view name) {
    const size_t at = name.rfind(kMarker);
    if (at == std::string_view::npos) return 0;
    std::string_view rest = name.substr(at + kMarker.size());
    pid_t pid = 0;
    const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (ec != std::errc() || end == rest.data() || end == rest.data() + rest.size() || *end != '-') return 0;
    return pid;
}

bool processAlive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

std::error_code syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return lastError();
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot sync a folder
    std::error_code error = synced ? std::error_code() : lastError();
    ::close(fd);
    return error;
}

}  // namespace

std::filesystem::path temporaryNameFor(const std::filesystem::path& target) {
    return target.parent_path() /
           ("." + target.filename().string() + std::string(kMarker) + std::to_string(::getpid()) + "-" + randomSuffix());
}

bool isTemporaryName(std::string_view name) {
    if (name.size() < 2 || name.front() != '.') return false;
    const size_t at = name.rfind(kMarker);
    if (at == std::string_view::npos || writerOf(name) == 0) return false;
    const std::string_view suffix = name.substr(name.rfind('-') + 1);
    if (suffix.size() != 16) return false;
    for (char c : suffix)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

AtomicFileWriter::~AtomicFileWriter() { discard(); }

std::error_code AtomicFileWriter::open(const std::filesystem::path& target, mode_t mode) {
    discard();
    target_ = target;
    written_ = 0;
    // Only a file is ever replaced: the rename would put the new file in the
    // place of a device (/dev/full), a pipe or a socket, and fails on a folder
    // only after everything was written.
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
        return std::make_error_code(S_ISDIR(existing.st_mode) ? std::errc::is_a_directory
                                                               : std::errc::invalid_argument);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::filesystem::path candidate = temporaryNameFor(target);
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            fd_ = fd;
            temporary_ = std::move(candidate);
            return {};
        }
        if (errno != EEXIST) return lastError();
    }
    return std::make_error_code(std::errc::file_exists);
}

std::error_code AtomicFileWriter::write(const void* data, size_t size) {
    if (fd_ < 0) return std::make_error_code(std::errc::bad_file_descriptor);
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        bytes += n;
        size -= static_cast<size_t>(n);
        written_ += static_cast<uint64_t>(n);
    }
    return {};
}

std::error_code AtomicFileWriter::commit() { return finish(true, true); }

std::error_code AtomicFileWriter::commitWrittenByName(bool mayBeEmpty) { return finish(false, mayBeEmpty); }

std::error_code AtomicFileWriter::finish(bool checkSize, bool mayBeEmpty) {
    if (fd_ < 0 || temporary_.empty()) return std::make_error_code(std::errc::bad_file_descriptor);
    std::error_code error;
    // Another library wrote under the name (through its own handle, now
    // closed): its bytes are synced through a handle of our own.
    const int fd = checkSize ? fd_ : ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0) error = lastError();
    else if (::fsync(fd) != 0) error = lastError();
    else if (::fstat(fd, &info) != 0) error = lastError();
    else if (checkSize && static_cast<uint64_t>(info.st_size) != written_) error = std::make_error_code(std::errc::io_error);
    else if (!mayBeEmpty && info.st_size == 0) error = std::make_error_code(std::errc::io_error);
    if (fd >= 0 && fd != fd_ && ::close(fd) != 0 && !error) error = lastError();
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0 && !error) error = lastError();
    if (!error && ::rename(temporary_.c_str(), target_.c_str()) != 0) error = lastError();
    if (error) {
        discard();
        return error;
    }
    temporary_.clear();
    return syncFolder(target_.parent_path());
}

void AtomicFileWriter::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

std::error_code writeFileAtomically(const std::filesystem::path& target, std::string_view bytes, mode_t mode) {
    AtomicFileWriter writer;
    if (std::error_code error = writer.open(target, mode)) return error;
    if (std::error_code error = writer.write(bytes)) return error;
    return writer.commit();
}

int removeStaleTemporaries(const std::filesystem::path& folder) {
    int removed = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!isTemporaryName(name) || processAlive(writerOf(name))) continue;
        std::error_code ignored;
        if (it->is_regular_file(ignored) && std::filesystem::remove(it->path(), ignored)) ++removed;
        // A folder built whole under a temporary name (a new book's) by a process that was killed.
        else if (it->is_directory(ignored) && !it->is_symlink(ignored) &&
                 std::filesystem::remove_all(it->path(), ignored) > 0)
            ++removed;
    }
    return removed;
}

}  // namespace files
