#include "imaging/engine/temp_files.h"

#include "platform/win/open_file_dialog.h"
#include "platform/win/testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sys/stat.h>

namespace scanvelt {
namespace {

using win::testing::ScopedEnvironment;
using win::testing::ScratchFolder;

// Points every spelling of the temporary-folder variables at one folder.
class TempFolderAt {
public:
    explicit TempFolderAt(const std::string& folder)
        : tmp_("TMP", folder.c_str()), tmpLower_("tmp", nullptr), temp_("TEMP", nullptr),
          tempLower_("temp", nullptr) {}

private:
    ScopedEnvironment tmp_, tmpLower_, temp_, tempLower_;
};

TEST(GetTempFolder, OneSeparatorIsAlwaysAdded) {
    ScopedEnvironment tmpLower("tmp", nullptr), tempLower("temp", nullptr);
    struct Case { const char* tmp; const char* temp; const char* tmpdir; std::string expected; } cases[] = {
        {"/var/scans", nullptr, nullptr, "/var/scans/"},
        {nullptr, "/var/scans/", nullptr, "/var/scans//"},  // a second separator, as a caller sees it
        {nullptr, nullptr, "/run/user/tmp", "/run/user/tmp/"},
        {nullptr, nullptr, nullptr, "/tmp/"},
    };
    for (const auto& c : cases) {
        ScopedEnvironment tmp("TMP", c.tmp), temp("TEMP", c.temp), tmpdir("TMPDIR", c.tmpdir);
        EXPECT_EQ(GetTempFolder(), c.expected);
    }
}

TEST(NewTempFileName, CreatesNewEmptyFilesNamedByOneToEightDigits) {
    ScratchFolder scratch;
    TempFolderAt folder(scratch.path());
    std::set<std::string> names;
    for (int i = 0; i < 300; ++i) {
        std::string path = NewTempFileName();
        ASSERT_EQ(path.rfind(scratch.path() + "/", 0), 0u) << path;
        std::string name = path.substr(scratch.path().size() + 1);
        ASSERT_GE(name.size(), 1u);
        ASSERT_LE(name.size(), 8u);
        EXPECT_EQ(name.find_first_not_of("0123456789"), std::string::npos) << name;
        EXPECT_TRUE(name == "0" || name[0] != '0') << "no leading zeros: " << name;
        struct stat info;
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_size, 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        EXPECT_TRUE(names.insert(name).second) << "repeated " << name;
    }
}

TEST(NewTempFileName, NeverTakesOrOverwritesAnExistingName) {
    // Names taken by earlier calls (files with contents of their own) are
    // never handed out again, and nothing is overwritten.
    // Whether a taken name is drawn again is win::CreateNewFile's to answer;
    // its own tests give it names that exist.
    ScratchFolder scratch;
    TempFolderAt folder(scratch.path());
    std::set<std::string> existing;
    for (int i = 0; i < 200; ++i) {
        std::string path = NewTempFileName();
        std::ofstream(path) << "owner " << i;
        existing.insert(path);
    }
    std::filesystem::create_directory(scratch.file(".12345"));
    for (int i = 0; i < 200; ++i) {
        std::string path = NewTempFileName();
        EXPECT_EQ(existing.count(path), 0u) << path;
        EXPECT_EQ(std::filesystem::file_size(path), 0u);
    }
    int kept = 0;
    for (const auto& path : existing) {
        std::ifstream in(path);
        std::string word;
        in >> word;
        kept += word == "owner";
    }
    EXPECT_EQ(kept, 200) << "no earlier file was overwritten";
}

TEST(NewTempFileName, AFolderThatTakesNoFilesGivesAnEmptyName) {
    ScratchFolder scratch;
    TempFolderAt folder(scratch.file("does-not-exist"));
    EXPECT_EQ(NewTempFileName(), "");
}

TEST(DeleteFileQuietly, DeletesByWindowsPathAndIgnoresWhatIsNotThere) {
    ScratchFolder folder;
    const std::string file = folder.write("Page.tmp", "x");
    const std::string other = folder.write("Other.tmp", "y");
    DeleteFileQuietly(folder.path() + "\\PAGE.TMP");
    EXPECT_FALSE(std::filesystem::exists(file)) << "found in any case, through \\ separators";
    DeleteFileQuietly(file);
    DeleteFileQuietly("");
    EXPECT_TRUE(std::filesystem::exists(other));
}

TEST(NormalizePath, Table) {
    struct Case { const char* in; const char* out; } cases[] = {
        {" C:/images//scan.tif ", "C:\\images\\scan.tif"},
        {"\\\\\\\\server\\share\\\\a.gif", "\\\\server\\share\\a.gif"},
        {"\\\\\\x\\y", "\\\\x\\y"},                  // three leading backslashes leave two
        {"C:\\\\\\\\a", "C:\\a"},                    // C: and four backslashes
        {"a//", "a\\\\"},                            // three characters: only the slashes turn
        {"//", "\\\\"},
        {"\\\\server\\share", "\\\\server\\share"},  // a UNC prefix stays
        {"x\\\\\\\\y", "x\\\\y"},                    // the first two characters are left as they are
        {"C:\\Dir\\.\\..\\File.TXT\\", "C:\\Dir\\.\\..\\File.TXT\\"},  // no case change, no dots resolved
        {"   ", ""},
        {"", ""},
        {"\t/a/b\t", "\t\\a\\b\t"},                  // only spaces are trimmed
        {"/home/user/scans//bill.jpg", "\\home\\user\\scans\\bill.jpg"},
    };
    for (const auto& c : cases) EXPECT_EQ(NormalizePath(c.in), c.out) << c.in;
}

class ShowOpenFileDialogTest : public ::testing::Test {
protected:
    void TearDown() override { win::SetOpenFileDialogHandler({}); }
};

TEST_F(ShowOpenFileDialogTest, AsksForAnOpenFileDialogWithA256CharacterBuffer) {
    win::OpenFileDialogRequest seen;
    win::SetOpenFileDialogHandler([&](const win::OpenFileDialogRequest& request) -> std::optional<std::string> {
        seen = request;
        return "/scans/bill.tif";
    });
    EXPECT_EQ(ShowOpenFileDialog(1234), "/scans/bill.tif");
    EXPECT_EQ(seen.ownerWindow, 1234u);
    EXPECT_EQ(seen.title, "Open File");
    EXPECT_EQ(seen.filter, "");
    EXPECT_EQ(seen.flags, 6u);
    EXPECT_EQ(seen.maxPathLength, 255u);
}

TEST_F(ShowOpenFileDialogTest, CancelledTooLongOrNoDialogGivesEmptyText) {
    EXPECT_EQ(ShowOpenFileDialog(0), "");
    win::SetOpenFileDialogHandler([](const win::OpenFileDialogRequest&) { return std::optional<std::string>(); });
    EXPECT_EQ(ShowOpenFileDialog(0), "");
    win::SetOpenFileDialogHandler([](const win::OpenFileDialogRequest&) -> std::optional<std::string> {
        return "/" + std::string(300, 'x');
    });
    EXPECT_EQ(ShowOpenFileDialog(0), "");
}

}  // namespace
}  // namespace scanvelt
