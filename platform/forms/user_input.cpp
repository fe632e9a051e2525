#include "platform/forms/user_input.h"

#include <algorithm>

#include "platform/forms/application.h"
#include "platform/forms/control.h"
#include "platform/forms/controls/activex_control.h"
#include "platform/forms/controls/calendar.h"
#include "platform/forms/controls/check_box.h"
#include "platform/forms/controls/combo_box.h"
#include "platform/forms/controls/command_button.h"
#include "platform/forms/controls/grid.h"
#include "platform/forms/controls/option_button.h"
#include "platform/forms/controls/scroll_bar.h"
#include "platform/forms/controls/tab_control.h"
#include "platform/forms/form.h"
#include "platform/forms/keys.h"
#include "platform/win/text_encoding.h"

namespace forms::user {

namespace {

bool reachable(const Control& c) { return app().acceptsInput(c.form()) && c.effectiveEnabled() && c.effectiveVisible(); }

// The user's action lands on a form: it becomes the active one.
void bringForward(Control& c) {
    Form& form = c.form();
    Form* active = app().activeForm();
    if (active == &form) return;
    if (form.isMdiForm() && active && active->mdiParent() == &form) return;  // the frame of the active child
    app().activate(&form);
}

// Gives the focus for a user's action. False when the control did not end up with it.
bool takeFocus(Control& c) {
    bringForward(c);
    if (!c.canTakeFocus()) return true;
    return c.form().moveFocus(&c) && c.hasFocus();
}

bool typesCharacter(int keyCode) {
    return keyCode == vbKeyBack || keyCode == vbKeyReturn || keyCode == vbKeyEscape || keyCode == vbKeySpace ||
           (keyCode >= vbKey0 && keyCode <= vbKey0 + 9) || (keyCode >= vbKeyA && keyCode <= vbKeyA + 25);
}

char characterOf(int keyCode, int shift) {
    if (keyCode >= vbKeyA && keyCode <= vbKeyA + 25)
        return static_cast<char>((shift & vbShiftMask) ? keyCode : keyCode - vbKeyA + 'a');
    return static_cast<char>(keyCode);
}

// The text a KeyAscii types: ASCII as it is; a code a handler put above ASCII
// as the Latin-1 character of that code; none for anything beyond.
std::string typedText(int ascii) {
    if (ascii > 0 && ascii < 0x80) return std::string(1, static_cast<char>(ascii));
    if (ascii >= 0x80 && ascii <= 0xFF)
        return {static_cast<char>(0xC0 | (ascii >> 6)), static_cast<char>(0x80 | (ascii & 0x3F))};
    return {};
}

bool takesTyping(const Control& c) {
    auto* text = dynamic_cast<const TextControl*>(&c);
    if (!text || text->locked()) return false;
    auto* combo = dynamic_cast<const ComboBox*>(text);
    return !combo || combo->style() != vbComboDropdownList;
}

// A typed character (or Backspace) that passed the key events lands at `at`,
// which becomes the caret after it.
void applyCharacter(Control& c, std::string_view character, TextSelection& at) {
    if (character.empty() || character == "\r" || character == "\x1b" || !takesTyping(c)) return;
    auto& control = static_cast<TextControl&>(c);
    const std::string& now = control.text();
    at = clampSelection(at, now);
    if (character == "\b" && at.length == 0) {
        const size_t from = previousCharacterStart(now, at.start);
        at = {from, at.start - from};
    }
    TextEdit edit = replaceSelection(now, at, character == "\b" ? "" : character, control.maxLength());
    at = {edit.caret, 0};
    control.setText(edit.text);
    if (control.text() != edit.text) at = {control.text().size(), 0};  // a Change handler rewrote it
}

// KeyDown, then KeyPress for keys that type a character, then the character
// itself at `at`. True when a handler discarded the key.
bool keyEvents(Control& c, int keyCode, int shift, int ascii, TextSelection& at) {
    const auto* text = dynamic_cast<const TextControl*>(&c);
    const std::string before = text ? text->text() : std::string();
    int code = keyCode;
    if (c.onKeyDown) c.onKeyDown(code, shift);
    if (code == 0) return true;
    if (ascii == 0) return false;
    if (c.onKeyPress) c.onKeyPress(ascii);
    if (ascii == 0) return true;
    if (text && text->text() != before) at = {text->text().size(), 0};  // a handler rewrote the text
    applyCharacter(c, typedText(ascii), at);
    return false;
}

// The end of a text control's text, where the runtime's own typing lands.
TextSelection endOfText(const Control& c) {
    const auto* text = dynamic_cast<const TextControl*>(&c);
    return {text ? text->text().size() : 0, 0};
}

// One character of typed text, at `at`. A character outside ASCII has no
// KeyAscii: it is typed without key events.
void typeCharacter(TextControl& control, std::string_view character, TextSelection& at) {
    if (character == "\r" || character == "\n") {
        pressKey(control, vbKeyReturn);
        return;
    }
    const unsigned char first = static_cast<unsigned char>(character[0]);
    if (first < 0x80) keyEvents(control, keyCodeOfChar(character[0]), 0, first, at);
    else applyCharacter(control, character, at);
}

// Calls `each` with every character of the text: a byte of ASCII, or a whole UTF-8 sequence.
template <class Each>
void forEachCharacter(std::string_view text, Each each) {
    for (size_t pos = 0; pos < text.size();) {
        const size_t end = characterEnd(text, pos);
        each(text.substr(pos, end - pos));
        pos = end;
    }
}

bool clickButton(CommandButton* button) {
    if (!button || !reachable(*button)) return false;
    Control::fire(button->onClick);
    return true;
}

}  // namespace

namespace {

// One click as the control takes it, after the focus reached it.
void clickEvents(Control& control) {
    switch (control.kind()) {
        case ControlKind::CheckBox: {
            auto& box = static_cast<CheckBox&>(control);
            box.setValue(box.value() == vbUnchecked ? vbChecked : vbUnchecked);
            break;
        }
        case ControlKind::OptionButton:
            static_cast<OptionButton&>(control).setValue(true);
            break;
        case ControlKind::ComboBox:
        case ControlKind::DataCombo:
        case ControlKind::TabControl:
            break;  // their Click belongs to picking an item or a tab
        default:
            Control::fire(control.onClick);
    }
}

bool isButtonLike(const Control& control) {
    return control.kind() == ControlKind::CommandButton || control.kind() == ControlKind::CheckBox ||
           control.kind() == ControlKind::OptionButton;
}

}  // namespace

bool click(Control& control) {
    if (!reachable(control)) return false;
    if (control.kind() == ControlKind::Menu) {
        bringForward(control);
        Control::fire(control.onClick);
        return true;
    }
    if (!takeFocus(control)) return false;
    clickEvents(control);
    return true;
}

bool doubleClick(Control& control) {
    if (!click(control)) return false;
    if (!reachable(control)) return true;  // the first click closed or disabled it
    if (isButtonLike(control)) clickEvents(control);  // buttons take the second click as a click
    else Control::fire(control.onDblClick);
    return true;
}

bool setFocus(Control& control) {
    if (!reachable(control) || !control.canTakeFocus()) return false;
    return takeFocus(control);
}

bool typeText(TextControl& control, std::string_view text) {
    if (!reachable(control) || !takeFocus(control)) return false;
    forEachCharacter(text, [&](std::string_view character) {
        if (!control.hasFocus()) return;  // a handler moved the focus away
        TextSelection atEnd = endOfText(control);
        typeCharacter(control, character, atEnd);
    });
    return true;
}

bool typeTextAt(TextControl& control, std::string_view text, TextSelection& at) {
    if (!reachable(control) || !takeFocus(control)) return false;
    forEachCharacter(text, [&](std::string_view character) {
        if (control.hasFocus()) typeCharacter(control, character, at);
    });
    at = clampSelection(at, control.text());
    return true;
}

KeyResult pressKey(Control& control, int keyCode, int shift) {
    if (!reachable(control) || !takeFocus(control)) return {};
    Form& form = control.form();
    const bool onButton = control.kind() == ControlKind::CommandButton;
    if (keyCode == vbKeyReturn && !onButton && form.defaultButton()) return {clickButton(form.defaultButton())};
    if (keyCode == vbKeyEscape && form.cancelButton()) return {clickButton(form.cancelButton())};
    if (onButton && (keyCode == vbKeyReturn || keyCode == vbKeySpace)) {
        Control::fire(control.onClick);
        return {true};
    }
    if (keyCode == vbKeyTab) {
        if (Control* next = form.nextInTabOrder(&control)) form.moveFocus(next);
        return {true};
    }
    TextSelection at = endOfText(control);
    const bool discarded =
        keyEvents(control, keyCode, shift, typesCharacter(keyCode) ? characterOf(keyCode, shift) : 0, at);
    // The space bar ticks a box as a click does, once its key events let it through.
    const bool ticks = control.kind() == ControlKind::CheckBox || control.kind() == ControlKind::OptionButton;
    if (keyCode == vbKeySpace && ticks && !discarded && reachable(control) && control.hasFocus())
        clickEvents(control);
    return {true, discarded};
}

bool editText(TextControl& control, std::string text) {
    if (!reachable(control) || control.locked() || !takeFocus(control)) return false;
    const std::string& before = control.text();
    const TextReplacement edit = replacementBetween(before, text);
    control.setText(replaceSelection(before, edit.replaced, edit.inserted, control.maxLength()).text);
    return true;
}

bool selectComboItem(ComboBox& combo, int index) {
    if (!reachable(combo) || combo.locked() || index < 0 || index >= combo.listCount()) return false;
    if (!takeFocus(combo)) return false;
    combo.setListIndex(index);
    return true;
}

bool selectComboItem(ComboBox& combo, std::string_view item) {
    for (int i = 0; i < combo.listCount(); ++i)
        if (combo.list(i) == item) return selectComboItem(combo, i);
    return false;
}

bool selectTab(TabControl& tabs, int tab) {
    if (!reachable(tabs) || tab < 0 || tab >= tabs.tabs() || !tabs.tabEnabled(tab)) return false;
    if (!takeFocus(tabs)) return false;
    tabs.setTab(tab);
    return true;
}

bool selectGridRow(Grid& grid, int row) {
    if (!reachable(grid) || !grid.dataSource() || row < 0 || row >= grid.rowCount()) return false;
    if (!takeFocus(grid)) return false;
    if (row != grid.row()) grid.dataSource()->userMoveToPosition(row);
    if (reachable(grid)) Control::fire(grid.onClick);
    return true;
}

bool selectGridCell(Grid& grid, int row, int col) {
    if (col < 0 || col >= grid.columnCount() || !selectGridRow(grid, row)) return false;
    grid.setCol(col);
    return true;
}

bool doubleClickGridRow(Grid& grid, int row) {
    if (!selectGridRow(grid, row)) return false;
    Control::fire(grid.onDblClick);
    return true;
}

bool pickCalendarDate(Calendar& calendar, vb::DateTime date) {
    if (!reachable(calendar) || !takeFocus(calendar)) return false;
    calendar.setValue(date);
    Control::fire(calendar.onClick);
    return true;
}

bool scrollTo(ScrollBar& bar, int value) {
    if (!reachable(bar) || !takeFocus(bar)) return false;
    const int before = bar.value();
    bar.setValue(std::clamp(value, bar.min(), bar.max()));
    if (bar.value() != before) Control::fire(bar.onChange);
    return true;
}

namespace {

// The object's face, held for the call: a handler it raises may let the object go.
class HeldFace {
public:
    explicit HeldFace(com::IControlSurface* face) : face_(face) {
        if (face_) face_->AddRef();
    }
    ~HeldFace() {
        if (face_) face_->Release();
    }
    HeldFace(const HeldFace&) = delete;
    HeldFace& operator=(const HeldFace&) = delete;
    com::IControlSurface* operator->() const { return face_; }

private:
    com::IControlSurface* face_;
};

bool faceReachable(const ActiveXControl& control) { return control.hasFace() && reachable(control); }

}  // namespace

bool mouseOnFace(ActiveXControl& control, MouseAction action, int button, int shift, int x, int y) {
    if (!faceReachable(control)) return false;
    const bool press = action == MouseAction::Down || action == MouseAction::DoubleClick;
    if (press && !takeFocus(control)) return false;
    if (!control.hasFace()) return true;  // a focus handler let the object go
    HeldFace face(control.surface());
    switch (action) {
        case MouseAction::Down: face->MouseDown(button, shift, x, y); break;
        case MouseAction::Move: face->MouseMove(button, shift, x, y); break;
        case MouseAction::Up: face->MouseUp(button, shift, x, y); break;
        case MouseAction::DoubleClick:
            face->MouseDown(button, shift, x, y);
            face->DoubleClick(button, shift, x, y);
            break;
    }
    return true;
}

bool wheelOnFace(ActiveXControl& control, int delta, int shift, int x, int y) {
    if (!faceReachable(control)) return false;
    HeldFace(control.surface())->MouseWheel(delta, shift, x, y);
    return true;
}

KeyResult keyDownOnFace(ActiveXControl& control, int keyCode, int shift, char16_t character) {
    if (!faceReachable(control) || !takeFocus(control)) return {};
    const Form& form = control.form();
    if (keyCode == vbKeyTab || (keyCode == vbKeyReturn && form.defaultButton()) ||
        (keyCode == vbKeyEscape && form.cancelButton()))
        return pressKey(control, keyCode, shift);
    if (!control.hasFace()) return {true};
    HeldFace face(control.surface());
    face->KeyDown(keyCode, shift);
    if (character != 0) face->KeyPress(character);
    return {true};
}

bool keyUpOnFace(ActiveXControl& control, int keyCode, int shift) {
    if (!faceReachable(control)) return false;
    HeldFace(control.surface())->KeyUp(keyCode, shift);
    return true;
}

bool dropFilesOnFace(ActiveXControl& control, const std::vector<std::string>& paths, int x, int y) {
    if (!faceReachable(control) || !control.acceptsFiles() || paths.empty()) return false;
    bringForward(control);
    std::vector<std::u16string> texts;
    texts.reserve(paths.size());
    for (const std::string& path : paths) texts.push_back(win::Utf8ToUtf16(path));
    std::vector<const com::OLECHAR*> list;
    for (const std::u16string& text : texts) list.push_back(text.c_str());
    HeldFace(control.surface())->FilesDropped(list.data(), static_cast<uint32_t>(list.size()), x, y);
    return true;
}

bool clickDataArrow(DataControl& data, DataControl::Arrow arrow) {
    if (!reachable(data)) return false;
    bringForward(data);
    data.userArrow(arrow);
    return true;
}

bool activateForm(Form& form) {
    if (!app().acceptsInput(form)) return false;
    app().activate(&form);
    return true;
}

bool closeForm(Form& form) {
    if (!app().acceptsInput(form) || !form.closeBoxEnabled()) return false;
    form.unload(vbFormControlMenu);
    return true;
}

}  // namespace forms::user
