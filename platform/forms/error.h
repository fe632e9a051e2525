#pragma once
// Run-time errors of the form runtime, with fixed numbers
// (handlers compare them and show them to the user). They are the database layer's error type, so a
// handler that reports "Error <number> - <description>" catches one type for
// both database and window errors.
#include "platform/jet/error.h"

namespace forms {

using Error = jet::Error;

namespace errors {
Error invalidProcedureCall();   // 5: e.g. SetFocus on a disabled or hidden control
Error fileNotFound();           // 53
Error objectNotSet();           // 91: a Data control's recordset used before Refresh or after release
Error controlArrayElement();    // 340: a control-array index (or grid column) that holds nothing
Error invalidPropertyValue();   // 380
Error propertyReadOnly();       // 383: the text of a drop-down list set to a text not in its list
Error alreadyDisplayed();       // 400: a visible form shown modally, an MDI child shown modally
Error modalDisplayed();         // 401: a modeless form shown while a modal one is open
}  // namespace errors

}  // namespace forms
