#include "petty/app/program_start.h"

#include <memory>

#include "petty/app/master_windows.h"
#include "petty/app/new_book_window.h"
#include "petty/register/register_window.h"
#include "petty/reports/reppettycash.h"
#include "petty/shell/app_state.h"
#include "petty/shell/business_database.h"
#include "petty/shell/command_windows.h"
#include "petty/shell/configuration_windows.h"
#include "petty/shell/form_instances.h"
#include "petty/shell/startup_pettycash.h"
#include "petty/shell/stored_options_mark.h"
#include "platform/jet/file_name.h"

namespace petty {

std::filesystem::path programFolderOf(const std::filesystem::path& folder) {
    std::filesystem::path absolute = std::filesystem::absolute(folder).lexically_normal();
    if (!absolute.has_filename() && absolute.has_parent_path() && absolute != absolute.root_path())
        absolute = absolute.parent_path();
    return absolute;
}

bool startProgram(const std::filesystem::path& folder) {
    const std::filesystem::path programFolder = programFolderOf(folder);
    if (!jet::findIgnoringCase(bookPath(programFolder))) {
        frmNewBook newBook(programFolder);
        newBook.showModal();
        if (!newBook.created()) return false;
    }
    registerConfigurationWindows();
    appState().firstRun = firstRunOf(bookPath(programFolder));
    appState().programFolder = programFolder.string();
    registerMasterAndChangeLogWindows();
    registerRegisterWindow();
    registerViewWindows();
    // The report chooser starts from its design values at every opening.
    registerCommandWindow(CommandWindow::Reports, [] { std::make_unique<reppettycash>()->showModal(); });
    formInstances().get<STARTUPpettycash>().show();
    return true;
}

}  // namespace petty
