#include "platform/forms_qt/key_codes.h"

#include "platform/forms/keys.h"

namespace forms_qt {

int vbKeyCode(int qtKey) {
    // Letters and digits share their codes with Qt (the ASCII capital or digit).
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return forms::vbKeyA + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return forms::vbKey0 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F16) return forms::vbKeyF1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace: return forms::vbKeyBack;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return forms::vbKeyTab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return forms::vbKeyReturn;
        case Qt::Key_Shift: return 16;
        case Qt::Key_Control: return 17;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Pause: return 19;
        case Qt::Key_CapsLock: return 20;
        case Qt::Key_Escape: return forms::vbKeyEscape;
        case Qt::Key_Space: return forms::vbKeySpace;
        case Qt::Key_PageUp: return 33;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_End: return 35;
        case Qt::Key_Home: return 36;
        case Qt::Key_Left: return forms::vbKeyLeft;
        case Qt::Key_Up: return forms::vbKeyUp;
        case Qt::Key_Right: return forms::vbKeyRight;
        case Qt::Key_Down: return forms::vbKeyDown;
        case Qt::Key_Insert: return 45;
        case Qt::Key_Delete: return forms::vbKeyDelete;
        default: return 0;
    }
}

int vbShiftState(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= forms::vbShiftMask;
    if (modifiers & Qt::ControlModifier) shift |= forms::vbCtrlMask;
    if (modifiers & Qt::AltModifier) shift |= forms::vbAltMask;
    return shift;
}

}  // namespace forms_qt
