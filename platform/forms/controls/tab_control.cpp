#include "platform/forms/controls/tab_control.h"

#include "platform/forms/error.h"

namespace forms {

TabControl::TabControl(Form& form, std::string name, int index, int tabs)
    : Control(form, ControlKind::TabControl, std::move(name), index) {
    setTabs(tabs);
}

void TabControl::setTabs(int count) {
    if (count < 1) throw errors::invalidPropertyValue();
    tabs_.resize(static_cast<size_t>(count));
    if (current_ >= count) current_ = count - 1;
    changed(Property::Tabs);
}

const TabControl::Tab& TabControl::at(int tab) const {
    if (tab < 0 || tab >= tabs()) throw errors::invalidPropertyValue();
    return tabs_[static_cast<size_t>(tab)];
}

const std::string& TabControl::tabCaption(int tab) const { return at(tab).caption; }

void TabControl::setTabCaption(int tab, std::string caption) {
    at(tab);
    tabs_[static_cast<size_t>(tab)].caption = std::move(caption);
    changed(Property::Tabs);
}

bool TabControl::tabEnabled(int tab) const { return at(tab).enabled; }

void TabControl::setTabEnabled(int tab, bool on) {
    at(tab);
    tabs_[static_cast<size_t>(tab)].enabled = on;
    changed(Property::Tabs);
}

void TabControl::setTab(int tab) {
    at(tab);
    if (tab == current_) return;
    const int previous = current_;
    current_ = tab;
    changed(Property::CurrentTab);
    if (onTabClick) onTabClick(previous);
}

}  // namespace forms
