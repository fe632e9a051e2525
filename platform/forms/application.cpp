#include "platform/forms/application.h"

#include <algorithm>

#include "platform/forms/form.h"
#include "platform/forms/host.h"

namespace forms {

namespace {

// The forms that count as active when `form` is: an MDI child with its frame.
std::vector<Form*> activeChain(Form* form) {
    if (!form) return {};
    if (MdiForm* frame = form->mdiParent()) return {frame, form};
    if (form->isMdiForm()) {
        if (Form* child = static_cast<MdiForm*>(form)->activeChild()) return {form, child};
    }
    return {form};
}

bool contains(const std::vector<Form*>& forms, const Form* form) {
    return std::find(forms.begin(), forms.end(), form) != forms.end();
}

}  // namespace

Application& app() {
    static Application instance;
    return instance;
}

bool Application::acceptsInput(const Form& form) const {
    if (!form.isLoaded() || !form.visible() || !form.enabled()) return false;
    if (const MdiForm* frame = form.mdiParent()) {
        if (!frame->isLoaded() || !frame->visible() || !frame->enabled()) return false;
    }
    if (modal_.empty()) return true;
    return modal_.back() == &form;
}

void Application::formLoaded(Form& form) {
    if (!contains(loaded_, &form)) loaded_.push_back(&form);
}

void Application::formHidden(Form& form) {
    std::erase(modal_, &form);
    if (contains(activeChain(active_), &form)) {
        active_ = nullptr;
        activate(pickNextActive());
    }
}

void Application::formUnloaded(Form& form) {
    std::erase(loaded_, &form);
    std::erase(modal_, &form);
    std::erase(history_, &form);
    if (contains(activeChain(active_), &form)) {
        // An unloaded form raises no Deactivate; the rest of its chain does.
        const auto chain = activeChain(active_);
        active_ = nullptr;
        Form* next = pickNextActive();
        const auto nextChain = activeChain(next);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it)
            if (*it != &form && (*it)->isLoaded() && !contains(nextChain, *it)) (*it)->deactivated();
        active_ = nullptr;
        if (next) enter(next, chain);
    }
    if (loaded_.empty() && host_) host_->lastFormUnloaded();
}

void Application::forget(Form& form) {
    std::erase(loaded_, &form);
    std::erase(modal_, &form);
    std::erase(history_, &form);
    if (contains(activeChain(active_), &form)) active_ = nullptr;
}

void Application::activate(Form* form) {
    if (form == active_) return;
    const auto oldChain = activeChain(active_);
    const auto newChain = activeChain(form);
    for (auto it = oldChain.rbegin(); it != oldChain.rend(); ++it)
        if (!contains(newChain, *it) && (*it)->isLoaded()) (*it)->deactivated();
    active_ = nullptr;
    if (form) enter(form, oldChain);
}

void Application::enter(Form* form, const std::vector<Form*>& leftChain) {
    if (MdiForm* frame = form->mdiParent()) frame->childActivated(*form);
    const auto chain = activeChain(form);
    active_ = chain.back();
    for (Form* f : chain) {
        std::erase(history_, f);
        history_.insert(history_.begin(), f);
    }
    for (Form* f : chain) {
        if (contains(leftChain, f)) continue;
        if (host_) host_->formActivated(*f);
        f->activated();
    }
}

void Application::pushModal(Form& form) { modal_.push_back(&form); }

void Application::popModal(Form& form) { std::erase(modal_, &form); }

Form* Application::pickNextActive() const {
    if (!modal_.empty()) return modal_.back();
    for (Form* f : history_)
        if (f->isLoaded() && f->visible()) return f;
    for (Form* f : loaded_)
        if (f->visible()) return f;
    return nullptr;
}

}  // namespace forms
