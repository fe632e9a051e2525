#include "platform/forms/user_input.h"

#include "platform/forms/application.h"
#include "platform/forms/control.h"
#include "platform/forms/controls/calendar.h"
#include "platform/forms/controls/check_box.h"
#include "platform/forms/controls/combo_box.h"
#include "platform/forms/controls/command_button.h"
#include "platform/forms/controls/grid.h"
#include "platform/forms/controls/option_button.h"
#include "platform/forms/controls/tab_control.h"
#include "platform/forms/form.h"
#include "platform/forms/keys.h"

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

// Applies a typed character that passed KeyDown and KeyPress to a text control.
void applyCharacter(Control& c, int ascii) {
    auto* text = dynamic_cast<TextControl*>(&c);
    if (!text || text->locked() || ascii == vbKeyReturn || ascii == vbKeyEscape) return;
    if (auto* combo = dynamic_cast<ComboBox*>(text); combo && combo->style() == vbComboDropdownList) return;
    std::string now = text->text();
    if (ascii == vbKeyBack) {
        if (now.empty()) return;
        now.pop_back();
    } else {
        if (text->maxLength() > 0 && static_cast<int>(now.size()) >= text->maxLength()) return;
        now.push_back(static_cast<char>(ascii));
    }
    text->setText(std::move(now));
}

// KeyDown, then KeyPress for keys that type a character, then the character itself.
void keyEvents(Control& c, int keyCode, int shift, int ascii) {
    int code = keyCode;
    if (c.onKeyDown) c.onKeyDown(code, shift);
    if (code == 0 || ascii == 0) return;
    if (c.onKeyPress) c.onKeyPress(ascii);
    if (ascii == 0) return;
    applyCharacter(c, ascii);
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
    for (char ch : text) {
        if (!control.hasFocus()) break;  // a handler moved the focus away
        if (ch == '\r' || ch == '\n') {
            pressKey(control, vbKeyReturn);
            continue;
        }
        keyEvents(control, keyCodeOfChar(ch), 0, static_cast<unsigned char>(ch));
    }
    return true;
}

bool pressKey(Control& control, int keyCode, int shift) {
    if (!reachable(control) || !takeFocus(control)) return false;
    Form& form = control.form();
    const bool onButton = control.kind() == ControlKind::CommandButton;
    if (keyCode == vbKeyReturn && !onButton && form.defaultButton()) return clickButton(form.defaultButton());
    if (keyCode == vbKeyEscape && form.cancelButton()) return clickButton(form.cancelButton());
    if (onButton && (keyCode == vbKeyReturn || keyCode == vbKeySpace)) {
        Control::fire(control.onClick);
        return true;
    }
    if (keyCode == vbKeyTab) {
        if (Control* next = form.nextInTabOrder(&control)) form.moveFocus(next);
        return true;
    }
    keyEvents(control, keyCode, shift, typesCharacter(keyCode) ? characterOf(keyCode, shift) : 0);
    return true;
}

bool editText(TextControl& control, std::string text) {
    if (!reachable(control) || control.locked() || !takeFocus(control)) return false;
    if (control.maxLength() > 0 && static_cast<int>(text.size()) > control.maxLength())
        text.resize(static_cast<size_t>(control.maxLength()));
    control.setText(std::move(text));
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
