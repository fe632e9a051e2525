#include "platform/files/folder_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "platform/files/testing/lock_held_elsewhere.h"
#include "platform/files/testing/scratch_folder.h"

namespace files {
namespace {

// Whether a separate process could take the lock now (flock is per open file,
// so the test's own second attempt would tell the same).
bool anotherProcessCanLock(const std::filesystem::path& folder) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(FolderLock::tryTake(folder) ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(FolderLockTest, OneHolderAtATimeAndTheLockEndsWithItsHolder) {
    testing::ScratchFolder folder;
    {
        std::optional<FolderLock> lock = FolderLock::tryTake(folder.path());
        ASSERT_TRUE(lock);
        EXPECT_FALSE(FolderLock::tryTake(folder.path())) << "a second holder in the same process";
        EXPECT_FALSE(anotherProcessCanLock(folder.path()));
    }
    EXPECT_TRUE(anotherProcessCanLock(folder.path()));
}

TEST(FolderLockTest, AKilledHolderLeavesNoLockBehind) {
    testing::ScratchFolder folder;
    testing::LockHeldElsewhere other(folder.path());
    EXPECT_FALSE(FolderLock::tryTake(folder.path()));
    other.kill();
    EXPECT_TRUE(FolderLock::tryTake(folder.path()));
    EXPECT_TRUE(std::filesystem::exists(folder / FolderLock::kFileName));
}

}  // namespace
}  // namespace files
