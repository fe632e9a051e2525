#pragma once
#include "platform/forms/controls/text_control.h"

namespace forms {

class TextBox : public TextControl {
public:
    TextBox(Form& form, std::string name, int index = -1)
        : TextControl(form, ControlKind::TextBox, std::move(name), index) {
        setBackColor(vbWindowBackground);
        setForeColor(vbWindowText);
    }

    // The character shown for every typed one ('\0': the text itself).
    char passwordChar() const { return passwordChar_; }
    void setPasswordChar(char c) {
        passwordChar_ = c;
        changed(Property::PasswordChar);
    }
    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool on) { multiLine_ = on; }

private:
    char passwordChar_ = '\0';
    bool multiLine_ = false;
};

}  // namespace forms
