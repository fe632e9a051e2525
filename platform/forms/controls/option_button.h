#pragma once
#include "platform/forms/control.h"

namespace forms {

// An option button: setting one (user or program) clears the other option
// buttons of the same container and raises Click on the one set.
class OptionButton : public Control {
public:
    OptionButton(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::OptionButton, std::move(name), index) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string text) { assign(caption_, std::move(text), Property::Caption); }
    bool value() const { return value_; }
    void setValue(bool on);

    bool canTakeFocus() const override { return true; }

private:
    friend class OptionGroup;
    std::string caption_;
    bool value_ = false;
};

}  // namespace forms
