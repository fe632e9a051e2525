#include "platform/gdiplus/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "platform/gdiplus/test_support.h"

namespace gdiplus {
namespace {

using testing_support::ScratchFolder;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(FileIo, ReadsWholeFilesAndNamesFailures) {
    ScratchFolder folder;
    std::string big(200000, 'x');
    big[199999] = 'y';
    std::ofstream(folder / "big") << big;
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(ReadWholeFile(folder / "big", bytes), Ok);
    EXPECT_EQ(bytes, Bytes(big));
    EXPECT_EQ(ReadWholeFile(folder / "missing", bytes), FileNotFound);
    EXPECT_EQ(ReadWholeFile(folder / "big" / "below", bytes), FileNotFound);
    EXPECT_EQ(ReadWholeFile(folder.path(), bytes), Win32Error);
}

TEST(FileIo, CommitReplacesTheFileInOneStep) {
    ScratchFolder folder;
    std::ofstream(folder / "out") << "old";
    AtomicFileWriter writer;
    ASSERT_EQ(writer.Open(folder / "out"), Ok);
    ASSERT_EQ(writer.Write(Bytes("new contents")), Ok);
    EXPECT_EQ(folder.names().size(), 2u);  // the old file and the temporary one
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(ReadWholeFile(folder / "out", bytes), Ok);
    EXPECT_EQ(bytes, Bytes("old"));
    ASSERT_EQ(writer.Commit(), Ok);
    EXPECT_EQ(folder.names(), std::vector<std::filesystem::path>{"out"});
    ASSERT_EQ(ReadWholeFile(folder / "out", bytes), Ok);
    EXPECT_EQ(bytes, Bytes("new contents"));
    EXPECT_EQ(writer.Commit(), WrongState);
}

TEST(FileIo, AnUncommittedWriteLeavesNothing) {
    ScratchFolder folder;
    {
        AtomicFileWriter writer;
        ASSERT_EQ(writer.Open(folder / "out"), Ok);
        ASSERT_EQ(writer.Write(Bytes("half")), Ok);
    }
    EXPECT_TRUE(folder.names().empty());
}

TEST(FileIo, OpenNamesWhyItCannotWrite) {
    ScratchFolder folder;
    AtomicFileWriter writer;
    EXPECT_EQ(writer.Open(folder / "no" / "out"), FileNotFound);
    EXPECT_EQ(writer.Write(Bytes("x")), WrongState);
    if (::geteuid() != 0) {  // permissions do not bind the superuser
        std::filesystem::create_directory(folder / "locked");
        ::chmod((folder / "locked").c_str(), 0500);
        EXPECT_EQ(writer.Open(folder / "locked" / "out"), AccessDenied);
        ::chmod((folder / "locked").c_str(), 0700);
    }
}

}  // namespace
}  // namespace gdiplus
