#pragma once
// The client area of a form's window: one view per control, each placed in
// its container at its place in twips, following the form's list of controls
// as controls come and go.
//
// The runtime says which control holds the focus; the form view gives that
// control's widget the keyboard focus (syncFocus) after every change the
// runtime makes and after every user action.
#include <QWidget>
#include <functional>
#include <map>

#include "platform/forms/form.h"
#include "platform/forms_qt/observation.h"

namespace forms_qt {

class ControlView;

// Whether the form is loaded. A shown form always is; one that is not was
// unloaded, or destroyed (work that waited for the event loop checks this first).
bool isLoadedForm(const forms::Form* form);

class FormView : public QWidget {
public:
    explicit FormView(forms::Form& form, QWidget* parent = nullptr);
    ~FormView() override;

    forms::Form& form() const { return form_; }

    // Stops following the form and its controls (the form is hidden, unloaded or gone).
    void detach(bool formAlive);
    // Following a form that still exists (work that waited for the event loop checks this first).
    bool attached() const { return observation_.active() && isLoadedForm(&form_); }

    ControlView* viewOf(const forms::Control& control) const;
    QWidget* widgetOf(const forms::Control& control) const;

    // The keyboard focus to the widget of the runtime's active control.
    void syncFocus();
    // The smallest size that shows every control placed on the form itself.
    QSize contentSize() const;

    // The widest a control placed at `place` may grow to the right without
    // leaving its container or reaching a control shown beside it.
    int roomRightOf(const forms::Control& control, const QRect& place) const;

    // Called by control views.
    void placeView(ControlView& view);
    void controlMoved(ControlView& view);
    // A container switched its page: its controls are shown or hidden.
    void pageSwitched(ControlView& container);
    // Menu items changed: the window rebuilds its menu bar.
    void menusChanged();

    // The window's hooks.
    std::function<void()> onMenusChanged;
    std::function<void()> onLayoutChanged;  // a control on the form itself moved or was shown or hidden

private:
    void syncControls();
    void placeAll();

    forms::Form& form_;
    Observation observation_;
    std::map<const forms::Control*, ControlView*> views_;
};

}  // namespace forms_qt
