#pragma once
// How the windows report a run-time error that a button's step met: a beep,
// then "Error <number> - <description>" (and a note of the window's own) in a
// plain message box.
#include <exception>
#include <string_view>

#include "platform/forms/controls/data_control.h"

namespace petty {

// A data error that the Data control meets by itself (a move by its arrows or
// the grid) is answered with beeps; its own message is suppressed.
void answerDataErrorsWithBeeps(forms::DataControl& data, int beeps);

void reportRunError(const std::exception& error, std::string_view note = {});

// A refusal as every window gives it: a beep (unless told not to), then the
// fixed text in a plain OK box without a title or icon of its own.
void refuse(std::string_view message, bool beep = true);

// Runs the step; a run-time error it raises is reported and the caller goes
// on. Returns whether the step ran through.
template <class Step>
bool reportOnFailure(Step&& step, std::string_view note = {}) {
    try {
        step();
        return true;
    } catch (const std::exception& error) {
        reportRunError(error, note);
        return false;
    }
}

}  // namespace petty
