#pragma once
// frmselectSession: the modal window in which the user picks a petty-cash
// period by its ID. It lists every period of the book with its open or closed
// state and leaves the pick in appState().selectedPeriodId (0 for none).
// It only reads the book. Make a new one for each opening.
#include <cstdint>

#include "platform/forms/forms.h"

namespace petty {

class frmselectSession : public forms::Form {
public:
    frmselectSession();

    forms::Label Label1{*this, "Label1"};
    forms::DataControl datPrimaryRS{*this, "datPrimaryRS"};
    forms::Grid DBGrid1{*this, "DBGrid1"};
    forms::CommandButton trfr{*this, "trfr"};          // Select
    forms::CommandButton cmdclose{*this, "cmdclose"};  // Cancel
    forms::CommandButton srch{*this, "srch"};          // hidden: the list query

private:
    void Form_Load();
    void srch_Click();
    void datPrimaryRS_Reposition();
    void trfr_Click();
};

// Opens the picker modally and returns the period picked, 0 when none was.
// The caller sets appState().periodPickForExport first for the export.
int64_t pickPeriod();

}  // namespace petty
