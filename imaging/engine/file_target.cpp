#include "imaging/engine/file_target.h"

#include <system_error>

#include "platform/win/windows_path.h"

namespace scanvelt {

std::optional<std::filesystem::path> FileTargetOf(const std::string& path) {
    if (path.empty()) return std::nullopt;
    std::filesystem::path target = win::ResolveWindowsPath(path);
    if (!target.has_filename()) return std::nullopt;
    std::error_code error;
    if (std::filesystem::is_directory(target, error)) return std::nullopt;
    return target;
}

}  // namespace scanvelt
