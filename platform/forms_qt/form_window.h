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

class FormWindow : public BoundFormWindow<QWidget> {
public:
    explicit FormWindow(forms::Form& form);
    void present() override;
    void bringToFront() override;

private:
    QMenuBar* menuBar_;
    MenuBar* menus_;
};

}  // namespace forms_qt
