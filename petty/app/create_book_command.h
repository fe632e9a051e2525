#pragma once
// ostrelle --create-book: asks for the passwords not given and creates the book.
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "petty/app/command_line.h"

namespace petty {

struct PasswordSource {
    // Asks with the prompt; nullopt when nothing can be read.
    std::function<std::optional<std::string>(std::string_view prompt)> ask;
    // Whether a typed password is asked a second time to catch a typing error.
    bool confirm = false;
};

// Returns the process exit code: 0 when the book was created, 1 otherwise,
// with the reason written to err.
int runCreateBook(const CreateBook& command, const PasswordSource& passwords, std::ostream& out, std::ostream& err);

}  // namespace petty
