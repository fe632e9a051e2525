#pragma once
// For tests on a real display: what the screen shows of a widget now.
#include <QImage>
#include <QScreen>
#include <QWidget>

namespace forms_qt::testing {

inline QImage onScreen(QWidget* widget) {
    const QPoint at = widget->mapToGlobal(QPoint(0, 0));
    return widget->screen()
        ->grabWindow(0, at.x(), at.y(), widget->width(), widget->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

}  // namespace forms_qt::testing
