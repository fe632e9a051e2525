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
    if (args.empty()) return ShowUsage{};
    CreateBook create;
    bool creating = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const auto [name, inlineValue] = splitOption(args[i]);
        if (name == "--help" || name == "-h") return ShowUsage{true};

        std::optional<std::string>* target = nullptr;
        if (name == "--password") target = &create.password;
        else if (name == "--approval-password") target = &create.approvalPassword;
        else if (name != "--create-book") return CommandLineError{"Unknown argument: " + std::string(args[i])};

        std::string value;
        if (inlineValue) {
            value = std::string(*inlineValue);
        } else if (i + 1 < args.size()) {
            value = std::string(args[++i]);
        } else {
            return CommandLineError{std::string(name) + " needs a value."};
        }

        if (target) {
            if (*target) return CommandLineError{std::string(name) + " is given twice."};
            *target = std::move(value);
        } else {
            if (creating) return CommandLineError{"--create-book is given twice."};
            if (value.empty()) return CommandLineError{"--create-book needs a folder."};
            creating = true;
            create.folder = value;
        }
    }
    if (!creating) return CommandLineError{"Passwords are given only with --create-book."};
    return create;
}

std::string usageText() {
    return "Usage: ostrelle --create-book DIR [--password P] [--approval-password Q]\n"
           "\n"
           "Creates a new petty-cash book in the folder DIR: business.mdb with its\n"
           "settings row, and the folders documents/ and exportcsv/. An existing book\n"
           "is never overwritten.\n"
           "\n"
           "  --password P            password of the normal log-in\n"
           "  --approval-password Q   password of the approval log-in\n"
           "\n"
           "A password not given is asked for on the terminal. Both must be given, must\n"
           "not start or end with a blank, and must differ in more than letter case,\n"
           "since the log-in ignores letter case.\n";
}

}  // namespace petty
