#include "platform/win/windows_path.h"

#include "platform/win/testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace win {
namespace {

TEST(WindowsPath, BackslashesAndCaseResolveToTheFile) {
    testing::ScratchFolder scratch;
    std::string file = scratch.write("Documents/Bill 17.JPG", "x");
    struct Case { std::string in; std::string out; } cases[] = {
        {scratch.path() + "\\Documents\\Bill 17.JPG", file},
        {scratch.path() + "\\documents\\bill 17.jpg", file},
        {scratch.path() + "/DOCUMENTS/bill 17.Jpg", file},
        {file, file},
        // A file not there yet keeps its name, in the folder that is there.
        {scratch.path() + "\\documents\\new.pdf", scratch.path() + "/Documents/new.pdf"},
        // Past the first name that matches nothing, the rest stays as written.
        {scratch.path() + "\\Missing\\documents\\X", scratch.path() + "/Missing/documents/X"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveWindowsPath(c.in), c.out) << c.in;
}

TEST(WindowsPath, ExactSpellingWinsOverOtherCases) {
    testing::ScratchFolder scratch;
    scratch.write("scan.tif", "lower");
    scratch.write("SCAN.TIF", "upper");
    EXPECT_EQ(ResolveWindowsPath(scratch.path() + "\\SCAN.TIF"), scratch.path() + "/SCAN.TIF");
    EXPECT_EQ(ResolveWindowsPath(scratch.path() + "\\scan.tif"), scratch.path() + "/scan.tif");
    // Neither spelled so: the first spelling in byte order.
    EXPECT_EQ(ResolveWindowsPath(scratch.path() + "\\Scan.Tif"), scratch.path() + "/SCAN.TIF");
}

TEST(WindowsPath, RelativePathsResolveAgainstTheWorkingFolder) {
    testing::ScratchFolder scratch;
    scratch.write("Sub/File.txt", "x");
    auto old = std::filesystem::current_path();
    std::filesystem::current_path(scratch.path());
    EXPECT_EQ(ResolveWindowsPath("sub\\file.TXT"), "Sub/File.txt");
    EXPECT_EQ(ResolveWindowsPath(".\\SUB\\..\\sub\\file.txt"), "./Sub/../Sub/File.txt");
    std::filesystem::current_path(old);
}

}  // namespace
}  // namespace win
