#include "platform/forms_qt/text_input.h"

#include <string>

#include "platform/forms/controls/text_control.h"
#include "platform/forms/keys.h"
#include "platform/forms/user_input.h"

namespace forms_qt {

size_t typeCharacter(forms::TextControl& control, std::string_view character, forms::TextSelection at) {
    forms::user::typeTextAt(control, character, at);
    return at.start;
}

size_t pressBackspace(forms::TextControl& control, forms::TextSelection at) { return typeCharacter(control, "\b", at); }

size_t pressDelete(forms::TextControl& control, forms::TextSelection at) {
    const std::string before = control.text();
    at = forms::clampSelection(at, before);
    const forms::user::KeyResult key = forms::user::pressKey(control, forms::vbKeyDelete);
    if (!key.reached || key.discarded) return at.start;
    if (control.text() != before) return control.text().size();  // the handler rewrote the text
    if (at.length == 0) at.length = forms::nextCharacterEnd(before, at.start) - at.start;
    const std::string edited = forms::replaceSelection(before, at, "", 0).text;
    if (edited != before) forms::user::editText(control, edited);
    return control.text() == edited ? at.start : control.text().size();
}

}  // namespace forms_qt
