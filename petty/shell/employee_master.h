#pragma once
// frmemployeemaster: the employees and other receivers of petty cash (table
// employeemaster). Its own: the name is required and trimmed, a new employee
// raises employeeListChanged for the register, previous/next buttons that
// will not leave a new row, the title bar cannot close it, and a repeated name
// or code is reported with the employee already there.
#include "petty/shell/master_data_form.h"

namespace petty {

class frmemployeemaster : public MasterDataForm {
public:
    frmemployeemaster();

    forms::Frame Frame1{*this, "Frame1"};
    forms::Frame Frame2{*this, "Frame2"};
    forms::ControlArray<forms::Label> lblLabels{*this, "lblLabels"};
    forms::ControlArray<forms::TextBox> txtFields{*this, "txtFields"};
    forms::ControlArray<forms::CheckBox> chkFields{*this, "chkFields"};
    forms::ControlArray<forms::CommandButton> Moov{*this, "Moov"};  // 0 previous, 1 next

private:
    void buildFields();
    forms::TextBox& keyBox() override { return txtFields[2]; }
    std::vector<forms::Frame*> frames() override { return {&Frame1, &Frame2}; }
    void showPosition(int64_t position) override;
    void Form_Load() override;
    void cmdadd_Click() override;
    void prepareSave() override;
    std::string repeatedKeyMessage() override;
    // Whether a row other than the one being saved holds `typed` in `column`.
    bool anotherRowHolds(const char* column, const std::string& typed);
    void Moov_Click(int index);
};

}  // namespace petty
