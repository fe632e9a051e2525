#pragma once
// frmselectSession: the modal window in which the user picks a petty-cash
// period by its ID. It lists every period of the book with its open or closed
// state and leaves the pick in appState().selectedPeriodId (0 for none).
// It only reads the book. Make a new one for each opening.
#include <cstdint>

#include "petty/shell/list_picker.h"

namespace petty {

class frmselectSession : public ListPicker {
public:
    frmselectSession();

private:
    void Form_Load() override;
    void srch_Click() override;
    void trfr_Click() override;
};

// Opens the picker modally and returns the period picked, 0 when none was.
// The caller sets appState().periodPickForExport first for the export.
int64_t pickPeriod();

}  // namespace petty
