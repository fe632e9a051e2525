// ostrelle: the petty-cash book. Starts the windows on a book folder, or
// creates a new book from the command line.
#include <sys/stat.h>

#include <QApplication>
#include <iostream>
#include <string_view>
#include <vector>

#include "petty/app/command_line.h"
#include "petty/app/create_book_command.h"
#include "petty/app/default_folder.h"
#include "petty/app/password_prompt.h"
#include "petty/app/run_windows.h"

int main(int argc, char** argv) {
    // Everything the program writes (the book, scanned bills, exports, reports)
    // is the book owner's alone, whatever umask the program was started with.
    ::umask(077);
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
    if (const auto* create = std::get_if<petty::CreateBook>(&command)) {
        const petty::PasswordSource terminal{petty::readPassword, petty::inputIsTerminal()};
        return petty::runCreateBook(*create, terminal, std::cout, std::cerr);
    }
    const auto& start = std::get<petty::StartProgram>(command);
    const auto folder = start.folder ? start.folder : petty::defaultBookFolder(petty::processEnvironment);
    if (!folder) {
        std::cerr << "ostrelle: no book folder: give --folder DIR, or set HOME or XDG_DATA_HOME.\n";
        return 2;
    }
    QApplication qt(argc, argv);
    return petty::runWindows(*folder);
}
