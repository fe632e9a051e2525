#pragma once
// What every window of a form shares: its caption, close box, place and size,
// enabled state and window state follow the form; the user's closing,
// activating, moving and resizing of it go to the runtime.
//
// - Closing from the title bar is the runtime's closeForm (QueryUnload may
//   cancel it); the window itself never closes: it goes when the runtime
//   hides or unloads the form.
// - A form without a size takes the size its controls need; a top-level form
//   without a place is centred (on the active window for a modal one). Place
//   and size the user gives the window are written back into the form (the
//   program reads them), as are those the window was first given.
#include <QObject>
#include <QRect>
#include <functional>

#include "platform/forms/form.h"
#include "platform/forms_qt/observation.h"

class QCloseEvent;
class QWidget;

namespace forms_qt {

class WindowBinding : public QObject {
public:
    // `baseFlags` are the window's flags without the close button; `isActive`
    // tells whether the window is the desktop's active one (or its frame's active child).
    WindowBinding(forms::Form& form, QWidget& window, Qt::WindowFlags baseFlags, std::function<QSize()> naturalSize,
                  std::function<bool()> isActive);

    // Shows the window in the form's state for the first time.
    void present(bool centre);
    void detach(bool formAlive);
    bool attached() const;

    // The window's events.
    void closeRequested(QCloseEvent& event);
    // The window became the active one. The runtime hears of it once the
    // event is done, and only if the window is still active then: the
    // desktop's activations arrive late and may cross the runtime's own.
    void activated();
    void movedOrResized();
    void stateChangedByUser();

private:
    void changed(forms::Property p);
    void showGeometry();
    void showCloseBox();
    void showWindowState();
    void writeBackGeometry();

    forms::Form& form_;
    QWidget& window_;
    Qt::WindowFlags baseFlags_;
    std::function<QSize()> naturalSize_;
    std::function<bool()> isActive_;
    Observation observation_;
    bool applying_ = false;
    bool presented_ = false;
};

}  // namespace forms_qt
