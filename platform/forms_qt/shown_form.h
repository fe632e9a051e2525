#pragma once
// A form's window as the host holds it: a top-level window (form_window.h), an
// MDI frame or an MDI child (mdi_windows.h).
class QWidget;

namespace forms_qt {

class FormView;

class ShownForm {
public:
    virtual ~ShownForm() = default;
    // The top-level window, or the MDI child's sub-window.
    virtual QWidget& window() = 0;
    virtual FormView& content() = 0;
    // Shows the window for the first time.
    virtual void present() = 0;
    // Raises the window and makes it the active one.
    virtual void bringToFront() = 0;
    // Stops following the form (and its controls).
    virtual void detach(bool formAlive) = 0;
};

}  // namespace forms_qt
