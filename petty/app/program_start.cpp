#include "petty/app/program_start.h"

#include <memory>
#include <optional>
#include <string>

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
#include "platform/files/atomic_file_writer.h"
#include "platform/files/file_lock.h"
#include "platform/forms/ui.h"
#include "platform/jet/file_name.h"

namespace petty {

std::filesystem::path programFolderOf(const std::filesystem::path& folder) {
    std::filesystem::path absolute = std::filesystem::absolute(folder).lexically_normal();
    if (!absolute.has_filename() && absolute.has_parent_path() && absolute != absolute.root_path())
        absolute = absolute.parent_path();
    return absolute;
}

namespace {

// Held for the rest of the run: one program per book.
std::optional<files::FileLock>& bookLock() {
    static std::optional<files::FileLock> lock;
    return lock;
}

// Takes the book for this run (a lock on the book file itself, wherever its
// path leads), and clears what a killed write of an earlier run left in its
// folder. False, after telling the user, when another program has the book
// open. A book that can only be read is said so, and opens for reading.
bool takeBookFolder(const std::filesystem::path& programFolder) {
    const std::filesystem::path book = jet::findIgnoringCase(bookPath(programFolder)).value_or(bookPath(programFolder));
    try {
        // The same book again in this run keeps its lock: closing the lock's
        // handle would end the engine's own locks on the file too.
        if (!bookLock() || !bookLock()->covers(book)) {
            bookLock().reset();
            bookLock() = files::FileLock::tryTake(book);
        }
    } catch (const std::filesystem::filesystem_error& e) {
        forms::ui().msgBox("The book in " + programFolder.string() + " cannot be opened: " + e.code().message());
        return false;
    }
    if (!bookLock()) {
        forms::ui().msgBox(bookOpenElsewhereMessage(programFolder));
        return false;
    }
    if (bookLock()->readOnly()) {
        forms::ui().msgBox(readOnlyBookMessage(programFolder));
        return true;
    }
    files::removeStaleTemporaries(programFolder);
    files::removeStaleTemporaries(programFolder / kExportFolder);
    files::removeStaleTemporaries(programFolder / kDocumentsFolder);  // half bills of a killed scan
    return true;
}

}  // namespace

std::string readOnlyBookMessage(const std::filesystem::path& programFolder) {
    return "The book in " + programFolder.string() +
           " can only be read here (read-only media, or a file or folder you may not change): the register, "
           "reports and search work, and nothing can be saved.";
}

std::string bookOpenElsewhereMessage(const std::filesystem::path& programFolder) {
    return "The book in " + programFolder.string() +
           " is open in another copy of the program. Close it there, then start again.";
}

bool startProgram(const std::filesystem::path& folder) {
    const std::filesystem::path programFolder = programFolderOf(folder);
    if (!jet::findIgnoringCase(bookPath(programFolder))) {
        frmNewBook newBook(programFolder);
        newBook.showModal();
        if (!newBook.created()) return false;
    }
    if (!takeBookFolder(programFolder)) return false;
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
