#pragma once
// Qt's keys as the runtime's key codes (KeyDown) and shift flags.
#include <Qt>

namespace forms_qt {

// The runtime's key code of a Qt key; 0 for keys it has no code for.
int vbKeyCode(int qtKey);
// vbShiftMask, vbCtrlMask and vbAltMask of the modifiers held.
int vbShiftState(Qt::KeyboardModifiers modifiers);

}  // namespace forms_qt
