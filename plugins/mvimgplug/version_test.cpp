// The plug-in carries a file version that the engine reads like a DLL's.
#include <gtest/gtest.h>

#include "platform/win/file_version.h"

namespace mvimgplug::testing {
namespace {

TEST(Version, TheSharedObjectCarriesANonZeroFileVersion) {
    const win::FileVersionInfo info = win::ReadFileVersion(MVIMGPLUG_LIBRARY_PATH);
    ASSERT_EQ(info.status, win::FileVersionStatus::Found);
    EXPECT_EQ(info.version, (win::FileVersion{1, 0, 0, 0}));
}

}  // namespace
}  // namespace mvimgplug::testing
