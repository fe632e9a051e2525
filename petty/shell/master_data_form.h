#pragma once
// The family of master-data windows (employees, expense heads, cost centres).
// Each has a Data control on its master table, a grid over it that lists the
// rows and cannot change them (a click makes a row current), boxes bound to
// the current row in frames, and the buttons Add, Save, Delete (captioned
// "Cancel" while a new row is pending) and Close. The windows differ in their
// table, a few guards and their messages: each derives from this class, owns
// its boxes and gives those differences.
//
// A row is known by its key text alone, and the book keeps the keys unique
// without regard to letter case: the windows look for no duplicates before
// the save; a save the book refuses as a repeated key is reported, by a
// window that can, with the row already there.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/forms/forms.h"

namespace petty {

// Where the labels and boxes of a frame stand, in twips.
struct MasterFieldColumns {
    int left;  // where the label starts, in the frame
    int labelWidth;
    int boxWidth;
};

class MasterDataForm : public forms::Form {
public:
    forms::Label lblTitle{*this, "lblTitle"};
    forms::DataControl datPrimaryRS{*this, "datPrimaryRS"};
    forms::Grid DBGrid1{*this, "DBGrid1"};
    forms::CommandButton cmdadd{*this, "cmdadd"};
    forms::CommandButton cmdupdate{*this, "cmdupdate"};
    forms::CommandButton cmdDelete{*this, "cmdDelete"};
    forms::CommandButton cmdclose{*this, "cmdclose"};

    // The current row as the buttons see it: an addition pending (a new row
    // not yet saved), an edit pending (an edit begun, or a bound box changed
    // since the row was shown), or neither.
    enum class RowState { Browsing, Editing, Adding };
    RowState rowState();

protected:
    // What a window of the family says and does differently.
    struct Family {
        std::string recordSource;
        std::string keyMissing;      // the refusal of a save without a key
        std::string deleteQuestion;  // the confirmation before a row is deleted
        std::string saveErrorNote;   // added to the report of a failed save
        int dataErrorBeeps;          // the answer to a data error the Data control meets by itself
    };

    MasterDataForm(std::string name, Family family);

    // The box of the row's key (name, head, code).
    virtual forms::TextBox& keyBox() = 0;
    // The frames that hold the boxes.
    virtual std::vector<forms::Frame*> frames() = 0;
    // Shows the current row's position (counted from 1; 0 while a new row is pending or none is current).
    virtual void showPosition(int64_t position) = 0;
    virtual void cmdadd_Click() = 0;
    // The window's own steps of the save between the key test and the write.
    virtual void prepareSave() {}
    // A guard of the window's own before the delete confirmation; true when it refused.
    virtual bool deletionRefused() { return false; }
    // What the clerk is told when the book refused the save as a repeated
    // key: which stored row has the typed value. Empty: the book's own report.
    virtual std::string repeatedKeyMessage() { return {}; }

    // Points the Data control at the book and opens it; the first row shows.
    virtual void Form_Load();

    // The display of the current row: position, Delete/Cancel caption, frames.
    void showCurrentRow();
    void enableFrames(bool on);
    int64_t rowCount();
    bool adding() { return rowState() == RowState::Adding; }

    // Layout: a label (may be none) and its box on a row of a frame.
    static void placeField(forms::Frame& frame, forms::Label* label, std::string caption, forms::Control& box, int row,
                           MasterFieldColumns columns);
    // The buttons Add, Save, Delete and Close side by side, ending at the right edge given.
    void placeButtons(int top, int right);
    // The focus moves through the controls in this order.
    static void setTabOrder(const std::vector<forms::Control*>& controls);

private:
    void cmdupdate_Click();
    void cmdDelete_Click();
    void cmdclose_Click();
    void writeRow();

    Family family_;
};

}  // namespace petty
