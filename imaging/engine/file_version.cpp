#include "imaging/engine/file_version.h"

#include "platform/win/file_version.h"

#include <exception>

namespace scanvelt {

std::string GetFileVersionString(std::string_view fileName) {
    try {
        win::FileVersionInfo info = win::ReadModuleVersion(fileName);
        switch (info.status) {
            case win::FileVersionStatus::Found: {
                const auto& v = info.version;
                return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." +
                       std::to_string(v[3]);
            }
            case win::FileVersionStatus::NoVersion: return "Unknown";
            case win::FileVersionStatus::Error: return "Undefined";
        }
    } catch (const std::exception&) {
        // Out of memory or a failing file system call: an error, not a missing version.
    }
    return "Undefined";
}

}  // namespace scanvelt
