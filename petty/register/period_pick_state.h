#pragma once
// What passes between the period picker (frmselectSession) and the windows
// that open it. Process-wide, like the shell's AppState.
#include "petty/register/period_ids.h"

namespace petty {

struct PeriodPickState {
    // Written by the picker: the period picked, 0 when none was.
    PeriodId selectedPeriodId = 0;
    // Set by the register's export button just before it opens the picker;
    // the picker reads it at load and sets it back to false.
    bool periodPickForExport = false;
};

PeriodPickState& periodPickState();
// Back to the values of a program that has just started (tests).
void resetPeriodPickState();

}  // namespace petty
