#pragma once
// Editing a control's text as a user does: at the caret or over a selection,
// a whole character at a time, within the control's typing limit.
//
// Texts are UTF-8; positions are byte offsets that stand on character
// boundaries. MaxLength counts characters (a line end "\r\n" counts two,
// as it takes two in the stored text), but the caret steps over a line end as one.
#include <cstddef>
#include <string>
#include <string_view>

namespace forms {

// Where an edit lands: the caret (length 0), or the selected bytes it replaces.
struct TextSelection {
    size_t start = 0;
    size_t length = 0;
    bool operator==(const TextSelection&) const = default;
};

size_t characterCount(std::string_view text);
// The end of the UTF-8 character that starts at `pos` (a byte of ASCII, or a whole sequence).
size_t characterEnd(std::string_view text, size_t pos);
// Where the caret goes from `pos` on Backspace and on Delete: the start of
// the character before it, the end of the one after it.
size_t previousCharacterStart(std::string_view text, size_t pos);
size_t nextCharacterEnd(std::string_view text, size_t pos);
// The selection inside the text, its ends moved back onto character boundaries.
TextSelection clampSelection(TextSelection at, std::string_view text);

struct TextEdit {
    std::string text;
    size_t caret;  // after what was inserted
};

// Replaces the selection with `inserted`, keeping of it only as many
// characters as the typing limit (`maxLength`, 0 for none) leaves room for.
// Text that stays is never cut; a text already beyond the limit (the program
// may write one) takes no more characters than it gives up.
TextEdit replaceSelection(std::string_view text, TextSelection at, std::string_view inserted, int maxLength);

// The one replacement that turns `before` into `after`, as a native field's
// edit (paste, cut, drop, undo) makes it: the selection of `before` it
// replaced, and what it put there (a view into `after`).
struct TextReplacement {
    TextSelection replaced;
    std::string_view inserted;
};
TextReplacement replacementBetween(std::string_view before, std::string_view after);

}  // namespace forms
