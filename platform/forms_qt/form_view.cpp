#include "platform/forms_qt/form_view.h"

#include <algorithm>

#include "platform/forms/application.h"
#include "platform/forms_qt/control_view.h"
#include "platform/forms_qt/fonts.h"
#include "platform/forms_qt/twips.h"
#include "platform/forms_qt/widget_factory.h"

namespace forms_qt {

bool isLoadedForm(const forms::Form* form) {
    const auto& loaded = forms::app().loadedForms();
    return std::find(loaded.begin(), loaded.end(), form) != loaded.end();
}

FormView::FormView(forms::Form& form, QWidget* parent) : QWidget(parent), form_(form) {
    observation_ = Observation(form_, [this](forms::Property p) {
        if (p == forms::Property::Controls) syncControls();
        if (p == forms::Property::Font) setFont(toQFont(form_.font()));
    });
    setFont(toQFont(form_.font()));
    syncControls();
}

FormView::~FormView() { detach(false); }

void FormView::detach(bool formAlive) {
    if (!observation_.active()) return;
    // Controls outlive the form object's own part only while it lives.
    for (auto& [control, view] : views_) view->detach(formAlive);
    if (formAlive) observation_.stop();
    else observation_.abandon();
}

ControlView* FormView::viewOf(const forms::Control& control) const {
    const auto it = views_.find(&control);
    return it == views_.end() ? nullptr : it->second;
}

QWidget* FormView::widgetOf(const forms::Control& control) const {
    ControlView* view = viewOf(control);
    return view ? view->widget() : nullptr;
}

void FormView::syncControls() {
    const auto& controls = form_.controls();
    bool removed = false;
    for (auto it = views_.begin(); it != views_.end();) {
        if (std::find(controls.begin(), controls.end(), it->first) == controls.end()) {
            it->second->detach(true);  // the control is being destroyed but still exists
            it->second->deleteLater();
            it = views_.erase(it);
            removed = true;
        } else {
            ++it;
        }
    }
    std::vector<ControlView*> added;
    for (forms::Control* control : controls) {
        if (views_.count(control)) continue;
        ControlView* view = makeView(*control, *this);
        views_[control] = view;
        added.push_back(view);
    }
    // Containers may come after the controls they hold: place once every view exists.
    if (removed) placeAll();
    else
        for (ControlView* view : added) placeView(*view);
    for (ControlView* view : added) view->start();
    if (!added.empty() || removed) {
        menusChanged();
        if (onLayoutChanged) onLayoutChanged();
        syncFocus();
    }
}

void FormView::placeAll() {
    for (auto& [control, view] : views_) placeView(*view);
}

void FormView::placeView(ControlView& view) {
    QWidget* area = this;
    if (forms::Control* container = view.control().container()) {
        if (ControlView* holder = viewOf(*container); holder && holder->childArea()) area = holder->childArea();
    }
    view.place(area);
}

int FormView::roomRightOf(const forms::Control& control, const QRect& place) const {
    constexpr int kGap = 2;  // pixels kept free between a grown control and its neighbour
    const forms::Control* container = control.container();
    int right = toPixels(container ? container->geometry().width : form_.geometry().width);
    if (!container && right <= 0) right = width();
    if (container && container->kind() == forms::ControlKind::Frame) right -= kGap;
    for (const forms::Control* other : form_.controls()) {
        if (other == &control || other->container() != container || !other->visible() ||
            other->containerTab() != control.containerTab() || !viewOf(*other) || !viewOf(*other)->widget())
            continue;
        const QRect there = toPixels(other->geometry());
        const bool beside = there.top() < place.bottom() + 1 && there.bottom() + 1 > place.top();
        if (beside && there.left() > place.left()) right = std::min(right, there.left() - kGap);
    }
    return std::max(place.width(), right - place.left());
}

void FormView::controlMoved(ControlView& view) {
    // A control that moved, came or went may make room for its neighbours, or take it.
    const forms::Control* container = view.control().container();
    for (auto& [control, other] : views_)
        if (other != &view && control->container() == container) other->applyGeometry();
    if (!view.control().container() && onLayoutChanged) onLayoutChanged();
}

void FormView::pageSwitched(ControlView& container) {
    for (auto& [control, view] : views_)
        if (control->container() == &container.control()) view->applyVisible();
}

void FormView::menusChanged() {
    if (onMenusChanged) onMenusChanged();
}

void FormView::syncFocus() {
    if (!attached()) return;
    forms::Control* active = form_.activeControl();
    if (!active) return;
    if (ControlView* view = viewOf(*active)) view->showFocus();
}

QSize FormView::contentSize() const {
    QRect bounds;
    for (const auto& [control, view] : views_)
        if (!control->container() && view->widget() && control->visible()) bounds |= view->widget()->geometry();
    return {bounds.right() + 8, bounds.bottom() + 8};
}

}  // namespace forms_qt
