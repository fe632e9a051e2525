#pragma once
// A menu item. Top-level menus have no parent; an item lies in its parent
// menu (setContainer(parentMenu)). The caption "-" makes a separator line.
// A click (user::click) reaches only an item that is enabled and visible with
// all its parents.
#include "platform/forms/control.h"

namespace forms {

class MenuItem : public Control {
public:
    MenuItem(Form& form, std::string name, int index = -1) : Control(form, ControlKind::Menu, std::move(name), index) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string text) { assign(caption_, std::move(text), Property::Caption); }
    bool isSeparator() const { return caption_ == "-"; }
    bool checked() const { return checked_; }
    void setChecked(bool on) { assign(checked_, on, Property::Value); }
    bool isContainer() const override { return true; }

private:
    std::string caption_;
    bool checked_ = false;
};

}  // namespace forms
