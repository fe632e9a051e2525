#include "petty/app/create_book_command.h"

#include "petty/shell/business_database.h"

namespace petty {

namespace {

// The given password, or one asked for; nullopt (with the reason written) when
// none could be had.
std::optional<std::string> passwordFor(const std::optional<std::string>& given, std::string_view what,
                                       const PasswordSource& source, std::ostream& err) {
    if (given) return given;
    auto typed = source.ask("Password of the " + std::string(what) + " log-in: ");
    if (!typed) {
        err << "No password of the " << what << " log-in was given.\n";
        return std::nullopt;
    }
    if (source.confirm) {
        const auto again = source.ask("Type it again: ");
        if (again != typed) {
            err << "The two entries of the " << what << " password differ.\n";
            return std::nullopt;
        }
    }
    return typed;
}

}  // namespace

int runCreateBook(const CreateBook& command, const PasswordSource& passwords, std::ostream& out, std::ostream& err) {
    const auto password = passwordFor(command.password, "normal", passwords, err);
    if (!password) return 1;
    const auto approval = passwordFor(command.approvalPassword, "approval", passwords, err);
    if (!approval) return 1;
    try {
        createBook(command.folder, *password, *approval);
    } catch (const BookError& e) {
        err << e.what() << '\n';
        return 1;
    }
    out << "Created the book " << bookPath(command.folder).string() << "\n";
    return 0;
}

}  // namespace petty
