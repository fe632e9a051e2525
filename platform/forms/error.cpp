#include "platform/forms/error.h"

namespace forms::errors {

Error invalidProcedureCall() { return Error(5, "Invalid procedure call or argument"); }
Error fileNotFound() { return Error(53, "File not found"); }
Error objectNotSet() { return Error(91, "Object variable or With block variable not set"); }
Error controlArrayElement() { return Error(340, "Control array element does not exist"); }
Error invalidPropertyValue() { return Error(380, "Invalid property value"); }
Error propertyReadOnly() { return Error(383, "'Text' property is read-only"); }
Error alreadyDisplayed() { return Error(400, "Form already displayed; can't show modally"); }
Error modalDisplayed() { return Error(401, "Can't show non-modal form when modal form is displayed"); }

}  // namespace forms::errors
