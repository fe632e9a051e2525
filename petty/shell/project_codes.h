#pragma once
// frmprojectcodes: the projects or cost centres (table projectcodes) that
// vouchers carry when cost centres are in use. The code "General" stays: it
// cannot be deleted, and its code box takes no typing.
#include "petty/shell/simple_master_form.h"

namespace petty {

class frmprojectcodes : public SimpleMasterForm {
public:
    frmprojectcodes();

    forms::CheckBox Check1{*this, "Check1"};  // Active: offered for new vouchers

private:
    void newRowStarted() override;
    bool deletionRefused() override;
    void txtFields0_KeyPress(int& keyAscii);
};

}  // namespace petty
