#pragma once
// The layout rule every window of the program is held to: each caption,
// label, button, check box, combo item and grid header shows whole in its
// control at the control's font; no control shown leaves its container; and
// the window with its title bar lies within the smallest supported screen.
// A control placed wholly outside its container is not shown at all (the
// log-in's hidden default button) and is no fault.
#include <QRect>
#include <string>
#include <vector>

#include "platform/forms/form.h"
#include "platform/forms_qt/qt_host.h"
#include "platform/forms_qt/screen_fit.h"

namespace forms_qt {

// What of the shown form breaks the rule, one line a fault ("Label1(3): ...");
// none when it keeps it.
std::vector<std::string> layoutFaults(const QtHost& host, const forms::Form& form,
                                      const QRect& screen = QRect(QPoint(0, 0), kSmallestScreen));

}  // namespace forms_qt
