#include "platform/forms_qt/layout_rule.h"

#include <QMdiSubWindow>

#include "platform/forms_qt/control_view.h"
#include "platform/forms_qt/form_view.h"

namespace forms_qt {

namespace {

std::string text(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

const FormView* formViewIn(const QWidget& window, const forms::Form& form) {
    if (auto* view = dynamic_cast<const FormView*>(&window); view && &view->form() == &form) return view;
    for (const QWidget* child : window.findChildren<QWidget*>())
        if (auto* view = dynamic_cast<const FormView*>(child); view && &view->form() == &form) return view;
    return nullptr;
}

void checkWindow(const QWidget& window, const QRect& screen, std::vector<std::string>& faults) {
    if (auto* sub = dynamic_cast<const QMdiSubWindow*>(&window)) {
        const QWidget* area = sub->parentWidget();
        if (area && !sub->isMaximized() && !area->rect().contains(sub->geometry()))
            faults.push_back("the window at " + text(sub->geometry()) + " leaves the child area " + text(area->rect()));
        return;
    }
    const QRect outside = window.geometry().marginsAdded(windowDecoration(window));
    if (!screen.contains(outside))
        faults.push_back("the window with its title bar at " + text(outside) + " leaves the screen " + text(screen));
}

}  // namespace

std::vector<std::string> layoutFaults(const QtHost& host, const forms::Form& form, const QRect& screen) {
    std::vector<std::string> faults;
    const QWidget* window = host.windowOf(form);
    const FormView* view = window ? formViewIn(*window, form) : nullptr;
    if (!view) return {"the form has no window"};
    checkWindow(*window, screen, faults);
    for (const forms::Control* control : form.controls()) {
        const ControlView* controlView = view->viewOf(*control);
        const QWidget* widget = controlView ? controlView->widget() : nullptr;
        if (!widget || !widget->isVisibleTo(window)) continue;
        const std::string name = control->displayName() + ": ";
        const QWidget* container = widget->parentWidget();
        const QRect place = widget->geometry();
        if (container && !container->rect().intersects(place)) continue;  // placed out of sight on purpose
        if (container && !container->rect().contains(place))
            faults.push_back(name + "at " + text(place) + " leaves its container " + text(container->rect()));
        for (const QString& cut : controlView->cutTexts()) faults.push_back(name + cut.toStdString());
    }
    return faults;
}

}  // namespace forms_qt
