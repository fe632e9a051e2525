#pragma once
// frmSessions: the petty-cash periods of the book with their open or closed
// state, in period-ID order, and for the period under the cursor when it was
// opened, its status, how many rows it holds and the dates of its first and
// last transaction. It only reads the book; make a new one for each opening.
#include "platform/forms/forms.h"

namespace petty {

class frmSessions : public forms::Form {
public:
    frmSessions();

    forms::Label Label1{*this, "Label1"};
    forms::DataControl datPrimaryRS{*this, "datPrimaryRS"};  // the list
    forms::DataControl Datacommon{*this, "Datacommon"};      // the detail queries
    forms::Grid DBGrid1{*this, "DBGrid1"};
    forms::Label Label3{*this, "Label3"};
    forms::Label Label2{*this, "Label2"};  // the current period ID
    forms::TextBox Text1{*this, "Text1"};  // the details
    forms::CommandButton srch{*this, "srch"};
    forms::CommandButton cmdclose{*this, "cmdclose"};

    // Recomputes the details of the current list row.
    void ShowPeriodDetails();

private:
    void Form_Load();
    void srch_Click();
    void cmdclose_Click();
};

}  // namespace petty
