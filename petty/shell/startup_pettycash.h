#pragma once
// STARTUPpettycash: the log-in window, the first window of the program. Its
// load checks the screen and fills the paths; Enter in the password box logs
// the normal or the approval user in against the settings row of the book,
// shows the main window and unloads the log-in. There is one attempt only: a
// password that matches neither log-in ends the program.
#include "platform/forms/forms.h"

namespace petty {

class STARTUPpettycash : public forms::Form {
public:
    STARTUPpettycash();

    forms::Label lblProgram{*this, "lblProgram"};
    forms::Label lblSubtitle{*this, "lblSubtitle"};
    forms::Label lblVersion{*this, "lblVersion"};
    forms::Label lblEdition{*this, "lblEdition"};
    forms::Label lblLogin{*this, "lblLogin"};
    forms::TextBox Text1{*this, "Text1"};        // the password
    forms::CommandButton Command1{*this, "Command1"};  // the default button, outside the visible area
    forms::DataControl Data1{*this, "Data1"};

    // Whether enteredPassword belongs to the normal or to the approval log-in.
    // Reads the options of the settings row on the way; raises the database's
    // errors (a missing book, table or column, an empty table).
    bool CheckLogin();

private:
    void Form_Load();
    void Form_Activate();
    void Command1_Click();
};

}  // namespace petty
