#pragma once
#include "platform/forms/control.h"

namespace forms {

// A frame: a captioned container whose enabled and visible states reach its children.
class Frame : public Control {
public:
    Frame(Form& form, std::string name, int index = -1) : Control(form, ControlKind::Frame, std::move(name), index) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string text) { assign(caption_, std::move(text), Property::Caption); }
    bool isContainer() const override { return true; }

private:
    std::string caption_;
};

}  // namespace forms
