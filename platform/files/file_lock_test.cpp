#include "platform/files/file_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "platform/files/testing/lock_held_elsewhere.h"
#include "platform/files/testing/read_only_view.h"
#include "platform/files/testing/scratch_folder.h"

namespace files {
namespace {

// Whether a separate process could take the lock now (flock is per open file,
// so the test's own second attempt would tell the same).
bool anotherProcessCanLock(const std::filesystem::path& file) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(FileLock::tryTake(file) ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class FileLockTest : public ::testing::Test {
protected:
    void SetUp() override { book = folder.write("book/business.mdb", "the book"); }
    testing::ScratchFolder folder;
    std::filesystem::path book;
};

TEST_F(FileLockTest, OneHolderAtATimeAndTheLockEndsWithItsHolder) {
    {
        std::optional<FileLock> lock = FileLock::tryTake(book);
        ASSERT_TRUE(lock);
        EXPECT_FALSE(lock->readOnly());
        EXPECT_FALSE(FileLock::tryTake(book)) << "a second holder in the same process";
        EXPECT_FALSE(anotherProcessCanLock(book));
    }
    EXPECT_TRUE(anotherProcessCanLock(book));
}

TEST_F(FileLockTest, AKilledHolderLeavesNoLockBehind) {
    testing::LockHeldElsewhere other(book);
    EXPECT_FALSE(FileLock::tryTake(book));
    other.kill();
    EXPECT_TRUE(FileLock::tryTake(book));
}

// The same file reached by a symlink in another folder, or by another
// spelling of its path, is the same lock; no side file can be deleted away.
TEST_F(FileLockTest, EveryPathToTheFileMeetsTheSameLock) {
    std::filesystem::create_directories(folder / "elsewhere");
    const std::filesystem::path link = folder / "elsewhere" / "business.mdb";
    std::filesystem::create_symlink(book, link);
    testing::LockHeldElsewhere other(book);
    for (const std::filesystem::path& path : {link, folder / "book" / ".." / "book" / "business.mdb"}) {
        EXPECT_FALSE(FileLock::tryTake(path)) << path;
        EXPECT_FALSE(anotherProcessCanLock(path)) << path;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder / "book"))
        EXPECT_EQ(entry.path().filename(), "business.mdb") << "a side file that could be deleted";
    std::optional<FileLock> mine;
    other.kill();
    mine = FileLock::tryTake(link);
    ASSERT_TRUE(mine);
    EXPECT_TRUE(mine->covers(book));
    EXPECT_FALSE(mine->covers(folder / "nothing"));
}

// A file this process may only read is locked shared: other readers come in,
// a writer does not.
TEST_F(FileLockTest, AReadOnlyFileIsLockedSharedAndKeepsWritersOut) {
    const int result = testing::runWithReadOnlyFolder(book.parent_path(), [&] {
        if (mayWriteFileAndFolder(book)) return std::fprintf(stderr, "the read-only file counts as writable\n"), 1;
        std::optional<FileLock> lock = FileLock::tryTake(book);
        if (!lock || !lock->readOnly()) return std::fprintf(stderr, "no shared lock on the read-only file\n"), 2;
        std::optional<FileLock> second = FileLock::tryTake(book);
        if (!second) return std::fprintf(stderr, "a second reader is kept out\n"), 3;
        // A writer's exclusive lock, as another program that may write would ask for it.
        const int writer = ::open(book.c_str(), O_RDONLY | O_CLOEXEC);
        const bool writerKeptOut = writer >= 0 && ::flock(writer, LOCK_EX | LOCK_NB) != 0;
        if (writer >= 0) ::close(writer);
        if (!writerKeptOut) return std::fprintf(stderr, "a writer got in beside the readers\n"), 4;
        return 0;
    });
    if (result == testing::kNoReadOnlyView) GTEST_SKIP() << "no read-only view of a folder can be made here";
    EXPECT_EQ(result, 0);
}

}  // namespace
}  // namespace files
