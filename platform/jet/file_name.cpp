#include "platform/jet/file_name.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/vb/text_compare.h"

namespace jet {

std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) return path;
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    const std::string wanted = path.filename().string();
    std::vector<std::filesystem::path> matches;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (vb::equalIgnoringCase(it->path().filename().string(), wanted)) matches.push_back(it->path());
    if (matches.empty()) return std::nullopt;
    // Several spellings in one folder: take the same one every time.
    return *std::min_element(matches.begin(), matches.end());
}

}  // namespace jet
