#pragma once
// Where the program keeps its book when no folder is given.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace petty {

using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// $XDG_DATA_HOME/ostrelle when that variable holds an absolute path, else
// $HOME/.local/share/ostrelle; nullopt when neither is known.
std::optional<std::filesystem::path> defaultBookFolder(const EnvironmentLookup& environment);

// The process environment.
std::optional<std::string> processEnvironment(const char* name);

}  // namespace petty
