#pragma once
// The expense heads and the cost centres: master-data windows with one frame
// of boxes, browsed with the grid and the Data control's own arrows (whose
// caption shows the position), and an Add that starts a new row without
// looking at what is pending.
#include <initializer_list>
#include <string>
#include <vector>

#include "petty/shell/master_data_form.h"

namespace petty {

class SimpleMasterForm : public MasterDataForm {
public:
    forms::Frame Frame1{*this, "Frame1"};
    forms::ControlArray<forms::Label> lblLabels{*this, "lblLabels"};
    forms::ControlArray<forms::TextBox> txtFields{*this, "txtFields"};  // 0 holds the key
    forms::Label Label3{*this, "Label3"};                               // the current row's key
    forms::ControlArray<forms::Label> lblNotes{*this, "lblNotes"};      // what the fields are used for

protected:
    SimpleMasterForm(std::string name, Family family, const std::string& keyColumn);

    // A labelled box on the next row of the frame, bound to the column.
    forms::TextBox& addField(int index, std::string label, const std::string& column);
    // Any other control on the next row of the frame.
    void addToFrame(forms::Control& control);
    // Sizes the frame to its rows and places the notes, the Data control, the buttons and the window.
    void finishLayout(std::initializer_list<const char*> notes);
    // The window's own step after a new row was started.
    virtual void newRowStarted() {}

    forms::TextBox& keyBox() override { return txtFields[0]; }

private:
    std::vector<forms::Frame*> frames() override { return {&Frame1}; }
    void showPosition(int64_t position) override;
    void cmdadd_Click() override;

    std::vector<forms::Control*> inFrame_;  // top to bottom
};

}  // namespace petty
