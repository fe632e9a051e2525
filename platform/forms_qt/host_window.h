#pragma once
// A widget as a window the libraries can draw on (platform/win's window
// surfaces): it gets a window handle, tells its size, lets its pixels be read
// and shows what is drawn into it on a layer above its own painting. The
// layer is cleared when the widget changes size, as a window's client area
// is painted anew then. The handle lives as long as the widget.
#include <cstdint>

class QWidget;

namespace forms_qt {

// The widget's window handle, registered on the first request; the same
// number on every later one.
uint32_t WindowHandleOf(QWidget& widget);

}  // namespace forms_qt
