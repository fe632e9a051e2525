#pragma once
// What the ostrelle command line asks for.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace petty {

struct ShowUsage {
    bool asked = false;  // --help: the usage is the answer, not a complaint
};

struct CreateBook {
    std::filesystem::path folder;
    std::optional<std::string> password;
    std::optional<std::string> approvalPassword;
};

// Starts the program on the book in the folder (the default folder when none is given).
struct StartProgram {
    std::optional<std::filesystem::path> folder;
};

struct CommandLineError {
    std::string message;
};

using Command = std::variant<ShowUsage, StartProgram, CreateBook, CommandLineError>;

// The arguments after the program name. Options take their value as the next
// argument or after "=" ("--password=x").
Command parseCommandLine(const std::vector<std::string_view>& args);

std::string usageText();

}  // namespace petty
