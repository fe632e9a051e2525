#include "petty/shell/program_paths.h"

#include <algorithm>
#include <vector>

#include "platform/win/windows_path.h"

namespace petty {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

char lowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// "*" matches any run of characters, "?" any one; letters match in either case.
bool matchesPattern(std::string_view name, std::string_view pattern) {
    size_t n = 0, p = 0;
    size_t starPattern = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || lowerChar(pattern[p]) == lowerChar(name[n]))) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

std::string withFolderSeparator(std::string_view folder) {
    std::string out(folder);
    if (out.empty() || !isSeparator(out.back())) out += '\\';
    return out;
}

std::filesystem::path resolveProgramPath(std::string_view path) { return win::ResolveWindowsPath(path); }

std::optional<std::filesystem::path> findOrdinaryFile(std::string_view pattern) {
    const auto lastSeparator = std::find_if(pattern.rbegin(), pattern.rend(), isSeparator);
    const size_t nameStart = static_cast<size_t>(pattern.rend() - lastSeparator);
    const std::string_view folderPart = pattern.substr(0, nameStart);
    std::string_view namePattern = pattern.substr(nameStart);
    if (namePattern.empty()) namePattern = "*";

    const std::filesystem::path folder = folderPart.empty() ? std::filesystem::path(".") : resolveProgramPath(folderPart);
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.front() == '.' || !matchesPattern(name, namePattern)) continue;
        std::error_code typeError;
        if (it->is_regular_file(typeError)) found.push_back(it->path());
    }
    if (found.empty()) return std::nullopt;
    // The same file every time, the exact spelling first when letter case differs.
    std::sort(found.begin(), found.end());
    for (const auto& file : found)
        if (file.filename().string() == namePattern) return file;
    return found.front();
}

std::string folderName(std::string_view folder) {
    const size_t end = folder.find_last_not_of("/\\");
    if (end == std::string_view::npos) return {};
    const size_t separator = folder.find_last_of("/\\", end);
    const size_t start = separator == std::string_view::npos ? 0 : separator + 1;
    return std::string(folder.substr(start, end + 1 - start));
}

std::string shownPath(std::string_view path) {
    std::string shown(path);
    std::replace(shown.begin(), shown.end(), '\\', static_cast<char>(std::filesystem::path::preferred_separator));
    return shown;
}

}  // namespace petty
