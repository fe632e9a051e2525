#include "platform/win/windows_path.h"

#include "platform/win/environment.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <optional>
#include <vector>

namespace win {
namespace {

bool exists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

// The spelling of `name` in `folder`, matched without regard to case.
std::optional<std::string> findNoCase(const std::string& folder, std::string_view name) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
    if (!dir) return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string_view candidate(entry->d_name);
        if (EqualsNoCase(candidate, name) && (!best || candidate < *best)) best = std::string(candidate);
    }
    return best;
}

}  // namespace

std::string ResolveWindowsPath(std::string_view path) {
    std::string slashed(path);
    for (char& c : slashed) {
        if (c == '\\') c = '/';
    }
    if (slashed.empty() || exists(slashed)) return slashed;

    // Walk the names one by one; "." and ".." and empty names (doubled
    // separators) are kept as they stand.
    std::string resolved;
    size_t pos = 0;
    if (slashed.front() == '/') {
        resolved = "/";
        pos = 1;
    }
    bool matching = true;
    while (pos <= slashed.size()) {
        size_t end = slashed.find('/', pos);
        if (end == std::string::npos) end = slashed.size();
        std::string_view name(slashed.data() + pos, end - pos);
        std::string folder = resolved;
        std::string spelled(name);
        if (matching && !name.empty() && name != "." && name != "..") {
            std::string exact = folder + spelled;
            if (!exists(exact)) {
                auto found = findNoCase(folder, name);
                if (found) spelled = *found;
                else matching = false;
            }
        }
        resolved += spelled;
        if (end < slashed.size()) resolved += '/';
        pos = end + 1;
    }
    return resolved;
}

}  // namespace win
