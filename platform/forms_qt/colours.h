#pragma once
// The windows' colours (0x00BBGGRR, or 0x800000nn for system colour nn) as Qt
// colours. System colours come from the palette of the running desktop, so the
// windows follow the user's scheme.
#include <QColor>
#include <QPalette>

#include "platform/forms/color.h"

namespace forms_qt {

QColor toQColor(forms::Color color, const QPalette& scheme);

// Paints a widget's background and text in the control's colours. `fill`
// makes the widget paint its own background (labels, frames, pictures).
void applyColours(QWidget& widget, forms::Color back, forms::Color fore, bool fill);

// A control disabled only through its frame or tab control keeps its look and
// just takes no input (a saved voucher's values stay readable); one disabled itself shows the
// scheme's greyed text. Run after every change of enabled state or colours.
void applyEnabledLook(QWidget& widget, bool enabledItself);

}  // namespace forms_qt
