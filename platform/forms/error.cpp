#include "platform/forms/error.h"

namespace forms {

Error::Error(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

namespace errors {
Error invalidProcedureCall() { return Error(5, "Invalid procedure call or argument"); }
Error fileNotFound() { return Error(53, "File not found"); }
Error objectNotSet() { return Error(91, "Object variable or With block variable not set"); }
Error invalidPropertyValue() { return Error(380, "Invalid property value"); }
Error propertyReadOnly() { return Error(383, "'Text' property is read-only"); }
Error alreadyDisplayed() { return Error(400, "Form already displayed; can't show modally"); }
Error controlArrayElement() { return Error(340, "Control array element does not exist"); }
}  // namespace errors

}  // namespace forms
