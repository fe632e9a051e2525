#include "platform/win/environment.h"

#include "platform/win/testing/scratch_folder.h"

#include <gtest/gtest.h>

namespace win {
namespace {

using testing::ScopedEnvironment;

TEST(Environment, NamesMatchWithoutRegardToCaseExactSpellingFirst) {
    ScopedEnvironment upper("WIN_ENV_PROBE", "upper");
    EXPECT_EQ(GetEnvironmentVariableNoCase("win_env_probe"), "upper");
    EXPECT_EQ(GetEnvironmentVariableNoCase("Win_Env_Probe"), "upper");
    {
        ScopedEnvironment lower("win_env_probe", "lower");
        EXPECT_EQ(GetEnvironmentVariableNoCase("win_env_probe"), "lower");
        EXPECT_EQ(GetEnvironmentVariableNoCase("WIN_ENV_PROBE"), "upper");
    }
    EXPECT_FALSE(GetEnvironmentVariableNoCase("WIN_ENV_PROBE_MISSING"));
    EXPECT_FALSE(GetEnvironmentVariableNoCase(""));
}

TEST(Environment, EqualsNoCase) {
    EXPECT_TRUE(EqualsNoCase("Temp", "tEMP"));
    EXPECT_FALSE(EqualsNoCase("temp", "tmp"));
    EXPECT_FALSE(EqualsNoCase("a[", "A{")) << "only letters fold";
}

}  // namespace
}  // namespace win
