#include "petty/app/password_prompt.h"

#include <termios.h>
#include <unistd.h>

#include <iostream>

namespace petty {

namespace {

// Turns echo off for its lifetime, and back on however the read ends.
class EchoOff {
public:
    EchoOff() {
        if (tcgetattr(STDIN_FILENO, &saved_) != 0) return;
        termios quiet = saved_;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (active_) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios saved_{};
    bool active_ = false;
};

}  // namespace

bool inputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

std::optional<std::string> readPassword(std::string_view prompt) {
    std::string line;
    bool read = false;
    if (inputIsTerminal()) {
        std::cerr << prompt << std::flush;
        EchoOff quiet;
        read = static_cast<bool>(std::getline(std::cin, line));
        std::cerr << '\n';  // the Enter that was not echoed
    } else {
        read = static_cast<bool>(std::getline(std::cin, line));
    }
    if (!read) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace petty
