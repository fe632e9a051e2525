#pragma once
// frmpettycashconfig: the configuration window. It edits the one settings row
// of the book (table config): the two log-ins, whether advances are given,
// the reminder on unsettled advances, the cost-centre option and the stored-
// only choices (approval, daily summary, voucher format). Save checks the
// log-in fields, writes the row and switches noAdvanceMode and
// costCentreEnabled at once. The main window's configuration command shows it
// modally.
#include "platform/forms/forms.h"

namespace petty {

class frmpettycashconfig : public forms::Form {
public:
    frmpettycashconfig();

    forms::Label lblHeading{*this, "lblHeading"};
    forms::Frame fraLogin{*this, "fraLogin"};
    forms::Frame fraSuperUser{*this, "fraSuperUser"};
    forms::Frame fraAdvances{*this, "fraAdvances"};
    forms::Frame fraReminder{*this, "fraReminder"};
    forms::Frame fraCostCentre{*this, "fraCostCentre"};
    forms::Frame fraVoucherFormat{*this, "fraVoucherFormat"};
    forms::Frame fraBackup{*this, "fraBackup"};
    forms::Frame fraCompany{*this, "fraCompany"};

    // 1 user name, 0 password, 2 super-user name, 3 super-user password,
    // 5 remind days, 4 backup folder, 10 company.
    forms::ControlArray<forms::TextBox> txtFields{*this, "txtFields"};
    forms::ControlArray<forms::Label> lblLabels{*this, "lblLabels"};
    // 2 approval, 0 no advances, 1 advances, 3 daily summary, 4 cost centres,
    // 5 and 6 the voucher formats.
    forms::ControlArray<forms::CheckBox> Check1{*this, "Check1"};
    forms::ControlArray<forms::CommandButton> cmdquickhelp{*this, "cmdquickhelp"};
    forms::Label Label1{*this, "Label1"};  // what giving advances means
    forms::Label Label2{*this, "Label2"};  // what giving no advances means
    forms::Label Label3{*this, "Label3"};  // "days"
    forms::CommandButton cmdupdate{*this, "cmdupdate"};
    forms::CommandButton cmdclose{*this, "cmdclose"};
    forms::DataControl datPrimaryRS{*this, "datPrimaryRS"};

private:
    void layOut();
    void bindToSettingsRow();
    void wireEvents();

    void Form_Load();
    void Check1_Click(int index);
    void userName_LostFocus();
    void remindDays_LostFocus();
    void cmdupdate_Click();
    void cmdupdate_LostFocus();
    void cmdquickhelp_Click(int index);
    void cmdclose_Click();

    // The save's checks of the boxes; false after refusing with a message.
    bool logInFieldsAccepted();
    // Both user names alike (exact text): beep, the message, and the super-user name emptied.
    bool refuseSameUserNames();
    bool reminderOffTold_ = false;  // the message that remind days 0 turns the reminder off was shown
};

}  // namespace petty
