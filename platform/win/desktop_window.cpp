#include "platform/win/desktop_window.h"

namespace win {

HWND GetDesktopWindow() {
    // The desktop is the first window there is: serial 1 of the window kind.
    return HWND{(static_cast<uint32_t>(HandleKind::Window) << kHandleKindShift) | 1u};
}

}  // namespace win
