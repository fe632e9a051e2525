#pragma once
// What a user does to the windows, as one API for tests and for the Qt front
// end alike. Every event runs through the runtime here, in the order the
// handlers expect (LostFocus before Click, ...), so both see the same behaviour.
//
// Each call returns whether the action reached the control: a control that is
// effectively disabled or hidden, or a form that does not take input now
// (not shown, disabled, below a modal form), takes nothing and raises nothing.
//
// - click: a control that can take the focus gets it first (LostFocus of the
//   control that had it, GotFocus), then Click; when a LostFocus handler sent
//   the focus elsewhere the click is lost, as the button never got the focus.
//   A check box toggles, an option button is set; a menu item is clicked
//   without any focus change. A click on a combo or tab control only focuses
//   it (their clicks belong to picking an item or a tab).
// - doubleClick: the first click as above, then DblClick; buttons, check
//   boxes and option buttons take the second click as another click.
// - typeText: focus, then per character KeyDown, KeyPress (the handler may
//   discard it with 0 or change it), and unless discarded the character is
//   added at the end of the text (Change). Typing into a locked control or
//   beyond its MaxLength changes nothing. "\b" is Backspace: it removes the
//   last whole character. A character outside ASCII has no KeyAscii here: it
//   is typed without key events.
// - typeTextAt: the same at a caret or over a selection, as a native field
//   types: each character replaces the selection (one Change) and the
//   selection becomes the caret after it; Backspace removes the selection or
//   the character before the caret. When a handler rewrites the text, the
//   caret goes to the end of the new text.
// - pressKey: focus, then Enter clicks the form's default button and Escape
//   its cancel button (no key events, no focus change) unless the focused
//   control is itself a button; Tab moves to the next control in tab order;
//   other keys raise KeyDown and, for keys that type a character, KeyPress.
//   The space bar ticks a check box or sets an option button as a click does,
//   after its key events. The result tells whether a handler discarded the key.
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/controls/data_control.h"
#include "platform/forms/text_editing.h"
#include "platform/vb/date_time.h"

namespace forms {

class Control;
class ActiveXControl;
class ComboBox;
class TabControl;
class Grid;
class Calendar;
class ScrollBar;
class Form;
class TextControl;

namespace user {

// What became of a pressed key.
struct KeyResult {
    bool reached = false;    // the control took the key
    bool discarded = false;  // KeyDown set KeyCode to 0, or KeyPress set KeyAscii to 0
    explicit operator bool() const { return reached; }
};

bool click(Control& control);
bool doubleClick(Control& control);
bool setFocus(Control& control);
bool typeText(TextControl& control, std::string_view text);
bool typeTextAt(TextControl& control, std::string_view text, TextSelection& at);
KeyResult pressKey(Control& control, int keyCode, int shift = 0);
// Replaces the whole text, as a native edit field reports a user's edit
// (paste, cut, drop): Change and the changed flag, no key events. Locked
// applies; MaxLength cuts only what the edit inserted (text that stays is
// never lost).
bool editText(TextControl& control, std::string text);
// Picks an item of the list (focus, text, Click).
bool selectComboItem(ComboBox& combo, int index);
bool selectComboItem(ComboBox& combo, std::string_view item);
bool selectTab(TabControl& tabs, int tab);
// Clicks a row of a bound grid: moves its Data control there (Validate with
// vbDataActionBookmark, then Reposition) and raises RowColChange.
bool selectGridRow(Grid& grid, int row);
bool selectGridCell(Grid& grid, int row, int col);
bool doubleClickGridRow(Grid& grid, int row);
bool pickCalendarDate(Calendar& calendar, vb::DateTime date);
// Moves the bar to `value` (kept within its range); Change when the value changed.
bool scrollTo(ScrollBar& bar, int value);
bool clickDataArrow(DataControl& data, DataControl::Arrow arrow);

// The face of an ActiveX control (controls/activex_control.h), in pixels of
// the face; a control without a face takes none of these. A press (Down, and
// the second press of a double click) takes the focus first as a click does,
// and is lost when a LostFocus handler sends the focus elsewhere; moves,
// releases and the wheel go straight to the object. DoubleClick stands for
// the second press: the object gets MouseDown, then DoubleClick.
enum class MouseAction { Down, Move, Up, DoubleClick };
bool mouseOnFace(ActiveXControl& control, MouseAction action, int button, int shift, int x, int y);
// `delta` in wheel units, 120 a step, positive away from the user.
bool wheelOnFace(ActiveXControl& control, int delta, int shift, int x, int y);
// A key pressed on the face: the focus first; Tab, and Enter or Escape when
// the form has a default or cancel button, work as on any control (pressKey);
// every other key reaches the object as KeyDown and, when it types
// `character` (a UTF-16 unit, 0 for none), KeyPress.
KeyResult keyDownOnFace(ActiveXControl& control, int keyCode, int shift, char16_t character = 0);
bool keyUpOnFace(ActiveXControl& control, int keyCode, int shift);
// Files dropped on the face (UTF-8 paths); refused unless the control takes dropped files.
bool dropFilesOnFace(ActiveXControl& control, const std::vector<std::string>& paths, int x, int y);

// Makes another window the active one (the user clicks it).
bool activateForm(Form& form);
// The title bar's close box: QueryUnload (vbFormControlMenu), then Unload.
// Refused when the form's close box is disabled.
bool closeForm(Form& form);

}  // namespace user
}  // namespace forms
