#include "platform/win/temp_files.h"

#include "platform/win/testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace win {
namespace {

using testing::ScopedEnvironment;

TEST(TempFolder, TmpThenTempThenTmpdirThenSlashTmp) {
    std::string longValue(1000, 'x');
    std::string almostLong(999, 'y');
    struct Case {
        const char* tmp;
        const char* temp;
        const char* tmpdir;
        std::string expected;
    } cases[] = {
        {"/a/tmp", "/a/temp", "/a/tmpdir", "/a/tmp"},
        {nullptr, "/a/temp/", "/a/tmpdir", "/a/temp/"},
        {nullptr, nullptr, "/a/tmpdir", "/a/tmpdir"},
        {nullptr, nullptr, nullptr, "/tmp"},
        {"", "", "", "/tmp"},                           // empty counts as not set
        {longValue.c_str(), "/a/temp", nullptr, "/a/temp"},  // 1,000 characters or more: not set
        {almostLong.c_str(), "/a/temp", nullptr, almostLong},
    };
    // Clear every spelling the test machine may carry.
    ScopedEnvironment tmpUpper("TMP", nullptr), tempUpper("TEMP", nullptr);
    for (const auto& c : cases) {
        ScopedEnvironment tmp("tmp", c.tmp), temp("temp", c.temp), tmpdir("TMPDIR", c.tmpdir);
        EXPECT_EQ(TempFolder(), c.expected) << (c.tmp ? c.tmp : "-") << " " << (c.temp ? c.temp : "-");
    }
}

TEST(TempFolder, VariableNamesMatchInAnyCase) {
    ScopedEnvironment tmpLower("tmp", nullptr), tempLower("temp", nullptr);
    ScopedEnvironment tmpUpper("TMP", "/upper/tmp"), tempUpper("TEMP", nullptr);
    EXPECT_EQ(TempFolder(), "/upper/tmp");
}

TEST(CreateNewFile, CreatesOnceAndNeverOverwrites) {
    testing::ScratchFolder scratch;
    std::string path = scratch.file("12345678");
    ASSERT_EQ(CreateNewFile(path), CreateNewFileResult::Created);
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(CreateNewFile(path), CreateNewFileResult::NameTaken);

    std::string hidden = scratch.write(".hidden", "keep me");
    EXPECT_EQ(CreateNewFile(hidden), CreateNewFileResult::NameTaken);
    std::stringstream content;
    content << std::ifstream(hidden).rdbuf();
    EXPECT_EQ(content.str(), "keep me");

    std::filesystem::create_directory(scratch.file("folder"));
    EXPECT_EQ(CreateNewFile(scratch.file("folder")), CreateNewFileResult::NameTaken);
    std::filesystem::create_symlink(scratch.file("nowhere"), scratch.file("dangling"));
    EXPECT_EQ(CreateNewFile(scratch.file("dangling")), CreateNewFileResult::NameTaken);
    EXPECT_FALSE(std::filesystem::exists(scratch.file("nowhere"))) << "a link is never followed";

    EXPECT_EQ(CreateNewFile(scratch.file("no/such/folder/1")), CreateNewFileResult::Failed);
}

}  // namespace
}  // namespace win
