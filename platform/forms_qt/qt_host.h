#pragma once
// The program's front end: shows every form of the runtime as Qt widgets.
//
//   int main(int argc, char** argv) {
//       QApplication qt(argc, argv);
//       forms_qt::QtUi ui("Ostrelle");            // message boxes carry the program's title
//       forms::ScopedUi useUi(ui);
//       forms_qt::QtHost host;                    // becomes the application's host
//       StartupForm login;                        // the first window
//       return host.run([&] { login.show(); });   // until the last form unloads or the program ends
//   }
//
// A form gets its window when it is shown and loses it when it is hidden or
// unloaded: a top-level window, a modal dialog, an MDI frame (main window with
// a child area) or an MDI child (a sub-window of its frame's child area). A
// modal form runs a nested event loop that returns once the form is hidden or
// unloaded. The event loop ends when the last form unloads or the program
// ends (forms::Ui::endProgram).
// A form object destroyed while shown takes its window with it.
#include <QPointer>
#include <functional>
#include <map>

#include "platform/forms/host.h"

class QEventLoop;
class QWidget;

namespace forms {
class Control;
class Form;
}  // namespace forms

namespace forms_qt {

class ShownForm;

class QtHost : public forms::Host {
public:
    QtHost();  // a QApplication must exist
    ~QtHost() override;
    QtHost(const QtHost&) = delete;
    QtHost& operator=(const QtHost&) = delete;

    // Runs `start` (which shows the first form), then the event loop until the
    // last form unloads or the program ends. Returns the exit code.
    int run(const std::function<void()>& start);

    // The form's window (the MDI child's sub-window), or none while it is not shown.
    QWidget* windowOf(const forms::Form& form) const;
    // The widget of a control of a shown form, or none.
    QWidget* widgetOf(const forms::Control& control) const;

    void formShown(forms::Form& form) override;
    void formHidden(forms::Form& form) override;
    void formUnloaded(forms::Form& form) override;
    void formDestroyed(forms::Form& form) override;
    void formActivated(forms::Form& form) override;
    void runModal(forms::Form& form) override;
    void lastFormUnloaded() override;

private:
    ShownForm* makeWindow(forms::Form& form);
    void dropWindow(const forms::Form& form, bool formAlive);
    ShownForm* shown(const forms::Form& form) const;

    struct Entry {
        QPointer<QWidget> window;
        ShownForm* shown;
    };
    std::map<const forms::Form*, Entry> windows_;
    std::map<const forms::Form*, QEventLoop*> modalLoops_;
    forms::Host* previous_;
    bool running_ = false;
};

}  // namespace forms_qt
