#include "petty/shell/configuration_windows.h"

#include "petty/shell/command_windows.h"
#include "petty/shell/pettycash_config.h"
#include "petty/shell/pettycash_config_small.h"

namespace petty {

void registerConfigurationWindows() {
    registerCommandWindow(CommandWindow::Configuration, [] {
        frmpettycashconfig window;
        window.showModal();
    });
    registerCommandWindow(CommandWindow::QuickConfiguration, [] {
        frmpettycashconfigSmall window;
        window.showModal();
    });
}

}  // namespace petty
