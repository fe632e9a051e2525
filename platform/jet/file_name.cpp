#include "platform/jet/file_name.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace jet {

namespace {
bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}
}  // namespace

std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) return path;
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    const std::string wanted = path.filename().string();
    std::vector<std::filesystem::path> matches;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (sameIgnoringCase(it->path().filename().string(), wanted)) matches.push_back(it->path());
    if (matches.empty()) return std::nullopt;
    // Several spellings in one folder: take the same one every time.
    return *std::min_element(matches.begin(), matches.end());
}

}  // namespace jet
