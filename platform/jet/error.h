#pragma once
// The database layer's one error type. It carries a fixed number and
// description for each condition, because the
// program shows them to the user as "Error <number> - <description>" and some
// callers branch on the number.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace jet {

class Error : public std::runtime_error {
public:
    Error(int number, std::string description);

    int number() const { return number_; }
    const std::string& description() const { return description_; }

private:
    int number_;
    std::string description_;
};

// The conditions this layer raises, with the engine's numbers.
namespace errors {
// Value conversions (the numbers of the language runtime).
Error typeMismatch();                                  // 13
Error invalidUseOfNull();                              // 94
Error overflow();                                      // 6
// Opening and creating.
Error fileNotFound(std::string_view path);             // 3024
Error notValidPassword();                              // 3031
Error cannotOpenFile(std::string_view path);           // 3051
Error unrecognizedFormat(std::string_view path);       // 3343
Error corrupt(std::string_view path);                  // 3049
Error databaseExists(std::string_view path);           // 3204
// Names.
Error tableNotFound(std::string_view table);           // 3078
Error itemNotFound();                                  // 3265
// Statements.
Error syntax(std::string_view detail);                 // 3075
Error charactersAfterEnd();                            // 3142
Error cannotExecuteSelect();                           // 3065
Error invalidOperation();                              // 3219
Error tooFewParameters(size_t expected);               // 3061
Error invalidArgument();                               // 3001
Error dataTypeMismatchInCriteria();                    // 3464
// Recordsets.
Error noCurrentRecord();                               // 3021
Error updateWithoutEdit();                             // 3020
Error duplicateKey();                                  // 3022
Error nullInKey();                                     // 3058
Error readOnly();                                      // 3027
Error fieldNotUpdatable();                             // 3164
Error recordDeleted();                                 // 3167
Error notValidBookmark();                              // 3159
Error conversion();                                    // 3421
// Transactions and the file.
Error noTransaction();                                 // 3034
Error locked();                                        // 3218
Error changedByAnotherUser();                          // 3197
Error diskError();                                     // 3043
Error diskFull();                                      // 3026
Error engine(std::string_view detail);                 // 3000
}  // namespace errors

}  // namespace jet
