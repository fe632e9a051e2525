#include "petty/register/register_window.h"

#include "petty/register/frm_pettycash.h"
#include "petty/shell/command_windows.h"
#include "petty/shell/form_instances.h"
#include "petty/shell/pettycash_main.h"

namespace petty {

void registerRegisterWindow() {
    registerCommandWindow(CommandWindow::Register, [] {
        frmpettycash& window = formInstances().get<frmpettycash>();
        if (!window.isMdiChild()) window.setMdiParent(formInstances().get<Pettycashmain>());
        window.show();
    });
}

}  // namespace petty
