#pragma once
// Windows keep within the screen. A form's size was laid out for the inside
// of its window; a window manager adds a title bar and borders around it,
// and only knows them once the window shows. Until then they are taken at
// a generous allowance, so that a window sized for a full screen (the main
// window at 1024 by 768) keeps its title bar on a 768-pixel screen.
#include <QMargins>
#include <QRect>

class QWidget;

namespace forms_qt {

// The smallest screen the program supports.
inline constexpr QSize kSmallestScreen{1366, 768};

// The title bar and borders around a top-level window: what the window
// manager shows once the window is on the screen, and no less than the allowance.
QMargins windowDecoration(const QWidget& window);

// The window's inside at `wanted`, made small enough that the window with
// its decoration fits `screen`, and moved onto it when it stood off it.
QRect fittedToScreen(QRect wanted, const QMargins& decoration, const QRect& screen);

}  // namespace forms_qt
