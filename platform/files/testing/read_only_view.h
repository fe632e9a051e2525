#pragma once
// For tests: runs a check in a child process that sees a folder as read-only
// media would show it. As root (whom permissions do not stop) the folder is
// bind-mounted read-only in a mount namespace of the child's own; otherwise
// its and its files' write permissions are taken away for the child's run.
// The check's result is the child's exit status: 0 passed, 77 the view could
// not be made (the caller skips), anything else failed (the check writes why
// to stderr).
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

namespace files::testing {

inline constexpr int kNoReadOnlyView = 77;

inline int runWithReadOnlyFolder(const std::filesystem::path& folder, const std::function<int()>& check) {
    const bool root = ::geteuid() == 0;
    if (!root) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) ::chmod(entry.path().c_str(), 0400);
        ::chmod(folder.c_str(), 0500);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (root && (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                     ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
                     ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0))
            ::_exit(kNoReadOnlyView);
        ::_exit(check());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!root) {
        ::chmod(folder.c_str(), 0700);
        for (const auto& entry : std::filesystem::directory_iterator(folder)) ::chmod(entry.path().c_str(), 0600);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

}  // namespace files::testing
