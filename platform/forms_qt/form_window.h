#pragma once
// The top-level window of a form that is neither an MDI frame nor an MDI
// child: a plain window, or a dialog for a form shown modally (it then blocks
// every other window of the program until the form is hidden or unloaded).
#include <QWidget>

#include "platform/forms/form.h"
#include "platform/forms_qt/shown_form.h"

class QMenuBar;

namespace forms_qt {

class MenuBar;
class WindowBinding;

class FormWindow : public QWidget, public ShownForm {
public:
    explicit FormWindow(forms::Form& form);

    QWidget& window() override { return *this; }
    FormView& content() override { return *content_; }
    void present() override;
    void bringToFront() override;
    void detach(bool formAlive) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    FormView* content_;
    QMenuBar* menuBar_;
    MenuBar* menus_;
    WindowBinding* binding_ = nullptr;  // made last: events before it are the window's own set-up
};

}  // namespace forms_qt
