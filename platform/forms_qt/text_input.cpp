#include "platform/forms_qt/text_input.h"

#include <algorithm>
#include <string>

#include "platform/forms/controls/text_control.h"
#include "platform/forms/keys.h"
#include "platform/forms/user_input.h"

namespace forms_qt {

namespace {

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

size_t previousCharacterStart(const std::string& text, size_t pos) {
    if (pos == 0) return 0;
    --pos;
    while (pos > 0 && isContinuationByte(text[pos])) --pos;
    return pos;
}

size_t nextCharacterEnd(const std::string& text, size_t pos) {
    if (pos >= text.size()) return text.size();
    ++pos;
    while (pos < text.size() && isContinuationByte(text[pos])) ++pos;
    return pos;
}

TextSelection clamp(TextSelection at, const std::string& text) {
    at.start = std::min(at.start, text.size());
    at.length = std::min(at.length, text.size() - at.start);
    return at;
}

std::string replaced(const std::string& text, TextSelection at, std::string_view with) {
    return text.substr(0, at.start) + std::string(with) + text.substr(at.start + at.length);
}

bool fits(const forms::TextControl& control, const std::string& text, const std::string& before) {
    const size_t limit = static_cast<size_t>(control.maxLength());
    return limit == 0 || text.size() <= limit || text.size() <= before.size();
}

// The field's own edit, as one whole-text edit. Returns the caret.
size_t applyFieldEdit(forms::TextControl& control, const std::string& before, const std::string& edited,
                      size_t caret) {
    if (edited == before) return caret;
    if (!fits(control, edited, before)) return before.size();
    forms::user::editText(control, edited);
    return control.text() == edited ? caret : control.text().size();
}

bool hasKeyHandlers(const forms::TextControl& control) {
    return static_cast<bool>(control.onKeyDown) || static_cast<bool>(control.onKeyPress);
}

}  // namespace

size_t typeCharacter(forms::TextControl& control, std::string_view character, TextSelection at) {
    const std::string before = control.text();
    at = clamp(at, before);
    const bool hasKeyAscii = character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x80;
    const bool atEnd = at.length == 0 && at.start == before.size();
    if (hasKeyAscii && atEnd) {
        forms::user::typeText(control, character);
        return control.text().size();
    }
    if (!hasKeyAscii || !hasKeyHandlers(control))
        return applyFieldEdit(control, before, replaced(before, at, character), at.start + character.size());

    forms::user::typeText(control, character);
    const std::string after = control.text();
    const bool appended = after.size() == before.size() + 1 && after.compare(0, before.size(), before) == 0;
    if (!appended) return after.size();  // discarded, refused, or a handler rewrote the text
    const std::string typed = after.substr(before.size());
    const std::string edited = replaced(before, at, typed);
    if (edited != after) forms::user::editText(control, edited);
    return control.text() == edited ? at.start + typed.size() : control.text().size();
}

size_t pressBackspace(forms::TextControl& control, TextSelection at) {
    const std::string before = control.text();
    at = clamp(at, before);
    if (at.length == 0) {
        const size_t from = previousCharacterStart(before, at.start);
        at = {from, at.start - from};
    }
    const std::string edited = replaced(before, at, "");
    const bool lastAsciiCharacter = at.length == 1 && at.start + 1 == before.size();
    if (lastAsciiCharacter || (before.empty() && hasKeyHandlers(control))) {
        forms::user::pressKey(control, forms::vbKeyBack);
        return control.text().size();
    }
    if (!hasKeyHandlers(control)) return applyFieldEdit(control, before, edited, at.start);

    forms::user::pressKey(control, forms::vbKeyBack);
    const std::string runtimeEdit = before.empty() ? before : before.substr(0, before.size() - 1);
    if (control.text() != runtimeEdit) return control.text().size();  // discarded, or a handler rewrote it
    if (edited != runtimeEdit) forms::user::editText(control, edited);
    return control.text() == edited ? at.start : control.text().size();
}

size_t pressDelete(forms::TextControl& control, TextSelection at) {
    const std::string before = control.text();
    at = clamp(at, before);
    if (at.length == 0) at.length = nextCharacterEnd(before, at.start) - at.start;
    const std::string edited = replaced(before, at, "");
    if (!control.onKeyDown) return applyFieldEdit(control, before, edited, at.start);  // no KeyPress for Delete
    forms::user::pressKey(control, forms::vbKeyDelete);
    return control.text() == before ? at.start : control.text().size();
}

}  // namespace forms_qt
