#pragma once
// frmselectProject: the modal window in which the user picks a cost centre
// (project code) from the active rows of the cost-centre table. It leaves the
// pick in appState().selectedProjectCode, trimmed, and the empty text when
// none was picked. It only reads the book. Make a new one for each opening.
#include <string>

#include "petty/shell/list_picker.h"

namespace petty {

class frmselectProject : public ListPicker {
public:
    frmselectProject();

private:
    void Form_Load() override;
    void trfr_Click() override;
    void cmdclose_Click() override;
};

// Opens the picker modally and returns the cost centre picked, "" when none was.
std::string pickProjectCode();

}  // namespace petty
