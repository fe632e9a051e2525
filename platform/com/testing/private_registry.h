#pragma once
// For tests: a class registry of the test's own, in a scratch folder, that
// SCANVELT_REGISTRY points at while the object lives.
#include "platform/com/registry.h"
#include "platform/win/testing/scratch_folder.h"

namespace com::testing {

class PrivateRegistry {
public:
    PrivateRegistry() : path_(folder_.file("registry")), environment_(kRegistryVariable, path_.c_str()) {}
    const std::string& path() const { return path_; }
    Registry load() const {
        Registry registry;
        EXPECT_EQ(Registry::Load(path_, registry), S_OK);
        return registry;
    }

private:
    win::testing::ScratchFolder folder_;
    std::string path_;
    win::testing::ScopedEnvironment environment_;
};

}  // namespace com::testing
