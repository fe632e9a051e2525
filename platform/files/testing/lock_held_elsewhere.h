#pragma once
// For tests: another process that holds a file's lock until killed (when
// this object goes, or by kill()), as another program on the book would.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <stdexcept>

#include "platform/files/file_lock.h"

namespace files::testing {

class LockHeldElsewhere {
public:
    explicit LockHeldElsewhere(const std::filesystem::path& file) {
        int ready[2];
        if (::pipe(ready) != 0) throw std::runtime_error("no pipe");
        holder_ = ::fork();
        if (holder_ == 0) {
            std::optional<FileLock> lock = FileLock::tryTake(file);
            const char c = lock ? 'y' : 'n';
            (void)!::write(ready[1], &c, 1);
            for (;;) ::pause();
        }
        char c = 0;
        const bool told = ::read(ready[0], &c, 1) == 1;
        ::close(ready[0]);
        ::close(ready[1]);
        if (!told || c != 'y') {
            kill();
            throw std::runtime_error("the other process could not take the lock");
        }
    }
    ~LockHeldElsewhere() { kill(); }
    LockHeldElsewhere(const LockHeldElsewhere&) = delete;
    LockHeldElsewhere& operator=(const LockHeldElsewhere&) = delete;

    // Ends the holder the hard way: its lock must go with it.
    void kill() {
        if (holder_ <= 0) return;
        ::kill(holder_, SIGKILL);
        ::waitpid(holder_, nullptr, 0);
        holder_ = -1;
    }

private:
    pid_t holder_ = -1;
};

}  // namespace files::testing
