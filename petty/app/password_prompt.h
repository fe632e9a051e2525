#pragma once
// Asking for a password on the terminal without showing what is typed.
#include <optional>
#include <string>
#include <string_view>

namespace petty {

// Reads one line from standard input. On a terminal it shows the prompt on
// standard error first and turns echo off while the line is typed; input from
// a pipe is read as it comes. nullopt at end of input.
std::optional<std::string> readPassword(std::string_view prompt);

// Whether standard input is a terminal (a typed password is then asked twice).
bool inputIsTerminal();

}  // namespace petty
