#include "plugins/mvtwain/default_source_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "plugins/mvtwain/testing/sane_test_config.h"

namespace mvtwain {
namespace {

TEST(DefaultSourceStore, StoresPerUserAndReadsBack) {
    testing::SaneTestConfig config;
    EXPECT_EQ(DefaultSourceFile(), config.folder() / "config-home" / "scanvelt" / "twain-default-source");
    EXPECT_EQ(LoadDefaultSource(), "");
    EXPECT_TRUE(StoreDefaultSource("test:1"));
    EXPECT_EQ(LoadDefaultSource(), "test:1");
    EXPECT_TRUE(StoreDefaultSource("net:host:genesys:libusb:001:004"));
    EXPECT_EQ(LoadDefaultSource(), "net:host:genesys:libusb:001:004");
    // Only the settings file is in its folder: no temporary file stays behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(DefaultSourceFile().parent_path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(DefaultSourceStore, RefusesNamesThatAreNotOneLine) {
    testing::SaneTestConfig config;
    EXPECT_FALSE(StoreDefaultSource(""));
    EXPECT_FALSE(StoreDefaultSource("a\nb"));
    EXPECT_FALSE(StoreDefaultSource(std::string(2000, 'x')));
    EXPECT_EQ(LoadDefaultSource(), "");
}

TEST(DefaultSourceStore, WithoutAHomeNothingIsStored) {
    testing::ScopedVariable config("XDG_CONFIG_HOME", "");
    testing::ScopedVariable home("HOME", "");
    EXPECT_TRUE(DefaultSourceFile().empty());
    EXPECT_FALSE(StoreDefaultSource("test:0"));
    EXPECT_EQ(LoadDefaultSource(), "");
}

}  // namespace
}  // namespace mvtwain
