#pragma once
// The program's own look, shared by its windows: the fonts and colours of
// its name, its titles and its notes. Everything else keeps the layout font.
#include "platform/forms/color.h"
#include "platform/forms/font.h"

namespace petty::look {

// The program's name where it stands alone (the log-in).
inline const forms::Font kTitleFont{"Arial", 26, true, false, false};
// The program's name in a banner or a heading (the main window, the about box).
inline const forms::Font kBannerFont{"Arial", 20, true, false, false};
// "Pettycash Management" under the name.
inline const forms::Font kSubtitleFont{"Arial", 14, false, false, false};
// The command buttons of the main window.
inline const forms::Font kCommandFont{"MS Sans Serif", 10, false, false, false};
// A field the user fills in on a small window, and its label.
inline const forms::Font kFieldFont{"MS Sans Serif", 10, false, false, false};
inline const forms::Font kFieldLabelFont{"MS Sans Serif", 10, true, false, false};

inline constexpr forms::Color kTitleColour = forms::rgb(0, 51, 102);
inline constexpr forms::Color kNoteColour = forms::rgb(96, 96, 96);

}  // namespace petty::look
