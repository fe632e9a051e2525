#include "platform/forms_qt/qt_host.h"

#include <QApplication>
#include <QEventLoop>
#include <QWidget>

#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/forms/ui.h"
#include "platform/forms_qt/form_view.h"
#include "platform/forms_qt/form_window.h"
#include "platform/forms_qt/mdi_windows.h"
#include "platform/forms_qt/user_action.h"

namespace forms_qt {

QtHost::QtHost() : previous_(forms::app().host()) {
    // Windows come and go with the forms; only the runtime says when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);
    forms::app().setHost(this);
}

QtHost::~QtHost() {
    forms::app().setHost(previous_);
    for (auto& [form, entry] : windows_)
        if (entry.window) entry.shown->detach(isLoadedForm(form));
    for (auto& [form, entry] : windows_) delete entry.window.data();
}

int QtHost::run(const std::function<void()>& start) {
    if (!act(start) || forms::app().loadedForms().empty()) return 0;
    running_ = true;
    const int code = QApplication::exec();
    running_ = false;
    return code;
}

QWidget* QtHost::windowOf(const forms::Form& form) const {
    const auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second.window.data();
}

QWidget* QtHost::widgetOf(const forms::Control& control) const {
    ShownForm* window = shown(control.form());
    return window ? window->content().widgetOf(control) : nullptr;
}

ShownForm* QtHost::shown(const forms::Form& form) const {
    const auto it = windows_.find(&form);
    return it == windows_.end() || !it->second.window ? nullptr : it->second.shown;
}

ShownForm* QtHost::makeWindow(forms::Form& form) {
    if (form.isMdiForm()) return new MdiFrameWindow(static_cast<forms::MdiForm&>(form));
    if (forms::MdiForm* frame = form.mdiParent()) {
        if (auto* frameWindow = dynamic_cast<MdiFrameWindow*>(shown(*frame))) return new MdiChildWindow(form, *frameWindow);
    }
    return new FormWindow(form);
}

void QtHost::formShown(forms::Form& form) {
    if (ShownForm* window = shown(form)) {
        window->window().show();
        return;
    }
    ShownForm* window = makeWindow(form);
    windows_[&form] = {&window->window(), window};
    window->present();
}

void QtHost::dropWindow(const forms::Form& form, bool formAlive) {
    const auto it = windows_.find(&form);
    if (it == windows_.end()) return;
    const Entry entry = it->second;
    windows_.erase(it);
    if (!entry.window) return;
    entry.shown->detach(formAlive);
    // Sub-windows go with their frame's window.
    for (auto child = windows_.begin(); child != windows_.end();) {
        if (child->second.window && entry.window->isAncestorOf(child->second.window)) {
            child->second.shown->detach(true);
            child = windows_.erase(child);
        } else {
            ++child;
        }
    }
    entry.window->hide();
    // Later: the event being handled may belong to a widget of this window.
    entry.window->deleteLater();
}

void QtHost::formHidden(forms::Form& form) {
    if (const auto loop = modalLoops_.find(&form); loop != modalLoops_.end()) loop->second->quit();
    dropWindow(form, true);
}

void QtHost::formUnloaded(forms::Form& form) { formHidden(form); }

void QtHost::formDestroyed(forms::Form& form) { dropWindow(form, false); }

void QtHost::formActivated(forms::Form& form) {
    if (ShownForm* window = shown(form)) window->bringToFront();
}

void QtHost::runModal(forms::Form& form) {
    if (!form.isLoaded() || !form.visible()) return;  // its Activate handler closed it already
    QEventLoop loop;
    modalLoops_[&form] = &loop;
    loop.exec(QEventLoop::DialogExec);
    modalLoops_.erase(&form);
    // The loop only ends early when the program ends: nothing after the modal form may run.
    if (form.isLoaded() && form.visible()) throw forms::ProgramEnded{};
}

void QtHost::lastFormUnloaded() {
    if (running_) QCoreApplication::exit(0);
}

}  // namespace forms_qt
