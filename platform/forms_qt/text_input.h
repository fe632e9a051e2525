#pragma once
// Typing into a text box or an editable combo at the caret, as the runtime
// takes it.
//
// The runtime's typing (user::typeText, user::pressKey) raises the key events
// and then edits the end of the text; a native field also types in the
// middle and over a selection. So:
// - at the end of the text, with nothing selected, the key goes through the
//   runtime's typing as it is;
// - elsewhere, a control without key handlers takes the field's edit as a
//   whole-text edit (user::editText): no handler could have discarded the key;
// - a control with key handlers gets the key through the runtime's typing
//   first, so KeyDown and KeyPress see the text as it stands and may discard
//   or change the key; when the runtime took it, the edit is moved to the
//   caret with a whole-text edit (Change is raised for both steps);
// - Delete raises KeyDown only; a KeyDown handler may have discarded it and
//   the runtime cannot say, so a control with one is left as its handler left it;
// - a character outside ASCII has no KeyAscii in the runtime: it is a
//   whole-text edit without key events.
// MaxLength and Locked apply throughout.
//
// Positions are byte offsets into the control's text (UTF-8). Each function
// returns where the caret stands afterwards.
#include <cstddef>
#include <string_view>

namespace forms {
class TextControl;
}

namespace forms_qt {

struct TextSelection {
    size_t start = 0;   // the caret, or the start of the selected text
    size_t length = 0;  // the bytes selected
};

size_t typeCharacter(forms::TextControl& control, std::string_view character, TextSelection at);
size_t pressBackspace(forms::TextControl& control, TextSelection at);
size_t pressDelete(forms::TextControl& control, TextSelection at);

}  // namespace forms_qt
