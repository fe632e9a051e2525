#include "petty/reports/export_file.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/jet/test_support.h"

namespace petty {
namespace {

std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

size_t filesIn(const std::filesystem::path& folder) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

TEST(ExportFileName, MomentAndEveryDigitOfThePeriod) {
    EXPECT_EQ(exportFileName(*vb::DateTime::fromParts(2015, 5, 17, 14, 30, 5), 1505171400),
              "May172015_143005 PettycashBackup PeriodID_1505171400.csv");
    EXPECT_EQ(exportFileName(*vb::DateTime::fromParts(2026, 1, 2, 3, 4, 5), 2601020304),
              "Jan022026_030405 PettycashBackup PeriodID_2601020304.csv");
}

TEST(AppendThroughTemporaryFile, CreatesThenAppendsLeavingNoTemporaryBehind) {
    jet::testing::TestFolder folder;
    const std::filesystem::path file = folder.path() / "export.csv";
    ASSERT_TRUE(appendThroughTemporaryFile(file, "a,b\r\n"));
    ASSERT_TRUE(appendThroughTemporaryFile(file, "c,d\r\n"));
    EXPECT_EQ(contentOf(file), "a,b\r\nc,d\r\n");
    EXPECT_EQ(filesIn(folder.path()), 1u);
}

TEST(AppendThroughTemporaryFile, TheExportIsItsOwnersAloneWhateverTheUmask) {
    jet::testing::TestFolder folder;
    const mode_t before = ::umask(022);
    const bool written = appendThroughTemporaryFile(folder.path() / "export.csv", "a\r\n");
    ::umask(before);
    ASSERT_TRUE(written);
    struct stat info {};
    ASSERT_EQ(::stat((folder.path() / "export.csv").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "another local user must not read the period's vouchers";
}

TEST(AppendThroughTemporaryFile, AMissingFolderFailsWithoutCreatingAnything) {
    jet::testing::TestFolder folder;
    EXPECT_FALSE(appendThroughTemporaryFile(folder.path() / "absent" / "export.csv", "a\r\n"));
    EXPECT_EQ(filesIn(folder.path()), 0u);
}

TEST(AppendThroughTemporaryFile, ANameTakenByAFolderFailsAndLeavesItAlone) {
    jet::testing::TestFolder folder;
    const std::filesystem::path taken = folder.path() / "export.csv";
    std::filesystem::create_directory(taken);
    EXPECT_FALSE(appendThroughTemporaryFile(taken, "a\r\n"));
    EXPECT_TRUE(std::filesystem::is_directory(taken));
    EXPECT_EQ(filesIn(folder.path()), 1u);
}

// A write that the system refuses part-way (here: beyond the file-size limit,
// which binds root too) leaves the old file whole and no temporary behind.
TEST(AppendThroughTemporaryFile, AWriteRefusedPartWayKeepsTheOldFile) {
    jet::testing::TestFolder folder;
    const std::filesystem::path file = folder.path() / "export.csv";
    ASSERT_TRUE(appendThroughTemporaryFile(file, "old\r\n"));
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{4, saved.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = appendThroughTemporaryFile(file, "new\r\n");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(contentOf(file), "old\r\n");
    EXPECT_EQ(filesIn(folder.path()), 1u);
}

TEST(AppendThroughTemporaryFile, AReadOnlyFolderFailsAndKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    jet::testing::TestFolder folder;
    const std::filesystem::path file = folder.path() / "export.csv";
    ASSERT_TRUE(appendThroughTemporaryFile(file, "old\r\n"));
    ::chmod(folder.path().c_str(), 0500);
    EXPECT_FALSE(appendThroughTemporaryFile(file, "new\r\n"));
    ::chmod(folder.path().c_str(), 0700);
    EXPECT_EQ(contentOf(file), "old\r\n");
    EXPECT_EQ(filesIn(folder.path()), 1u);
}

}  // namespace
}  // namespace petty
