#include "platform/forms_qt/screen_fit.h"

#include <QWidget>
#include <algorithm>

namespace forms_qt {

namespace {

// A title bar of the common desktops with its border, and the side borders.
constexpr QMargins kDecorationAllowance{4, 36, 4, 4};

QMargins largerOf(const QMargins& a, const QMargins& b) {
    return {std::max(a.left(), b.left()), std::max(a.top(), b.top()), std::max(a.right(), b.right()),
            std::max(a.bottom(), b.bottom())};
}

}  // namespace

QMargins windowDecoration(const QWidget& window) {
    const QRect inside = window.geometry();
    const QRect outside = window.frameGeometry();
    const QMargins shown{inside.left() - outside.left(), inside.top() - outside.top(),
                         outside.right() - inside.right(), outside.bottom() - inside.bottom()};
    return largerOf(shown, kDecorationAllowance);
}

QRect fittedToScreen(QRect wanted, const QMargins& decoration, const QRect& screen) {
    if (screen.isEmpty()) return wanted;
    const QRect room = screen.marginsRemoved(decoration);
    wanted.setWidth(std::min(wanted.width(), room.width()));
    wanted.setHeight(std::min(wanted.height(), room.height()));
    wanted.moveLeft(std::clamp(wanted.left(), room.left(), room.right() + 1 - wanted.width()));
    wanted.moveTop(std::clamp(wanted.top(), room.top(), room.bottom() + 1 - wanted.height()));
    return wanted;
}

}  // namespace forms_qt
