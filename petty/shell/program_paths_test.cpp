#include "petty/shell/program_paths.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/jet/test_support.h"

namespace petty {
namespace {

TEST(ProgramPathsTest, PathsAreShownWithThePlatformsSeparator) {
    EXPECT_EQ(shownPath("/home/ravi/book\\exportcsv\\Pettycash.csv"), "/home/ravi/book/exportcsv/Pettycash.csv");
    EXPECT_EQ(shownPath("/already/plain"), "/already/plain");
    EXPECT_EQ(shownPath(""), "");
}

TEST(ProgramPathsTest, FolderGetsOneSeparator) {
    EXPECT_EQ(withFolderSeparator("/home/a/Book"), "/home/a/Book\\");
    EXPECT_EQ(withFolderSeparator("/home/a/Book\\"), "/home/a/Book\\");
    EXPECT_EQ(withFolderSeparator("/home/a/Book/"), "/home/a/Book/");
}

class FileLookupTest : public ::testing::Test {
protected:
    FileLookupTest() {
        std::filesystem::create_directories(folder / "Reports" / "sub");
        for (const char* name : {"Reports/PettyCash3.RPT", "Reports/voucher1.rpt", "Reports/.hidden.rpt"})
            std::ofstream(folder / name) << "x";
        std::filesystem::create_directories(folder / "onlyfolders" / "inner");
        std::filesystem::create_directories(folder / "onlyhidden");
        std::ofstream(folder / "onlyhidden" / ".x") << "x";
    }
    // The folder in the program's form: "\" separators, and lower case as the log-in keeps it.
    std::string windowsPath(const std::string& tail) const {
        std::string text = folder.path().string() + "\\" + tail;
        return text;
    }
    jet::testing::TestFolder folder;
};

TEST_F(FileLookupTest, FindsOrdinaryFilesByPattern) {
    struct Case {
        const char* tail;
        const char* found;  // the file name found, or nullptr
    };
    const Case cases[] = {
        {"reports\\pettycash3.rpt", "PettyCash3.RPT"},  // every name matched without regard to case
        {"Reports/voucher1.rpt", "voucher1.rpt"},
        {"reports\\voucher2.rpt", nullptr},
        {"reports\\pettycash?.rpt", "PettyCash3.RPT"},
        {"reports\\v*", "voucher1.rpt"},
        {"reports\\*.rpt", "PettyCash3.RPT"},
        {"reports\\", "PettyCash3.RPT"},  // a folder path finds any file inside
        {"reports\\sub", nullptr},         // a folder is no file
        {"reports\\.hidden.rpt", nullptr}, // nor is a hidden file
        {"onlyhidden\\", nullptr},
        {"onlyfolders\\", nullptr},
        {"onlyfolders\\*", nullptr},
        {"missing\\x.rpt", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tail);
        const auto found = findOrdinaryFile(windowsPath(c.tail));
        if (!c.found) {
            EXPECT_FALSE(found);
        } else {
            ASSERT_TRUE(found);
            EXPECT_EQ(found->filename().string(), c.found);
            EXPECT_TRUE(std::filesystem::is_regular_file(*found));
        }
    }
}

TEST_F(FileLookupTest, ResolvesEveryNameWithoutRegardToCase) {
    std::filesystem::create_directories(folder / "Books" / "MyBook");
    std::ofstream(folder / "Books" / "MyBook" / "business.mdb") << "x";
    const std::string lowered = folder.path().string() + "/books/mybook\\BUSINESS.MDB";
    EXPECT_EQ(resolveProgramPath(lowered), folder / "Books/MyBook/business.mdb");
}

}  // namespace
}  // namespace petty
