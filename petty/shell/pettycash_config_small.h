#pragma once
// frmpettycashconfigSmall: the quick configuration window. Before the
// register first opens it asks whether advances are given and whether
// expenses carry a cost centre. Continue stores both in the settings row and
// sets both options; Close sets only noAdvanceMode, for this run. The main
// window's load shows it modally while firstRun is set.
#include "platform/forms/forms.h"

namespace petty {

class frmpettycashconfigSmall : public forms::Form {
public:
    frmpettycashconfigSmall();

    forms::Label Label5{*this, "Label5"};
    forms::Frame fraCostCentre{*this, "fraCostCentre"};
    forms::Frame fraBackup{*this, "fraBackup"};
    forms::Label Label4{*this, "Label4"};
    forms::Frame fraAdvances{*this, "fraAdvances"};
    // 4 cost centres, 0 no advances, 1 advances.
    forms::ControlArray<forms::CheckBox> Check1{*this, "Check1"};
    forms::Label Label2{*this, "Label2"};  // what giving no advances means
    forms::Label Label1{*this, "Label1"};  // what giving advances means
    forms::ControlArray<forms::Label> lblLabels{*this, "lblLabels"};
    forms::ControlArray<forms::TextBox> txtFields{*this, "txtFields"};  // 4: backup folder, bound to nothing
    forms::Label Label3{*this, "Label3"};
    forms::CommandButton cmdquickhelp{*this, "cmdquickhelp"};
    forms::CommandButton cmdupdate{*this, "cmdupdate"};  // Continue
    forms::CommandButton cmdclose{*this, "cmdclose"};
    forms::DataControl datPrimaryRS{*this, "datPrimaryRS"};

private:
    void layOut();
    void Form_Load();
    void cmdupdate_Click();
    void cmdclose_Click();
    void cmdquickhelp_Click();
};

}  // namespace petty
