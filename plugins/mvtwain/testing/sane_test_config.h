#pragma once
// A private SANE configuration for the tests: a folder whose dll.conf names
// only SANE's "test" backend, set as SANE_CONFIG_DIR, so that no test reads
// the machine's configuration or reaches a real scanner. libsane keeps the
// configuration folder it first read for the life of the process, so the
// folder is one per test program (removed at its exit). Each test gets a
// folder of its own for files and the per-user settings (XDG_CONFIG_HOME,
// restored afterwards).
#include <filesystem>
#include <optional>
#include <string>

namespace mvtwain::testing {

class SaneTestConfig {
public:
    SaneTestConfig();
    ~SaneTestConfig();
    SaneTestConfig(const SaneTestConfig&) = delete;
    SaneTestConfig& operator=(const SaneTestConfig&) = delete;

    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::optional<std::string> oldConfigHome_;
};

// Sets an environment variable for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value);
    ~ScopedVariable();

private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace mvtwain::testing
