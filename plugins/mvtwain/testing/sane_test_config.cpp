#include "plugins/mvtwain/testing/sane_test_config.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/win/testing/sane_test_backend.h"

namespace mvtwain::testing {
namespace {

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void restore(const char* name, const std::optional<std::string>& value) {
    if (value) setenv(name, value->c_str(), 1);
    else unsetenv(name);
}

std::filesystem::path newFolder(const char* prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / prefix).string() + "XXXXXX";
    const char* made = mkdtemp(pattern.data());
    return made ? std::filesystem::path(made) : std::filesystem::path();
}

struct ProgramSaneFolder {
    ProgramSaneFolder() : folder(newFolder("mvtwain-sane-")) {
        std::ofstream(folder / "dll.conf") << "test\n";
        // No trailing colon: SANE then searches this folder alone.
        setenv("SANE_CONFIG_DIR", folder.c_str(), 1);
        win::testing::KeepSaneTestBackendLoaded();
    }
    ~ProgramSaneFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::filesystem::path folder;
};

}  // namespace

SaneTestConfig::SaneTestConfig() {
    static ProgramSaneFolder sane;
    folder_ = newFolder("mvtwain-test-");
    std::filesystem::create_directories(folder_ / "config-home");
    oldConfigHome_ = variable("XDG_CONFIG_HOME");
    setenv("XDG_CONFIG_HOME", (folder_ / "config-home").c_str(), 1);
}

SaneTestConfig::~SaneTestConfig() {
    restore("XDG_CONFIG_HOME", oldConfigHome_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

ScopedVariable::ScopedVariable(const char* name, const std::string& value) : name_(name), old_(variable(name)) {
    setenv(name, value.c_str(), 1);
}

ScopedVariable::~ScopedVariable() { restore(name_, old_); }

}  // namespace mvtwain::testing
