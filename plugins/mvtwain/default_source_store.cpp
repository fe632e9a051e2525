#include "plugins/mvtwain/default_source_store.h"

#include <cstdlib>
#include <fstream>

#include "platform/files/atomic_file_writer.h"

namespace mvtwain {
namespace {

// A device name is one short line; anything longer is not ours.
constexpr size_t kMaxNameLength = 1024;

}  // namespace

std::filesystem::path DefaultSourceFile() {
    std::filesystem::path folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
        folder = config;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        folder = std::filesystem::path(home) / ".config";
    } else {
        return {};
    }
    return folder / "scanvelt" / "twain-default-source";
}

std::string LoadDefaultSource() {
    const auto file = DefaultSourceFile();
    if (file.empty()) return "";
    std::ifstream in(file);
    std::string name;
    if (!in || !std::getline(in, name) || name.size() > kMaxNameLength) return "";
    return name;
}

bool StoreDefaultSource(const std::string& device) {
    const auto file = DefaultSourceFile();
    if (file.empty() || device.empty() || device.size() > kMaxNameLength || device.find('\n') != std::string::npos)
        return false;
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) return false;
    return !files::writeFileAtomically(file, device + "\n", 0600);
}

}  // namespace mvtwain
