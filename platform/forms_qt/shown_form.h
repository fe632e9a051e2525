#pragma once
// A form's window as the host holds it: a top-level window (form_window.h), an
// MDI frame or an MDI child (mdi_windows.h). All three are a Qt window of
// their kind showing the form's view, with a binding to the form that the
// window's own events are handed to (BoundFormWindow).
#include <QCloseEvent>
#include <QEvent>
#include <QWidget>

#include "platform/forms_qt/form_view.h"
#include "platform/forms_qt/window_binding.h"

namespace forms_qt {

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

template <class QtWindow>
class BoundFormWindow : public QtWindow, public ShownForm {
public:
    QWidget& window() override { return *this; }
    FormView& content() override { return *content_; }
    void detach(bool formAlive) override {
        content_->detach(formAlive);
        binding_->detach(formAlive);
    }

protected:
    BoundFormWindow() : QtWindow(nullptr) {}

    void closeEvent(QCloseEvent* event) override {
        if (binding_) binding_->closeRequested(*event);
        else event->ignore();
    }
    void changeEvent(QEvent* event) override {
        if (binding_ && event->type() == QEvent::ActivationChange && this->isActiveWindow()) binding_->activated();
        if (binding_ && event->type() == QEvent::WindowStateChange) binding_->stateChangedByUser();
        QtWindow::changeEvent(event);
    }
    void moveEvent(QMoveEvent* event) override {
        if (binding_) binding_->movedOrResized();
        QtWindow::moveEvent(event);
    }
    void resizeEvent(QResizeEvent* event) override {
        if (binding_) binding_->movedOrResized();
        QtWindow::resizeEvent(event);
    }

    // Made by the subclass's constructor, the binding last: events before it are the window's own set-up.
    FormView* content_ = nullptr;
    WindowBinding* binding_ = nullptr;
};

}  // namespace forms_qt
