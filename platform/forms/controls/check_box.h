#pragma once
#include "platform/forms/bindable.h"
#include "platform/forms/control.h"

namespace forms {

constexpr int vbUnchecked = 0;
constexpr int vbChecked = 1;
constexpr int vbGrayed = 2;

// A check box. Click is raised whenever its value changes, by the user or the
// program (also while a Data control fills it: the changed flag is then clear).
// Bound to a Yes/No column: ticked writes True, unticked False, grayed Null.
class CheckBox : public Control, public Bindable {
public:
    CheckBox(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::CheckBox, std::move(name), index) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string text) { assign(caption_, std::move(text), Property::Caption); }
    int value() const { return value_; }
    void setValue(int value);  // vbUnchecked, vbChecked or vbGrayed; error 380 otherwise

    bool canTakeFocus() const override { return true; }
    jet::Value valueForField() const override;

protected:
    void showFieldValue(const jet::Value& value) override;

private:
    std::string caption_;
    int value_ = vbUnchecked;
};

}  // namespace forms
