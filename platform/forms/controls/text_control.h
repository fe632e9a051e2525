#pragma once
// The part that text boxes and combos share: a text the user types into, a
// typing limit, the locked state and the Change event.
#include <string>

#include "platform/forms/bindable.h"
#include "platform/forms/control.h"

namespace forms {

class TextControl : public Control, public Bindable {
public:
    TextControl(Form& form, ControlKind kind, std::string name, int index);

    const std::string& text() const { return text_; }
    // The program's write: raises Change and sets the changed flag when the text differs.
    virtual void setText(std::string text);

    // Most characters the user may type (0: no limit). The program's writes are not limited.
    int maxLength() const { return maxLength_; }
    void setMaxLength(int n);
    // A locked control keeps its text against typing but still takes the focus and raises key events.
    bool locked() const { return locked_; }
    void setLocked(bool on);

    bool canTakeFocus() const override { return true; }
    jet::Value valueForField() const override { return jet::Value(text_); }

    std::function<void()> onChange;

protected:
    void showFieldValue(const jet::Value& value) override { setText(value.asText()); }
    // Stores the text and tells observers; raises Change unless told not to.
    void storeText(std::string text, bool raiseChange);
    // Called after every change of the text, before Change is raised.
    virtual void afterTextChange() {}

private:
    std::string text_;
    int maxLength_ = 0;
    bool locked_ = false;
};

}  // namespace forms
