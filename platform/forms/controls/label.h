#pragma once
#include "platform/forms/bindable.h"
#include "platform/forms/control.h"

namespace forms {

// A label; bound to a column it shows the value and never writes it back.
class Label : public Control, public Bindable {
public:
    Label(Form& form, std::string name, int index = -1) : Control(form, ControlKind::Label, std::move(name), index) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string text) {
        if (text == caption_) return;
        caption_ = std::move(text);
        changed(Property::Caption);
        noteValueChanged();
    }

    bool displayOnly() const override { return true; }
    jet::Value valueForField() const override { return jet::Value(caption_); }

protected:
    void showFieldValue(const jet::Value& value) override { setCaption(value.asText()); }

private:
    std::string caption_;
};

}  // namespace forms
