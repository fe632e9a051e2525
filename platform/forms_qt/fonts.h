#pragma once
// The windows' fonts as Qt fonts. The names the windows were made with are
// Windows faces; each is shown in the Liberation face of the same metrics and
// kind (sans, serif, fixed pitch), with DejaVu behind it, so a desktop without
// the Windows faces shows the layouts as they were meant; the narrower dialog
// face MS Sans Serif at the size that gives its letter widths. Sizes follow the
// layout's scale (a point is 20 twips, 15 twips a pixel), not the screen's
// dots per inch, so text keeps to the boxes laid out for it.
#include <QFont>

#include "platform/forms/font.h"

namespace forms_qt {

QFont toQFont(const forms::Font& font);

// The font of the windows' own parts (menus, MDI title bars): the layout font.
QFont windowFont();

}  // namespace forms_qt
