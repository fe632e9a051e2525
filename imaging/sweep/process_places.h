#pragma once
// For the sweep's tests: PrepareFolders moves the process into its scratch
// folder and points the temporary, home and scanner folders there. This puts
// all of it back when it goes out of scope, so that the tests after it in one
// process start where the process started.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/files/testing/working_folder.h"
#include "platform/win/testing/scratch_folder.h"

namespace scanvelt::sweep {

class ProcessPlaces {
public:
    ProcessPlaces() {
        for (const char* name : {"SANE_CONFIG_DIR", "TMPDIR", "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "TMP", "TEMP"})
            variables_.push_back(std::make_unique<win::testing::ScopedEnvironment>(name, std::getenv(name)));
    }

private:
    // The folder the process is in now, back when this goes.
    files::testing::WorkingFolder folder_{std::filesystem::current_path()};
    std::vector<std::unique_ptr<win::testing::ScopedEnvironment>> variables_;
};

}  // namespace scanvelt::sweep
