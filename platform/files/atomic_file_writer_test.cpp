#include "platform/files/atomic_file_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <iterator>

#include "platform/files/testing/scratch_folder.h"

namespace files {
namespace {

using testing::ScratchFolder;

std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(AtomicFileWriterTest, ACommittedFileReplacesTheOldOneAndLeavesNoTemporary) {
    ScratchFolder folder;
    const std::filesystem::path target = folder / "report.pdf";
    folder.write("report.pdf", "old");
    ASSERT_FALSE(writeFileAtomically(target, "new content", 0600));
    EXPECT_EQ(contentOf(target), "new content");
    EXPECT_EQ(folder.names(), std::vector<std::filesystem::path>{"report.pdf"});
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(AtomicFileWriterTest, AFileWrittenWithoutAModeIsTheOwnersAlone) {
    ScratchFolder folder;
    const mode_t previous = ::umask(0);  // the default must not rely on the umask
    const std::error_code byName = writeFileAtomically(folder / "config.xml", "<exportcsv/>");
    AtomicFileWriter writer;
    std::error_code byWriter = writer.open(folder / "Pettycash.pdf");
    if (!byWriter) byWriter = writer.write("%PDF");
    if (!byWriter) byWriter = writer.commit();
    ::umask(previous);
    ASSERT_FALSE(byName);
    ASSERT_FALSE(byWriter);
    for (const char* name : {"config.xml", "Pettycash.pdf"}) {
        struct stat info {};
        ASSERT_EQ(::stat((folder / name).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u) << name;
    }
}

TEST(AtomicFileWriterTest, ADiscardedOrFailedWriteKeepsTheOldFile) {
    ScratchFolder folder;
    const std::filesystem::path target = folder / "book.csv";
    folder.write("book.csv", "old");
    {
        AtomicFileWriter writer;
        ASSERT_FALSE(writer.open(target));
        ASSERT_FALSE(writer.write("half"));
    }  // dropped without commit
    EXPECT_EQ(contentOf(target), "old");
    EXPECT_EQ(folder.names().size(), 1u);

    EXPECT_TRUE(writeFileAtomically(folder / "missing" / "x.csv", "bytes"));
}

TEST(AtomicFileWriterTest, AFileCutShortByAFullDiskIsNeverRenamedIntoPlace) {
    // A file size limit makes the write fail part-way as a full disk would.
    ScratchFolder folder;
    const std::filesystem::path target = folder / "export.csv";
    folder.write("export.csv", "old");
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::error_code error = writeFileAtomically(target, std::string(10000, 'x'));
        ::_exit(error ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the cut write was reported as a success";
    EXPECT_EQ(contentOf(target), "old");
    EXPECT_EQ(folder.names().size(), 1u);
}

TEST(AtomicFileWriterTest, AnotherLibrarysFileIsCommittedByNameAndAnEmptyOneRefused) {
    ScratchFolder folder;
    AtomicFileWriter writer;
    ASSERT_FALSE(writer.open(folder / "a.pdf"));
    std::ofstream(writer.temporaryPath(), std::ios::binary) << "%PDF";
    ASSERT_FALSE(writer.commitWrittenByName());
    EXPECT_EQ(contentOf(folder / "a.pdf"), "%PDF");

    AtomicFileWriter empty;
    ASSERT_FALSE(empty.open(folder / "b.pdf"));
    EXPECT_TRUE(empty.commitWrittenByName());
    EXPECT_FALSE(std::filesystem::exists(folder / "b.pdf"));
    EXPECT_EQ(folder.names(), std::vector<std::filesystem::path>{"a.pdf"});
}

TEST(AtomicFileWriterTest, OnlyAFileIsReplacedNeverAFolderOrADeviceOrAPipe) {
    ScratchFolder folder;
    const std::filesystem::path pipe = folder.path() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_directory(folder.path() / "sub");
    for (const std::filesystem::path& target : {pipe, folder.path() / "sub"}) {
        AtomicFileWriter file;
        EXPECT_TRUE(file.open(target)) << target;
        EXPECT_TRUE(writeFileAtomically(target, "bytes")) << target;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "sub"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

TEST(AtomicFileWriterTest, StaleTemporariesOfDeadWritersAreRemovedOthersKept) {
    ScratchFolder folder;
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string dead = "." "x.csv.part-" + std::to_string(child) + "-0123456789abcdef";
    const std::string live = "." "y.csv.part-" + std::to_string(::getpid()) + "-0123456789abcdef";
    for (const std::string& name : {dead, live, std::string(".z.part-12-notours"), std::string("keep.csv")})
        folder.write(name, "x");
    EXPECT_EQ(removeStaleTemporaries(folder.path()), 1);
    EXPECT_FALSE(std::filesystem::exists(folder / dead));
    EXPECT_TRUE(std::filesystem::exists(folder / live));
    EXPECT_TRUE(std::filesystem::exists(folder / "keep.csv"));
    EXPECT_TRUE(isTemporaryName(temporaryNameFor(folder / "r.pdf").filename().string()));
}

}  // namespace
}  // namespace files
