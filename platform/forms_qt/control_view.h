#pragma once
// The widget of one control: it follows the control's properties through the
// runtime's observers and hands what the user does to it to forms::user.
//
// The base class handles what every kind shares (place and size in its
// container, enabled, visible, colours, tool tip, focus, keys, mouse clicks);
// one subclass per kind adds the rest (views/*.h, made by widget_factory.h).
//
// Changes the runtime makes are shown with the widget's signals blocked, so a
// widget never reports back a value the runtime has just given it; after each
// user action the view shows the runtime's state again, which also undoes
// what a widget did natively when the runtime refused the action.
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "platform/forms/control.h"
#include "platform/forms_qt/observation.h"

class QKeyEvent;

namespace forms_qt {

class FormView;

class ControlView : public QObject {
public:
    ControlView(forms::Control& control, FormView& owner);
    ~ControlView() override;

    forms::Control& control() const { return control_; }
    FormView& owner() const { return owner_; }

    // The widget placed in the container; none for menu items.
    QWidget* widget() const { return widget_; }
    // The widget that takes the keyboard focus.
    virtual QWidget* focusTarget() const { return widget_; }
    // Containers: the widget that holds the controls placed in them.
    virtual QWidget* childArea() const { return nullptr; }
    // Containers: whether the controls on this page (a tab) are shown now.
    virtual bool showsPage(int page) const { return true; }

    // Reads every property and starts following the control.
    void start();
    // Stops following the control; it may be about to go.
    void detach(bool controlAlive);
    bool attached() const { return observation_.active(); }

    // Puts the widget into the container's area at the control's place.
    void place(QWidget* area);
    void applyGeometry();
    void applyVisible();
    // Gives the widget the keyboard focus without telling the runtime.
    void showFocus();

    // The layout rule: the control's texts (caption, items, headers) that do
    // not show whole in its widget as it stands now; none when all of them do.
    virtual QStringList cutTexts() const;

protected:
    // Subclasses create their widget in their constructor and hand it here.
    void setWidget(QWidget* widget);
    // Routes the focus target's keys and focus changes to the runtime.
    void routeKeysAndFocus(QWidget* target);
    // Routes mouse clicks and double clicks on the widget to the runtime.
    void routeMouseClicks(QWidget* target);

    // A property changed; subclasses handle their own and pass the rest on.
    virtual void changed(forms::Property p);
    // The width in pixels the control's text needs on one line at its font,
    // and that text; 0 when it has none that must fit. A control narrower
    // than that grows to the right where its container has room.
    virtual int textWidthNeeded() const { return 0; }
    virtual QString fittedText() const { return {}; }
    // Shows the control's value state again (text, check, current item...).
    virtual void showRuntimeState() {}
    // Whether the widget paints its own background in the control's back colour.
    virtual bool fillsBackground() const { return false; }
    // The view stopped following its control: nothing may read the control any more.
    virtual void detached() {}

    // Hands a user action to the runtime, then brings the widget and the focus
    // back in line with what the runtime made of it.
    void userAction(const std::function<void()>& action);

    // A key pressed in the focus target; true when it was handled (not passed on to the widget).
    virtual bool keyPressed(QKeyEvent& event);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyAll();
    void afterUserAction();
    bool mouseEvent(QWidget& target, QEvent& event);

    forms::Control& control_;
    FormView& owner_;
    QPointer<QWidget> widget_;
    Observation observation_;
    QWidget* keyTarget_ = nullptr;
    QWidget* clickTarget_ = nullptr;
    bool doubleClicked_ = false;
};

// True while the renderer itself moves the keyboard focus.
bool rendererMovesFocus();

}  // namespace forms_qt
