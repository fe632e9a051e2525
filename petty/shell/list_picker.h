#pragma once
// The shape of the modal pickers that offer the rows of one query: a title
// label, a grid over a Data control, Select and Cancel buttons, and a hidden
// Query button whose click is the list query, run each time the window is
// activated. Enter selects when the list has rows; Select is disabled when it
// has none; a double-click in the grid selects too. The grid's caption follows
// the list's cursor ("Record 2  of  5 records"). Data errors the control meets
// by itself are answered with two beeps. Each picker says what its load, its
// Select and its Cancel do with its result.
#include <string>

#include "platform/forms/forms.h"

namespace petty {

class ListPicker : public forms::Form {
public:
    forms::Label Label1{*this, "Label1"};
    forms::DataControl datPrimaryRS{*this, "datPrimaryRS"};
    forms::Grid DBGrid1{*this, "DBGrid1"};
    forms::CommandButton trfr{*this, "trfr"};          // Select
    forms::CommandButton cmdclose{*this, "cmdclose"};  // Cancel
    forms::CommandButton srch{*this, "srch"};          // hidden: the list query

protected:
    // Lays the window out in this size (twips) around the list of this query.
    ListPicker(std::string name, const char* listQuery, int width, int height);

    const char* listQuery() const { return listQuery_; }

    virtual void Form_Load() = 0;
    virtual void srch_Click();
    virtual void trfr_Click() = 0;
    virtual void cmdclose_Click() { unload(); }

private:
    void datPrimaryRS_Reposition();

    const char* listQuery_;
};

}  // namespace petty
