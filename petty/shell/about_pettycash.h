#pragma once
// frmaboutpettycash: the about box. Its OK button, Enter, Escape or a click
// on a picture, the program's name or the maker's name closes it.
#include "platform/forms/forms.h"

namespace petty {

class frmaboutpettycash : public forms::Form {
public:
    frmaboutpettycash();

    forms::Image Image1{*this, "Image1"};
    forms::Image Image2{*this, "Image2"};
    forms::Label lblProgram{*this, "lblProgram"};
    forms::Label lblVersion{*this, "lblVersion"};
    forms::Label lblMaker{*this, "lblMaker"};
    forms::Label lblContact{*this, "lblContact"};
    forms::CommandButton cmdOK{*this, "cmdOK"};  // default and cancel
};

}  // namespace petty
