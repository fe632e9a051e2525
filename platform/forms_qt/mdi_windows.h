#pragma once
// The MDI frame and its child windows.
//
// The frame is a main window with the frame form's menu bar. The frame form's
// own controls stand along its top and left edges, as the picture boxes
// aligned there did (a control at the top edge that is wider than tall is a
// band across the top; one at the left edge a band down the side); the child
// area takes the rest. Each child form shows as a sub-window of the child
// area; the user activating one makes its form the active one.
#include <QMainWindow>
#include <QMdiSubWindow>

#include "platform/forms/form.h"
#include "platform/forms_qt/shown_form.h"

class QMdiArea;

namespace forms_qt {

class MenuBar;
class WindowBinding;

class MdiFrameWindow : public QMainWindow, public ShownForm {
public:
    explicit MdiFrameWindow(forms::MdiForm& frame);

    QMdiArea& childArea() const { return *area_; }

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
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layOutChildArea();

    FormView* content_;
    QMdiArea* area_;
    MenuBar* menus_;
    WindowBinding* binding_ = nullptr;  // made last: events before it are the window's own set-up
};

class MdiChildWindow : public QMdiSubWindow, public ShownForm {
public:
    MdiChildWindow(forms::Form& child, MdiFrameWindow& frame);

    QWidget& window() override { return *this; }
    FormView& content() override { return *content_; }
    void present() override;
    void bringToFront() override;
    void detach(bool formAlive) override;
    // The child area made this sub-window the active one.
    void activatedByArea();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    MdiFrameWindow& frame_;
    FormView* content_;
    WindowBinding* binding_ = nullptr;  // made last: events before it are the window's own set-up
};

}  // namespace forms_qt
