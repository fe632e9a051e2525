#include "platform/forms/controls/combo_box.h"

#include <algorithm>

#include "platform/forms/error.h"

namespace forms {

ComboBox::ComboBox(Form& form, ControlKind kind, std::string name, int index)
    : TextControl(form, kind, std::move(name), index) {
    setBackColor(vbWindowBackground);
    setForeColor(vbWindowText);
}

void ComboBox::setText(std::string text) {
    if (style_ != vbComboDropdownList) {
        TextControl::setText(std::move(text));
        return;
    }
    if (text.empty()) {
        setListIndex(-1);
        return;
    }
    const int at = find(text);
    if (at < 0) throw errors::propertyReadOnly();
    setListIndex(at);
}

void ComboBox::setStyle(int style) {
    if (style != vbComboDropdown && style != vbComboSimple && style != vbComboDropdownList)
        throw errors::invalidPropertyValue();
    style_ = style;
    changed(Property::Style);
}

void ComboBox::addItem(std::string item, int at) {
    if (at < -1 || at > listCount()) throw errors::invalidPropertyValue();
    if (at == -1) at = listCount();
    items_.insert(items_.begin() + at, std::move(item));
    if (listIndex_ >= at) ++listIndex_;
    changed(Property::List);
}

void ComboBox::removeItem(int at) {
    if (at < 0 || at >= listCount()) throw errors::invalidPropertyValue();
    items_.erase(items_.begin() + at);
    if (listIndex_ == at) listIndex_ = -1;
    else if (listIndex_ > at) --listIndex_;
    changed(Property::List);
}

void ComboBox::clear() {
    items_.clear();
    listIndex_ = -1;
    changed(Property::List);
    if (style_ == vbComboDropdownList) storeText("", false);
}

const std::string& ComboBox::list(int at) const {
    if (at < 0 || at >= listCount()) throw errors::invalidPropertyValue();
    return items_[static_cast<size_t>(at)];
}

void ComboBox::setListIndex(int at) {
    if (at < -1 || at >= listCount()) throw errors::invalidPropertyValue();
    picking_ = true;
    listIndex_ = at;
    changed(Property::ListIndex);
    try {
        storeText(at >= 0 ? items_[static_cast<size_t>(at)] : std::string(), changeOnPick());
    } catch (...) {
        picking_ = false;
        throw;
    }
    picking_ = false;
    fire(onClick);
}

void ComboBox::afterTextChange() {
    if (picking_) return;
    const int at = find(text());
    if (at == listIndex_) return;
    listIndex_ = at;
    changed(Property::ListIndex);
}

void ComboBox::replaceItems(std::vector<std::string> items) {
    items_ = std::move(items);
    listIndex_ = find(text());
    changed(Property::List);
}

int ComboBox::find(const std::string& text) const {
    const auto it = std::find(items_.begin(), items_.end(), text);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

}  // namespace forms
