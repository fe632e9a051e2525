#include "petty/app/command_line.h"

namespace petty {

namespace {

struct Option {
    std::string_view name;
    std::optional<std::string_view> inlineValue;
};

Option splitOption(std::string_view arg) {
    const size_t eq = arg.find('=');
    if (arg.rfind("--", 0) != 0 || eq == std::string_view::npos) return {arg, std::nullopt};
    return {arg.substr(0, eq), arg.substr(eq + 1)};
}

}  // namespace

Command parseCommandLine(const std::vector<std::string_view>& args) {
    CreateBook create;
    std::optional<std::string> createFolder;
    std::optional<std::string> startFolder;
    for (size_t i = 0; i < args.size(); ++i) {
        const auto [name, inlineValue] = splitOption(args[i]);
        if (name == "--help" || name == "-h") return ShowUsage{true};

        std::optional<std::string>* target = nullptr;
        if (name == "--password") target = &create.password;
        else if (name == "--approval-password") target = &create.approvalPassword;
        else if (name == "--create-book") target = &createFolder;
        else if (name == "--folder") target = &startFolder;
        else return CommandLineError{"Unknown argument: " + std::string(args[i])};

        std::string value;
        if (inlineValue) {
            value = std::string(*inlineValue);
        } else if (i + 1 < args.size()) {
            value = std::string(args[++i]);
        } else {
            return CommandLineError{std::string(name) + " needs a value."};
        }
        if (*target) return CommandLineError{std::string(name) + " is given twice."};
        if (value.empty() && (target == &createFolder || target == &startFolder))
            return CommandLineError{std::string(name) + " needs a folder."};
        *target = std::move(value);
    }
    if (createFolder && startFolder) return CommandLineError{"--folder and --create-book cannot be given together."};
    if (createFolder) {
        create.folder = *createFolder;
        return create;
    }
    if (create.password || create.approvalPassword)
        return CommandLineError{"Passwords are given only with --create-book."};
    StartProgram start;
    if (startFolder) start.folder = *startFolder;
    return start;
}

std::string usageText() {
    return "Usage: ostrelle [--folder DIR]\n"
           "       ostrelle --create-book DIR [--password P] [--approval-password Q]\n"
           "\n"
           "Without --create-book, starts the petty-cash book kept in the folder DIR\n"
           "(default: $XDG_DATA_HOME/ostrelle, or ~/.local/share/ostrelle). When the\n"
           "folder holds no book yet, a window asks for the two log-in passwords and\n"
           "the book is created there; then the log-in window shows.\n"
           "\n"
           "--create-book creates a new book in the folder DIR without starting the\n"
           "program: business.mdb with its settings row, and the folders documents/\n"
           "and exportcsv/. An existing book is never overwritten.\n"
           "\n"
           "  --password P            password of the normal log-in\n"
           "  --approval-password Q   password of the approval log-in\n"
           "\n"
           "A password not given is asked for on the terminal. Both must be given, must\n"
           "not start or end with a blank, and must differ in more than letter case,\n"
           "since the log-in ignores letter case.\n";
}

}  // namespace petty
