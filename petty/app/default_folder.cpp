#include "petty/app/default_folder.h"

#include <cstdlib>

namespace petty {

std::optional<std::filesystem::path> defaultBookFolder(const EnvironmentLookup& environment) {
    // A relative XDG_DATA_HOME is invalid and to be ignored.
    if (const auto data = environment("XDG_DATA_HOME"); data && !data->empty() && data->front() == '/')
        return std::filesystem::path(*data) / "ostrelle";
    if (const auto home = environment("HOME"); home && !home->empty())
        return std::filesystem::path(*home) / ".local" / "share" / "ostrelle";
    return std::nullopt;
}

std::optional<std::string> processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

}  // namespace petty
