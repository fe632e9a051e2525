#include "platform/jet/error.h"

namespace jet {

Error::Error(int number, std::string description)
    : std::runtime_error("Error " + std::to_string(number) + " - " + description),
      number_(number),
      description_(std::move(description)) {}

namespace errors {

namespace {
std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }
}  // namespace

Error typeMismatch() { return {13, "Type mismatch"}; }
Error invalidUseOfNull() { return {94, "Invalid use of Null"}; }
Error overflow() { return {6, "Overflow"}; }

Error fileNotFound(std::string_view path) { return {3024, "Could not find file " + quoted(path) + "."}; }
Error notValidPassword() { return {3031, "Not a valid password."}; }
Error cannotOpenFile(std::string_view path) {
    return {3051, "The database engine cannot open the file " + quoted(path) +
                      ". It is already opened exclusively by another user, or you need permission to view its data."};
}
Error unrecognizedFormat(std::string_view path) {
    return {3343, "Unrecognized database format " + quoted(path) + "."};
}
Error corrupt(std::string_view path) {
    return {3049, "Cannot open database " + quoted(path) +
                      ". It may not be a database that your application recognizes, or the file may be corrupt."};
}
Error databaseExists(std::string_view path) { return {3204, "Database " + quoted(path) + " already exists."}; }

Error tableNotFound(std::string_view table) {
    return {3078, "The database engine cannot find the input table or query " + quoted(table) +
                      ". Make sure it exists and that its name is spelled correctly."};
}
Error itemNotFound() { return {3265, "Item not found in this collection."}; }

Error syntax(std::string_view detail) { return {3075, "Syntax error in query expression " + quoted(detail) + "."}; }
Error charactersAfterEnd() { return {3142, "Characters found after end of SQL statement."}; }
Error cannotExecuteSelect() { return {3065, "Cannot execute a select query."}; }
Error invalidOperation() { return {3219, "Invalid operation."}; }
Error tooFewParameters(size_t expected) {
    return {3061, "Too few parameters. Expected " + std::to_string(expected) + "."};
}
Error invalidArgument() { return {3001, "Invalid argument."}; }
Error dataTypeMismatchInCriteria() { return {3464, "Data type mismatch in criteria expression."}; }

Error noCurrentRecord() { return {3021, "No current record."}; }
Error updateWithoutEdit() { return {3020, "Update or CancelUpdate without AddNew or Edit."}; }
Error duplicateKey() {
    return {3022,
            "The changes you requested to the table were not successful because they would create duplicate "
            "values in the index, primary key, or relationship. Change the data in the field or fields that "
            "contain duplicate data, remove the index, or redefine the index to permit duplicate entries and "
            "try again."};
}
Error nullInKey() { return {3058, "Index or primary key cannot contain a Null value."}; }
Error readOnly() { return {3027, "Cannot update. Database or object is read-only."}; }
Error fieldNotUpdatable() { return {3164, "Field cannot be updated."}; }
Error recordDeleted() { return {3167, "Record is deleted."}; }
Error notValidBookmark() { return {3159, "Not a valid bookmark."}; }
Error conversion() { return {3421, "Data type conversion error."}; }

Error noTransaction() {
    return {3034, "You tried to commit or rollback a transaction without first beginning a transaction."};
}
Error locked() { return {3218, "Could not update; currently locked."}; }
Error changedByAnotherUser() {
    return {3197, "The database engine stopped the process because you and another user are attempting to change "
                  "the same data at the same time."};
}
Error diskError() { return {3043, "Disk or network error."}; }
Error diskFull() { return {3026, "Not enough space on disk."}; }
Error engine(std::string_view detail) { return {3000, "Reserved error (" + std::string(detail) + ")."}; }

}  // namespace errors
}  // namespace jet
