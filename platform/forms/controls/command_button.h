#pragma once
// A push button: the standard button and the outside button control alike
// (caption, picture, tool tip, enabled, visible, default and cancel roles, click).
#include "platform/forms/control.h"

namespace forms {

class CommandButton : public Control {
public:
    CommandButton(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::CommandButton, std::move(name), index) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string text) { assign(caption_, std::move(text), Property::Caption); }
    // A picture by its name (a resource or file the front end resolves).
    const std::string& picture() const { return picture_; }
    void setPicture(std::string name) { assign(picture_, std::move(name), Property::Picture); }

    // Enter on the form clicks the default button; Escape the cancel button.
    // Making a button the default (or cancel) one takes the role from any other.
    bool isDefault() const { return default_; }
    void setDefault(bool on);
    bool isCancel() const { return cancel_; }
    void setCancel(bool on);

    bool canTakeFocus() const override { return true; }

private:
    std::string caption_;
    std::string picture_;
    bool default_ = false;
    bool cancel_ = false;
};

}  // namespace forms
