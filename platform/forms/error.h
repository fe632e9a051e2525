#pragma once
// Run-time errors of the form runtime, with the numbers the original runtime
// raised for the same misuse, so callers can report "Error <n> - <text>" the
// way they report database errors.
#include <stdexcept>
#include <string>

namespace forms {

class Error : public std::runtime_error {
public:
    Error(int number, std::string description);
    int number() const { return number_; }
    const std::string& description() const { return description_; }

private:
    int number_;
    std::string description_;
};

namespace errors {
Error invalidProcedureCall();   // 5: e.g. SetFocus on a disabled or hidden control
Error fileNotFound();           // 53
Error objectNotSet();           // 91: a Data control's recordset used before Refresh or after release
Error invalidPropertyValue();   // 380
Error propertyReadOnly();       // 383: the text of a drop-down list set to a text not in its list
Error alreadyDisplayed();       // 400: a visible form shown modally, an MDI child shown modally
Error controlArrayElement();    // 340: a control-array index that holds no control
}  // namespace errors

}  // namespace forms
