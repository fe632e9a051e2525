#include "platform/forms/control.h"

#include "platform/forms/controls/tab_control.h"
#include "platform/forms/error.h"
#include "platform/forms/form.h"

namespace forms {

Control::Control(Form& form, ControlKind kind, std::string name, int index)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index) {
    tabIndex_ = static_cast<int>(form.controls().size());
    form_.registerControl(*this);
}

Control::~Control() { form_.unregisterControl(*this); }

std::string Control::displayName() const {
    return index_ < 0 ? name_ : name_ + "(" + std::to_string(index_) + ")";
}

void Control::setContainer(Control& container, int tab) {
    if (&container.form() != &form_ || !container.isContainer() || &container == this) throw errors::invalidPropertyValue();
    const bool isTabs = container.kind() == ControlKind::TabControl;
    if (isTabs != (tab >= 0)) throw errors::invalidPropertyValue();
    if (isTabs && tab >= static_cast<TabControl&>(container).tabs()) throw errors::invalidPropertyValue();
    container_ = &container;
    containerTab_ = tab;
    changed(Property::Container);
}

void Control::setEnabled(bool on) { assign(enabled_, on, Property::Enabled); }

void Control::setVisible(bool on) { assign(visible_, on, Property::Visible); }

bool Control::effectiveEnabled() const {
    for (const Control* c = this; c; c = c->container_)
        if (!c->enabled_) return false;
    return true;
}

bool Control::effectiveVisible() const {
    for (const Control* c = this; c; c = c->container_) {
        if (!c->visible_) return false;
        const Control* holder = c->container_;
        if (holder && holder->kind() == ControlKind::TabControl &&
            static_cast<const TabControl*>(holder)->tab() != c->containerTab_)
            return false;
    }
    return true;
}

void Control::setBackColor(Color c) { assign(backColor_, c, Property::BackColor); }

void Control::setForeColor(Color c) { assign(foreColor_, c, Property::ForeColor); }

void Control::setToolTip(std::string text) { assign(toolTip_, std::move(text), Property::ToolTip); }

void Control::setLeft(int v) { move(v, geometry_.top, geometry_.width, geometry_.height); }
void Control::setTop(int v) { move(geometry_.left, v, geometry_.width, geometry_.height); }
void Control::setWidth(int v) { move(geometry_.left, geometry_.top, v, geometry_.height); }
void Control::setHeight(int v) { move(geometry_.left, geometry_.top, geometry_.width, v); }

void Control::move(int left, int top, int width, int height) {
    if (width < 0 || height < 0) throw errors::invalidPropertyValue();
    const Geometry g{left, top, width, height};
    if (g == geometry_) return;
    geometry_ = g;
    changed(Property::Geometry);
}

void Control::setTabIndex(int v) {
    tabIndex_ = v;
    changed(Property::TabIndex);
}

bool Control::focusableNow() const {
    return canTakeFocus() && effectiveEnabled() && effectiveVisible() && form_.isLoaded() && form_.visible() &&
           form_.enabled();
}

bool Control::hasFocus() const { return form_.activeControl() == this; }

void Control::setFocus() {
    if (!focusableNow()) throw errors::invalidProcedureCall();
    form_.moveFocus(this);
}

}  // namespace forms
