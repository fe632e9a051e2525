// ostrelle: the petty-cash book. For now it creates a new book; the log-in
// window will start here.
#include <iostream>
#include <string_view>
#include <vector>

#include "petty/app/command_line.h"
#include "petty/app/create_book_command.h"
#include "petty/app/password_prompt.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const petty::Command command = petty::parseCommandLine(args);
    if (const auto* usage = std::get_if<petty::ShowUsage>(&command)) {
        (usage->asked ? std::cout : std::cerr) << petty::usageText();
        return usage->asked ? 0 : 2;
    }
    if (const auto* error = std::get_if<petty::CommandLineError>(&command)) {
        std::cerr << "ostrelle: " << error->message << "\n\n" << petty::usageText();
        return 2;
    }
    const petty::PasswordSource terminal{petty::readPassword, petty::inputIsTerminal()};
    return petty::runCreateBook(std::get<petty::CreateBook>(command), terminal, std::cout, std::cerr);
}
