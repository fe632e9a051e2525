#include "platform/com/registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/com/testing/private_registry.h"

namespace com {
namespace {

TEST(Registry, KeysAndNamesIgnoreCase) {
    Registry r;
    r.SetValue("CLSID\\{ABC}\\InprocServer32", "", "/lib/x.so");
    r.SetValue("CLSID\\{ABC}\\InprocServer32", "ThreadingModel", "Apartment");
    EXPECT_EQ(r.GetValue("clsid\\{abc}\\inprocserver32"), "/lib/x.so");
    EXPECT_EQ(r.GetValue("CLSID\\{ABC}\\InprocServer32", "threadingmodel"), "Apartment");
    EXPECT_FALSE(r.GetValue("CLSID\\{ABC}", ""));
    EXPECT_TRUE(r.HasKey("CLSID\\{abc}\\InprocServer32"));
}

TEST(Registry, DeleteTreeRemovesTheKeyAndWhatIsBelowOnly) {
    Registry r;
    r.SetValue("CLSID\\{A}", "", "a");
    r.SetValue("CLSID\\{A}\\Sub", "", "b");
    r.SetValue("CLSID\\{AB}", "", "c");
    r.DeleteTree("CLSID\\{A}");
    EXPECT_FALSE(r.HasKey("CLSID\\{A}"));
    EXPECT_FALSE(r.HasKey("CLSID\\{A}\\Sub"));
    EXPECT_EQ(r.GetValue("CLSID\\{AB}"), "c");
}

TEST(Registry, SavesAndLoadsEveryCharacter) {
    testing::PrivateRegistry file;
    Registry r;
    r.SetValue("Odd\\Key=[x]", "name=with\\slash", "line\nbreak\r=\\");
    r.CreateKey("Empty\\Key");
    ASSERT_EQ(r.Save(file.path()), S_OK);
    Registry back;
    ASSERT_EQ(Registry::Load(file.path(), back), S_OK);
    EXPECT_EQ(back.GetValue("Odd\\Key=[x]", "name=with\\slash"), "line\nbreak\r=\\");
    EXPECT_TRUE(back.HasKey("empty\\key"));
    EXPECT_EQ(back.Serialize(), r.Serialize());
}

TEST(Registry, MissingFileIsEmptyAndForeignFileIsRefused) {
    testing::PrivateRegistry file;
    Registry r;
    EXPECT_EQ(Registry::Load(file.path(), r), S_OK);
    EXPECT_TRUE(r.Keys().empty());
    std::ofstream(file.path()) << "not a registry\n";
    EXPECT_EQ(Registry::Load(file.path(), r), REGDB_E_READREGDB);
    for (const char* text : {"; Scanvelt class registry 1\nvalue=outside a key\n",
                             "; Scanvelt class registry 1\n[open\n", "; Scanvelt class registry 1\n[k]\nbad\\q=1\n"}) {
        std::ofstream(file.path(), std::ios::trunc) << text;
        EXPECT_EQ(Registry::Load(file.path(), r), REGDB_E_READREGDB) << text;
    }
}

TEST(Registry, TheEnvironmentMovesTheFile) {
    testing::PrivateRegistry file;
    EXPECT_EQ(Registry::DefaultPath(), file.path());
}

TEST(Registry, UpdateKeepsOtherEntriesAndLeavesNoTemporaryFile) {
    testing::PrivateRegistry file;
    ASSERT_EQ(UpdateRegistry(file.path(), [](Registry& r) { r.SetValue("A", "", "1"); }), S_OK);
    ASSERT_EQ(UpdateRegistry(file.path(), [](Registry& r) { r.SetValue("B", "", "2"); }), S_OK);
    Registry r = file.load();
    EXPECT_EQ(r.GetValue("A"), "1");
    EXPECT_EQ(r.GetValue("B"), "2");
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(file.path()).parent_path()))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST(Registry, AFailedSaveKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    testing::PrivateRegistry file;
    ASSERT_EQ(UpdateRegistry(file.path(), [](Registry& r) { r.SetValue("A", "", "1"); }), S_OK);
    auto folder = std::filesystem::path(file.path()).parent_path();
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    Registry changed = file.load();
    changed.SetValue("A", "", "2");
    EXPECT_EQ(changed.Save(file.path()), REGDB_E_WRITEREGDB);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    EXPECT_EQ(file.load().GetValue("A"), "1");
}

}  // namespace
}  // namespace com
