#include "platform/forms_qt/window_binding.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QWidget>

#include "platform/forms/application.h"
#include "platform/forms/user_input.h"
#include "platform/forms_qt/fonts.h"
#include "platform/forms_qt/form_view.h"
#include "platform/forms_qt/screen_fit.h"
#include "platform/forms_qt/twips.h"
#include "platform/forms_qt/user_action.h"

namespace forms_qt {

namespace {

class Applying {
public:
    explicit Applying(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Applying() { flag_ = was_; }

private:
    bool& flag_;
    bool was_;
};

// Whether the runtime already counts the form as active (an MDI frame counts with its active child).
bool isActiveInRuntime(const forms::Form& form) {
    const forms::Form* active = forms::app().activeForm();
    return active == &form || (active && active->mdiParent() == &form);
}

}  // namespace

WindowBinding::WindowBinding(forms::Form& form, QWidget& window, Qt::WindowFlags baseFlags,
                             std::function<QSize()> naturalSize, std::function<bool()> isActive)
    : QObject(&window),
      form_(form),
      window_(window),
      baseFlags_(baseFlags),
      naturalSize_(std::move(naturalSize)),
      isActive_(std::move(isActive)) {
    observation_ = Observation(form_, [this](forms::Property p) { changed(p); });
    window_.setFont(windowFont());
    window_.setWindowTitle(QString::fromStdString(form_.caption()));
    window_.setEnabled(form_.enabled());
    window_.setWindowFlags(baseFlags_ | (form_.closeBoxEnabled() ? Qt::WindowCloseButtonHint : Qt::WindowFlags()));
}

bool WindowBinding::attached() const { return observation_.active() && isLoadedForm(&form_); }

void WindowBinding::detach(bool formAlive) {
    if (formAlive) observation_.stop();
    else observation_.abandon();
}

void WindowBinding::present(bool centre) {
    Applying applying(applying_);
    showGeometry();
    if (centre && form_.geometry().left == 0 && form_.geometry().top == 0) {
        // A modal form stands over the window it was opened from; others in the middle of the screen.
        const QWidget* over = form_.isModal() ? QApplication::activeWindow() : nullptr;
        const QRect around = over && over != &window_ ? over->geometry()
                             : window_.screen()    ? window_.screen()->availableGeometry()
                                                   : QRect();
        if (!around.isEmpty()) {
            QRect placed = window_.geometry();
            placed.moveCenter(around.center());
            if (window_.screen())  // centred, yet with its title bar on the screen
                placed = fittedToScreen(placed, windowDecoration(window_), window_.screen()->availableGeometry());
            window_.move(placed.topLeft());
        }
    }
    showWindowState();
    presented_ = true;
    writeBackGeometry();
}

void WindowBinding::changed(forms::Property p) {
    switch (p) {
        case forms::Property::Caption: window_.setWindowTitle(QString::fromStdString(form_.caption())); break;
        case forms::Property::Enabled: window_.setEnabled(form_.enabled()); break;
        case forms::Property::CloseBox: showCloseBox(); break;
        case forms::Property::Geometry:
            if (!applying_) {
                Applying applying(applying_);
                showGeometry();
            }
            break;
        case forms::Property::WindowState:
            if (!applying_) {
                Applying applying(applying_);
                showWindowState();
            }
            break;
        default: break;
    }
}

void WindowBinding::showGeometry() {
    QRect wanted = toPixels(form_.geometry());
    if (wanted.width() <= 0 || wanted.height() <= 0) wanted.setSize(naturalSize_());
    if (window_.isWindow() && window_.screen())
        wanted = fittedToScreen(wanted, windowDecoration(window_), window_.screen()->availableGeometry());
    if (window_.geometry() != wanted) window_.setGeometry(wanted);
}

void WindowBinding::showCloseBox() {
    const bool wasVisible = window_.isVisible();
    window_.setWindowFlags(baseFlags_ | (form_.closeBoxEnabled() ? Qt::WindowCloseButtonHint : Qt::WindowFlags()));
    if (wasVisible) window_.show();  // new flags hide a window
}

void WindowBinding::showWindowState() {
    switch (form_.windowState()) {
        case forms::WindowState::Maximized: window_.showMaximized(); break;
        case forms::WindowState::Minimized: window_.showMinimized(); break;
        case forms::WindowState::Normal: window_.showNormal(); break;
    }
}

void WindowBinding::closeRequested(QCloseEvent& event) {
    event.ignore();
    if (!attached()) return;
    act([this] { forms::user::closeForm(form_); });
}

void WindowBinding::activated() {
    actLater(this, [this] {
        if (!attached() || isActiveInRuntime(form_) || !window_.isVisible() || !isActive_()) return;
        forms::user::activateForm(form_);
    });
}

void WindowBinding::movedOrResized() {
    if (!applying_ && presented_ && attached()) writeBackGeometry();
}

void WindowBinding::writeBackGeometry() {
    const QRect now = window_.geometry();
    if (now.isEmpty() || toPixels(form_.geometry()) == now) return;
    Applying applying(applying_);
    form_.move(toTwips(now.x()), toTwips(now.y()), toTwips(now.width()), toTwips(now.height()));
}

void WindowBinding::stateChangedByUser() {
    if (applying_ || !attached()) return;
    const Qt::WindowStates state = window_.windowState();
    const forms::WindowState now = (state & Qt::WindowMinimized)   ? forms::WindowState::Minimized
                                   : (state & Qt::WindowMaximized) ? forms::WindowState::Maximized
                                                                   : forms::WindowState::Normal;
    Applying applying(applying_);
    form_.setWindowState(now);
}

}  // namespace forms_qt
