#include "platform/gdiplus/startup.h"

#include <gtest/gtest.h>

namespace gdiplus {
namespace {

TEST(Startup, CountsEveryStartUntilItsShutdown) {
    ASSERT_FALSE(IsStarted());
    std::uintptr_t first = 0, second = 0;
    ASSERT_EQ(Startup(first), Ok);
    ASSERT_EQ(Startup(second), Ok);
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    Shutdown(first);
    EXPECT_TRUE(IsStarted());
    Shutdown(first);  // spent: changes nothing
    EXPECT_TRUE(IsStarted());
    Shutdown(second);
    EXPECT_FALSE(IsStarted());
}

TEST(Startup, RefusesOtherVersions) {
    std::uintptr_t token = 0;
    EXPECT_EQ(Startup(token, 2), UnsupportedGdiplusVersion);
    EXPECT_FALSE(IsStarted());
}

TEST(Startup, ReportsAVersionSixLibrary) {
    EXPECT_EQ(kLibraryFileVersion.substr(0, 2), "6.");
}

}  // namespace
}  // namespace gdiplus
