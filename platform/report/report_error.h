#pragma once
// What the report control raises when a call or a run fails: a number in the
// control's own range and a text for the user.
#include <stdexcept>
#include <string>

namespace report {

enum class ReportErrorCode {
    MemberNotFound = 1,    // no member has this dispatch ID
    TypeMismatch = 2,      // a value of the wrong kind for the member
    BadIndex = 3,          // an index out of range
    ReportFile = 20,       // the report file is missing or not a report definition
    Formula = 21,          // a selection formula or a formula field the engine refuses
    Data = 22,             // the data file cannot be opened or read
    Destination = 23,      // a destination or export type the engine does not know
    Output = 24,           // the preview, printer or export file failed
};

class ReportError : public std::runtime_error {
public:
    ReportError(ReportErrorCode code, const std::string& text) : std::runtime_error(text), code_(code) {}
    ReportErrorCode code() const { return code_; }

private:
    ReportErrorCode code_;
};

}  // namespace report
