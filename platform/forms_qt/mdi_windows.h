#pragma once
// The MDI frame and its child windows.
//
// The frame is a main window with the frame form's menu bar. The frame form's
// own controls stand along its top and left edges, as the picture boxes
// aligned there did (a control at the top edge that is wider than tall is a
// band across the top; one at the left edge a band down the side), each
// stretched along its edge as the window's inside changes; the child area
// takes the rest. Each child form shows as a sub-window of the child
// area; the user activating one makes its form the active one.
#include <QMainWindow>
#include <QMdiSubWindow>

#include "platform/forms/form.h"
#include "platform/forms_qt/shown_form.h"

class QMdiArea;

namespace forms_qt {

class MenuBar;

class MdiFrameWindow : public BoundFormWindow<QMainWindow> {
public:
    explicit MdiFrameWindow(forms::MdiForm& frame);

    QMdiArea& childArea() const { return *area_; }

    void present() override;
    void bringToFront() override;
    // The children's sub-windows go with the frame's window.
    void detach(bool formAlive) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layOutChildArea();

    QMdiArea* area_;
    MenuBar* menus_;
};

class MdiChildWindow : public BoundFormWindow<QMdiSubWindow> {
public:
    MdiChildWindow(forms::Form& child, MdiFrameWindow& frame);

    void present() override;
    void bringToFront() override;
    // The child area made this sub-window the active one.
    void activatedByArea();

private:
    MdiFrameWindow& frame_;
};

}  // namespace forms_qt
