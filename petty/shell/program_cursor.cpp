#include "petty/shell/program_cursor.h"

#include "petty/shell/app_state.h"
#include "petty/shell/program_paths.h"
#include "platform/forms/ui.h"

namespace petty {

void useProgramCursor() {
    forms::ui().setMouseIcon(resolveProgramPath(appState().appFolder + "h_point.cur").string());
    forms::ui().setMousePointer(forms::vbCustom);
}

}  // namespace petty
