#include "platform/win/temp_files.h"

#include "platform/win/environment.h"
#include "platform/win/text_encoding.h"

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <fcntl.h>
#include <unistd.h>

namespace win {
namespace {

constexpr size_t kMaxFolderLength = 1000;

std::optional<std::string> usableVariable(std::string_view name, bool ignoreCase) {
    std::optional<std::string> value;
    if (ignoreCase) {
        value = GetEnvironmentVariableNoCase(name);
    } else if (const char* exact = std::getenv(std::string(name).c_str())) {
        value = exact;
    }
    if (!value || value->empty() || Utf8Length(*value) >= kMaxFolderLength) return std::nullopt;
    return value;
}

}  // namespace

std::string TempFolder() {
    if (auto tmp = usableVariable("tmp", true)) return *tmp;
    if (auto temp = usableVariable("temp", true)) return *temp;
    if (auto tmpdir = usableVariable("TMPDIR", false)) return *tmpdir;
    return "/tmp";
}

CreateNewFileResult CreateNewFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return errno == EEXIST ? CreateNewFileResult::NameTaken : CreateNewFileResult::Failed;
    ::close(fd);
    return CreateNewFileResult::Created;
}

}  // namespace win
