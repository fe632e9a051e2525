#pragma once
// frmselectProject: the modal window in which the user picks a cost centre
// (project code) from the active rows of the cost-centre table. It leaves the
// pick in appState().selectedProjectCode, trimmed, and the empty text when
// none was picked. It only reads the book. Make a new one for each opening.
#include <string>

#include "platform/forms/forms.h"

namespace petty {

class frmselectProject : public forms::Form {
public:
    frmselectProject();

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
    void cmdclose_Click();
};

// Opens the picker modally and returns the cost centre picked, "" when none was.
std::string pickProjectCode();

}  // namespace petty
