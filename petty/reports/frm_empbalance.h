#pragma once
// frmEmpbalance: every advance of the open period still waiting for its
// settlement, for all employees, and for the advance under the cursor the
// entries made against it and what remains to be returned to the employee or
// collected from them. It only reads the book; make a new one for each opening.
#include "platform/forms/forms.h"

namespace petty {

class frmEmpbalance : public forms::Form {
public:
    frmEmpbalance();

    forms::Label Label1{*this, "Label1"};  // the heading
    forms::DataControl datPrimaryRS{*this, "datPrimaryRS"};          // the pending advances
    forms::DataControl Datacommon{*this, "Datacommon"};              // the settlement sum
    forms::DataControl Datasettlements{*this, "Datasettlements"};    // the entries against the advance
    forms::Grid DBGrid1{*this, "DBGrid1"};
    forms::Label Label2{*this, "Label2"};  // the balance text
    forms::Grid DBGrid2{*this, "DBGrid2"};
    forms::CommandButton srch{*this, "srch"};
    forms::CommandButton cmdclose{*this, "cmdclose"};

    // Recomputes the balance text and the entries of the current advance.
    void ShowAdvanceSettlement();

private:
    void Form_Load();
    void srch_Click();
    void Form_Unload();
};

}  // namespace petty
