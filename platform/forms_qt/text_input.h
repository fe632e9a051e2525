#pragma once
// Typing into a text box or an editable combo at the caret, as the runtime
// takes it.
//
// - A character or Backspace goes through the runtime's typing at the caret
//   (user::typeTextAt): KeyDown and KeyPress see the text as it stands and
//   may discard or change the key; what passes them replaces the selection
//   with one Change. MaxLength and Locked apply.
// - Delete raises KeyDown only (user::pressKey); unless a handler discarded
//   the key or rewrote the text, the selection or the character after the
//   caret goes as a whole-text edit (user::editText).
//
// Positions are byte offsets into the control's text (UTF-8). Each function
// returns where the caret stands afterwards.
#include <cstddef>
#include <string_view>

#include "platform/forms/text_editing.h"

namespace forms {
class TextControl;
}

namespace forms_qt {

size_t typeCharacter(forms::TextControl& control, std::string_view character, forms::TextSelection at);
size_t pressBackspace(forms::TextControl& control, forms::TextSelection at);
size_t pressDelete(forms::TextControl& control, forms::TextSelection at);

}  // namespace forms_qt
