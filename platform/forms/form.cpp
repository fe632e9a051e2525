#include "platform/forms/form.h"

#include <algorithm>
#include <stdexcept>

#include "platform/forms/application.h"
#include "platform/forms/controls/command_button.h"
#include "platform/forms/controls/data_control.h"
#include "platform/forms/error.h"
#include "platform/forms/host.h"

namespace forms {

Form::Form(std::string name) : name_(std::move(name)), caption_(name_) {}

Form::~Form() {
    if (loaded_) {
        if (mdiParent_) mdiParent_->childUnloaded(*this);
        app().forget(*this);
        if (Host* h = app().host()) h->formDestroyed(*this);
    }
}

void Form::setCaption(std::string text) { assign(caption_, std::move(text), Property::Caption); }

void Form::move(int left, int top, int width, int height) {
    if (width < 0 || height < 0) throw errors::invalidPropertyValue();
    geometry_ = {left, top, width, height};
    notify(Property::Geometry);
}

void Form::setWindowState(WindowState state) { assign(windowState_, state, Property::WindowState); }

void Form::setEnabled(bool on) { assign(enabled_, on, Property::Enabled); }

void Form::setCloseBoxEnabled(bool on) {
    closeBox_ = on;
    notify(Property::CloseBox);
}

Control* Form::findControl(std::string_view name, int index) const {
    for (Control* c : controls_)
        if (c->name() == name && c->index() == index) return c;
    return nullptr;
}

void Form::registerControl(Control& control) {
    controls_.push_back(&control);
    notify(Property::Controls);
}

void Form::unregisterControl(Control& control) {
    std::erase(controls_, &control);
    if (activeControl_ == &control) activeControl_ = nullptr;
    if (focusTarget_ == &control) focusTarget_ = nullptr;
    for (Control* c : controls_)
        if (c->container_ == &control) {
            c->container_ = nullptr;
            c->containerTab_ = -1;
        }
    notify(Property::Controls);
}

void Form::load() {
    if (loaded_) return;
    loaded_ = true;
    app().formLoaded(*this);
    if (Host* h = app().host()) h->formLoaded(*this);
    notify(Property::Loaded);
    Control::fire(onLoad);
}

void Form::show() {
    if (mdiParent_ && !mdiParent_->visible()) mdiParent_->show();
    load();
    if (!loaded_) return;  // the load handler unloaded the form
    const auto& modals = app().modalStack();
    if (!modals.empty() && !modal_ && std::find(modals.begin(), modals.end(), this) == modals.end())
        throw errors::modalDisplayed();
    if (!visible_) {
        visible_ = true;
        notify(Property::Visible);
        if (Host* h = app().host()) h->formShown(*this);
        if (mdiParent_) mdiParent_->childShown(*this);
    }
    app().activate(this);
}

void Form::showModal() {
    if (mdiParent_ || isMdiForm() || visible_) throw errors::alreadyDisplayed();
    Host* host = app().host();
    if (!host) throw std::logic_error("no host to run the modal form '" + name_ + "'");
    load();
    if (!loaded_) return;
    modal_ = true;
    visible_ = true;
    notify(Property::Visible);
    host->formShown(*this);
    app().pushModal(*this);
    app().activate(this);
    try {
        host->runModal(*this);
    } catch (...) {
        app().popModal(*this);
        modal_ = false;
        throw;
    }
    app().popModal(*this);
    modal_ = false;
}

void Form::hide() {
    if (!visible_) return;
    visible_ = false;
    notify(Property::Visible);
    if (Host* h = app().host()) h->formHidden(*this);
    app().formHidden(*this);
}

bool Form::unload(int unloadMode) {
    if (!loaded_) return true;
    if (!askQueryUnload(unloadMode)) return false;
    if (isMdiForm()) {
        // The children go first, then the frame.
        auto children = static_cast<MdiForm*>(this)->children();
        for (Form* child : children)
            if (!child->runUnload()) return false;
    }
    return runUnload();
}

bool Form::askQueryUnload(int unloadMode) {
    int cancel = 0;
    if (onQueryUnload) onQueryUnload(cancel, unloadMode);
    if (cancel != 0) return false;
    if (isMdiForm()) {
        auto children = static_cast<MdiForm*>(this)->children();
        for (Form* child : children) {
            int childCancel = 0;
            if (child->onQueryUnload) child->onQueryUnload(childCancel, vbFormMDIForm);
            if (childCancel != 0) return false;
        }
    }
    return true;
}

bool Form::runUnload() {
    if (!loaded_) return true;
    int cancel = 0;
    if (onUnload) onUnload(cancel);
    if (cancel != 0) return false;
    const auto controls = controls_;
    for (Control* c : controls)
        if (c->kind() == ControlKind::Data) static_cast<DataControl*>(c)->formUnloading();
    loaded_ = false;
    const bool wasVisible = visible_;
    visible_ = false;
    activeControl_ = nullptr;
    focusTarget_ = nullptr;
    focusAway_ = false;
    if (mdiParent_) mdiParent_->childUnloaded(*this);
    notify(Property::Loaded);
    Host* h = app().host();
    if (h && wasVisible) h->formHidden(*this);
    if (h) h->formUnloaded(*this);
    app().formUnloaded(*this);
    return true;
}

void Form::setMdiParent(MdiForm& frame) {
    if (loaded_) throw errors::invalidPropertyValue();
    mdiParent_ = &frame;
}

CommandButton* Form::defaultButton() const {
    for (Control* c : controls_)
        if (c->kind() == ControlKind::CommandButton && static_cast<CommandButton*>(c)->isDefault())
            return static_cast<CommandButton*>(c);
    return nullptr;
}

CommandButton* Form::cancelButton() const {
    for (Control* c : controls_)
        if (c->kind() == ControlKind::CommandButton && static_cast<CommandButton*>(c)->isCancel())
            return static_cast<CommandButton*>(c);
    return nullptr;
}

Control* Form::nextInTabOrder(Control* from) const {
    std::vector<Control*> order;
    for (Control* c : controls_)
        if (c->canTakeFocus()) order.push_back(c);
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex() < b->tabIndex(); });
    const auto at = std::find(order.begin(), order.end(), from);
    const size_t start = at == order.end() ? 0 : static_cast<size_t>(at - order.begin()) + 1;
    for (size_t i = 0; i < order.size(); ++i) {
        Control* c = order[(start + i) % order.size()];
        if (c->tabStop() && c->focusableNow()) return c;
    }
    return nullptr;
}

bool Form::moveFocus(Control* target) {
    if (target == activeControl_) {
        if (!target || !focusAway_) return true;
        // The focus comes back to the control after the form was deactivated.
        focusAway_ = false;
        Control::fire(target->onGotFocus);
        return activeControl_ == target;
    }
    Control* old = activeControl_;
    activeControl_ = nullptr;
    focusTarget_ = target;
    focusAway_ = false;
    if (old) {
        old->changed(Property::Focus);
        Control::fire(old->onLostFocus);
    }
    if (focusTarget_ != target) return false;  // a LostFocus handler moved the focus elsewhere
    if (target && !target->focusableNow()) return false;
    activeControl_ = target;
    if (target) {
        target->changed(Property::Focus);
        Control::fire(target->onGotFocus);
    }
    return activeControl_ == target;
}

void Form::activated() {
    notify(Property::Active);
    Control::fire(onActivate);
    if (!loaded_ || !visible_) return;
    if (!activeControl_) {
        if (Control* first = nextInTabOrder(nullptr)) moveFocus(first);
        else Control::fire(onGotFocus);
    }
}

void Form::deactivated() {
    notify(Property::Active);
    Control::fire(onDeactivate);
    if (!activeControl_) Control::fire(onLostFocus);
    else focusAway_ = true;
}

void MdiForm::bringToFront(Form& child) {
    if (child.mdiParent() != this) throw errors::invalidProcedureCall();
    if (!child.visible()) {
        child.show();
        return;
    }
    app().activate(&child);
}

void MdiForm::childShown(Form& child) {
    if (std::find(children_.begin(), children_.end(), &child) == children_.end()) children_.push_back(&child);
}

void MdiForm::childUnloaded(Form& child) {
    std::erase(children_, &child);
    if (activeChild_ == &child) activeChild_ = children_.empty() ? nullptr : children_.back();
}

}  // namespace forms
