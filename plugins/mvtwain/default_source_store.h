#pragma once
// The source a user last selected, kept per user in a small settings file
// ($XDG_CONFIG_HOME, else ~/.config, then scanvelt/twain-default-source).
#include <filesystem>
#include <string>

namespace mvtwain {

// The settings file; empty when neither XDG_CONFIG_HOME nor HOME is set.
std::filesystem::path DefaultSourceFile();

// The stored device name; "" when none is stored or the file cannot be read.
std::string LoadDefaultSource();

// Stores the device name (written whole or not at all); false on failure.
bool StoreDefaultSource(const std::string& device);

}  // namespace mvtwain
