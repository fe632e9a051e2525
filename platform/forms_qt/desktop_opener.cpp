#include "platform/forms_qt/desktop_opener.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QStandardPaths>
#include <cerrno>

namespace forms_qt {

bool OpenWithDesktopProgram(const std::string& file, std::chrono::milliseconds wait) {
    // Everything the child processes need is made before the fork: after it
    // only calls that are safe in the child of a threaded process are made.
    const std::string opener = QStandardPaths::findExecutable("xdg-open").toStdString();
    if (opener.empty() || file.empty()) return false;
    const char* const argv[] = {opener.c_str(), file.c_str(), nullptr};
    int verdict[2];
    if (::pipe2(verdict, O_CLOEXEC) != 0) return false;

    const pid_t first = ::fork();
    if (first < 0) {
        ::close(verdict[0]);
        ::close(verdict[1]);
        return false;
    }
    if (first == 0) {
        // A watcher of its own session, reparented to init once this child ends.
        ::setsid();
        if (::fork() != 0) ::_exit(0);
        const pid_t program = ::fork();
        if (program == 0) {
            const int nothing = ::open("/dev/null", O_RDONLY);
            if (nothing >= 0) ::dup2(nothing, 0);
            ::execv(argv[0], const_cast<char* const*>(argv));
            ::_exit(127);
        }
        int status = 0;
        unsigned char code = 127;
        if (program > 0 && ::waitpid(program, &status, 0) == program && WIFEXITED(status))
            code = static_cast<unsigned char>(WEXITSTATUS(status));
        [[maybe_unused]] const ssize_t written = ::write(verdict[1], &code, 1);
        ::_exit(0);
    }
    ::close(verdict[1]);
    int status = 0;
    while (::waitpid(first, &status, 0) < 0 && errno == EINTR) {
    }
    bool opened = true;
    pollfd ready{verdict[0], POLLIN, 0};
    int polled;
    while ((polled = ::poll(&ready, 1, static_cast<int>(wait.count()))) < 0 && errno == EINTR) {
    }
    if (polled > 0) {
        unsigned char code = 0;
        opened = ::read(verdict[0], &code, 1) == 1 ? code == 0 : true;
    }
    ::close(verdict[0]);
    return opened;
}

}  // namespace forms_qt
