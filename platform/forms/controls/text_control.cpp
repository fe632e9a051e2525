#include "platform/forms/controls/text_control.h"

#include "platform/forms/error.h"

namespace forms {

TextControl::TextControl(Form& form, ControlKind kind, std::string name, int index)
    : Control(form, kind, std::move(name), index) {}

void TextControl::setText(std::string text) { storeText(std::move(text), true); }

void TextControl::storeText(std::string text, bool raiseChange) {
    if (text == text_) return;
    text_ = std::move(text);
    changed(Property::Text);
    afterTextChange();
    noteValueChanged();
    if (raiseChange) fire(onChange);
}

void TextControl::setMaxLength(int n) {
    if (n < 0) throw errors::invalidPropertyValue();
    maxLength_ = n;
    changed(Property::MaxLength);
}

void TextControl::setLocked(bool on) { assign(locked_, on, Property::Locked); }

}  // namespace forms
