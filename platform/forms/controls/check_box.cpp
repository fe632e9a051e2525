#include "platform/forms/controls/check_box.h"

#include "platform/forms/error.h"

namespace forms {

void CheckBox::setValue(int value) {
    if (value != vbUnchecked && value != vbChecked && value != vbGrayed) throw errors::invalidPropertyValue();
    if (value == value_) return;
    value_ = value;
    changed(Property::Value);
    noteValueChanged();
    fire(onClick);
}

jet::Value CheckBox::valueForField() const {
    if (value_ == vbGrayed) return {};
    return jet::Value(value_ == vbChecked);
}

void CheckBox::showFieldValue(const jet::Value& value) {
    int shown = vbUnchecked;
    if (!value.isNull()) {
        try {
            shown = value.asBool() ? vbChecked : vbUnchecked;
        } catch (const std::exception&) {
            shown = vbUnchecked;  // a text that reads as no truth value
        }
    }
    setValue(shown);
}

}  // namespace forms
