#include "platform/forms_qt/control_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "platform/forms/keys.h"
#include "platform/forms/user_input.h"
#include "platform/forms_qt/colours.h"
#include "platform/forms_qt/fonts.h"
#include "platform/forms_qt/form_view.h"
#include "platform/forms_qt/key_codes.h"
#include "platform/forms_qt/twips.h"
#include "platform/forms_qt/user_action.h"

namespace forms_qt {

namespace {

bool movingFocus = false;

class FocusMove {
public:
    FocusMove() : was_(movingFocus) { movingFocus = true; }
    ~FocusMove() { movingFocus = was_; }

private:
    bool was_;
};

// Keys the widget moves with (in a list, a grid, a calendar, a text): the
// runtime raises KeyDown first, then the widget does its part.
bool isNavigationKey(int code) {
    return (code >= 33 && code <= 40);  // page up/down, end, home, arrows
}

bool isUsersFocusChange(Qt::FocusReason reason) {
    return reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason || reason == Qt::TabFocusReason ||
           reason == Qt::BacktabFocusReason;
}

// Every property a view reads when it starts (focus and container are the form view's part).
constexpr forms::Property kStartProperties[] = {
    forms::Property::Geometry,  forms::Property::Caption,   forms::Property::Text,
    forms::Property::Enabled,   forms::Property::Visible,   forms::Property::Locked,
    forms::Property::BackColor, forms::Property::ForeColor, forms::Property::Font,
    forms::Property::ToolTip,   forms::Property::MaxLength, forms::Property::PasswordChar,
    forms::Property::Default,   forms::Property::Cancel,    forms::Property::Style,
    forms::Property::List,      forms::Property::ListIndex, forms::Property::Value,
    forms::Property::Picture,   forms::Property::Tabs,      forms::Property::CurrentTab,
    forms::Property::Columns,   forms::Property::Rows,      forms::Property::CurrentRow,
};

// Changes after which the control's text may need another width.
bool changesTextWidth(forms::Property p) {
    return p == forms::Property::Caption || p == forms::Property::Font || p == forms::Property::List ||
           p == forms::Property::Picture || p == forms::Property::Style;
}

}  // namespace

bool rendererMovesFocus() { return movingFocus; }

ControlView::ControlView(forms::Control& control, FormView& owner) : QObject(&owner), control_(control), owner_(owner) {}

ControlView::~ControlView() {
    observation_.stop();
    delete widget_.data();
}

void ControlView::setWidget(QWidget* widget) {
    widget_ = widget;
    widget->setObjectName(QString::fromStdString(control_.displayName()));
}

void ControlView::start() {
    observation_ = Observation(control_, [this](forms::Property p) {
        changed(p);
        if (changesTextWidth(p)) applyGeometry();
    });
    for (forms::Property p : kStartProperties) changed(p);
    applyGeometry();
}

void ControlView::detach(bool controlAlive) {
    if (!attached()) return;
    if (controlAlive) observation_.stop();
    else observation_.abandon();
    detached();
}

void ControlView::place(QWidget* area) {
    if (!widget_ || !area) return;
    if (widget_->parentWidget() != area) widget_->setParent(area);
    applyGeometry();
    applyVisible();
}

void ControlView::applyGeometry() {
    if (!widget_) return;
    QRect place = toPixels(control_.geometry());
    // A text wider than the box laid out for it (the stand-in faces are not
    // the layout's own to the pixel) takes the room free to its right.
    if (const int needed = textWidthNeeded(); needed > place.width())
        place.setWidth(std::max(place.width(), std::min(needed, owner_.roomRightOf(control_, place))));
    widget_->setGeometry(place);
}

QStringList ControlView::cutTexts() const {
    if (!widget_) return {};
    const int needed = textWidthNeeded();
    if (needed <= widget_->width()) return {};
    return {QStringLiteral("\"%1\" needs %2 pixels, has %3").arg(fittedText()).arg(needed).arg(widget_->width())};
}

void ControlView::applyVisible() {
    if (!widget_) return;
    bool shown = control_.visible();
    if (forms::Control* container = control_.container()) {
        if (ControlView* holder = owner_.viewOf(*container)) shown = shown && holder->showsPage(control_.containerTab());
    }
    widget_->setVisible(shown);
}

void ControlView::showFocus() {
    QWidget* target = focusTarget();
    if (!target || target->hasFocus()) return;
    FocusMove move;
    target->setFocus(Qt::OtherFocusReason);
}

void ControlView::changed(forms::Property p) {
    if (!widget_) return;
    switch (p) {
        case forms::Property::Geometry:
            applyGeometry();
            owner_.controlMoved(*this);
            break;
        case forms::Property::Visible:
            applyVisible();
            owner_.controlMoved(*this);
            break;
        case forms::Property::Enabled:
            widget_->setEnabled(control_.enabled());
            applyEnabledLook(*widget_, control_.enabled());
            break;
        case forms::Property::BackColor:
        case forms::Property::ForeColor:
            applyColours(*widget_, control_.backColor(), control_.foreColor(), fillsBackground());
            applyEnabledLook(*widget_, control_.enabled());
            break;
        case forms::Property::Font: widget_->setFont(toQFont(control_.font())); break;
        case forms::Property::ToolTip: widget_->setToolTip(QString::fromStdString(control_.toolTip())); break;
        case forms::Property::Focus:
            if (control_.hasFocus()) showFocus();
            break;
        case forms::Property::Container: owner_.placeView(*this); break;
        default: break;
    }
}

void ControlView::routeKeysAndFocus(QWidget* target) {
    // Keys go to the widget that really holds the focus (a tab control's tab bar, a calendar's day table).
    while (target->focusProxy()) target = target->focusProxy();
    keyTarget_ = target;
    target->installEventFilter(this);
}

void ControlView::routeMouseClicks(QWidget* target) {
    clickTarget_ = target;
    target->installEventFilter(this);
}

void ControlView::userAction(const std::function<void()>& action) {
    act(action);
    afterUserAction();
}

void ControlView::afterUserAction() {
    if (attached()) showRuntimeState();
    owner_.syncFocus();
}

bool ControlView::keyPressed(QKeyEvent& event) {
    const int code = vbKeyCode(event.key());
    if (code == 0) return false;
    const int shift = vbShiftState(event.modifiers());
    const auto press = [this, code, shift] { forms::user::pressKey(control_, code, shift); };
    if (code == forms::vbKeyTab || code == forms::vbKeyReturn || code == forms::vbKeyEscape) {
        userAction(press);
        return true;
    }
    if (shift & (forms::vbCtrlMask | forms::vbAltMask)) return false;  // shortcuts and mnemonics stay with Qt
    userAction(press);
    return !isNavigationKey(code);
}

bool ControlView::eventFilter(QObject* watched, QEvent* event) {
    if (!attached()) return false;
    if (watched == keyTarget_) {
        if (event->type() == QEvent::KeyPress) return keyPressed(static_cast<QKeyEvent&>(*event));
        if (event->type() == QEvent::FocusIn && !rendererMovesFocus() &&
            isUsersFocusChange(static_cast<QFocusEvent*>(event)->reason())) {
            actLater(this, [this] {
                if (attached()) userAction([this] { forms::user::setFocus(control_); });
            });
        }
    }
    if (watched == clickTarget_) return mouseEvent(*clickTarget_, *event);
    return false;
}

bool ControlView::mouseEvent(QWidget& target, QEvent& event) {
    if (event.type() == QEvent::MouseButtonPress) {
        doubleClicked_ = false;
    } else if (event.type() == QEvent::MouseButtonRelease) {
        auto& mouse = static_cast<QMouseEvent&>(event);
        if (mouse.button() != Qt::LeftButton || !target.rect().contains(mouse.position().toPoint())) return false;
        if (doubleClicked_) {
            doubleClicked_ = false;  // the release that ends a double click
            return false;
        }
        const auto click = [this] { forms::user::click(control_); };
        if (control_.onDblClick) {
            actAfterDoubleClickInterval(this, [this, click] {
                if (!attached()) return;
                click();
                afterUserAction();
            });
        } else {
            userAction(click);
        }
    } else if (event.type() == QEvent::MouseButtonDblClick) {
        if (static_cast<QMouseEvent&>(event).button() != Qt::LeftButton) return false;
        doubleClicked_ = true;
        // Without a DblClick handler the second click of a double click raises nothing.
        if (control_.onDblClick) {
            dropPendingClick();
            userAction([this] { forms::user::doubleClick(control_); });
        }
    }
    return false;
}

}  // namespace forms_qt
