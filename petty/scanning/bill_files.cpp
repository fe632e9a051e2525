#include "petty/scanning/bill_files.h"

#include <optional>

#include "petty/shell/program_paths.h"
#include "platform/vb/text_functions.h"

namespace petty {

namespace {

std::optional<std::string> existing(std::string_view folder, const std::string& name) {
    const auto found = findOrdinaryFile(std::string(folder) + name);
    if (!found) return std::nullopt;
    return found->string();
}

bool endsWithBillEnding(std::string_view name) {
    const std::string lower = vb::lcase(std::string(name));
    for (const char* ending : kBillEndings) {
        const std::string_view e(ending);
        if (lower.size() > e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0) return true;
    }
    return false;
}

}  // namespace

std::string freeBillName(std::string_view folder, std::string_view base, std::string_view ending) {
    std::string name = std::string(base) + std::string(ending);
    for (int n = 2; existing(folder, name); ++n) name = std::string(base) + "-" + std::to_string(n) + std::string(ending);
    return name;
}

bool plainBillName(std::string_view name) {
    return !name.empty() && name.front() != '.' && name.find_first_of("/\\*?") == std::string_view::npos;
}

std::vector<std::string> billFilesOf(std::string_view folder, std::string_view name) {
    std::vector<std::string> files;
    if (!plainBillName(name)) return files;
    const std::string stored(name);
    if (endsWithBillEnding(stored)) {
        if (auto file = existing(folder, stored)) files.push_back(*file);
        return files;
    }
    for (const char* ending : kBillEndings)
        if (auto file = existing(folder, stored + ending)) files.push_back(*file);
    return files;
}

}  // namespace petty
