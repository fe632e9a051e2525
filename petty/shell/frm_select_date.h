#pragma once
// Frmselectdate: the small modal window with a month calendar in which the
// user picks a date for a date box of another window. It opens on today; a
// click on a day leaves that day in appState().selectedDate (short date form)
// and closes the window; Escape closes it and leaves selectedDate as it was.
// The window never clears selectedDate: the box that takes the date over does.
// Make a new one for each opening.
#include <string>

#include "platform/forms/forms.h"

namespace petty {

class Frmselectdate : public forms::Form {
public:
    Frmselectdate();

    forms::Calendar Calendar1{*this, "Calendar1"};
    // The cancel button, outside the visible area: only Escape reaches it.
    forms::CommandButton CANCEL{*this, "CANCEL"};

private:
    void Form_Load();
    void Calendar1_Click();
};

// Opens the picker modally and returns appState().selectedDate as it left
// it: the date picked, or after Escape what it held before.
std::string pickDate();

}  // namespace petty
