#pragma once
// The windows that the main window's commands open but that live outside the
// shell's own code (the register, the report windows) or are added to the
// program later. The program registers how to open each at start-up; the main
// window offers a command only while its window is registered.
#include <functional>

namespace petty {

enum class CommandWindow {
    Register,            // frmpettycash, a child of the main window
    Reports,             // reppettycash
    EmployeeMaster,      // frmemployeemaster
    ExpenseHeads,        // frmExpensetypes
    Configuration,       // frmpettycashconfig
    CostCentres,         // frmprojectcodes
    ChangeLog,           // frmChangelog
    Periods,             // frmSessions
    PendingSettlements,  // frmEmpbalance
    QuickConfiguration,  // frmpettycashconfigSmall, on the first run
};

using WindowOpener = std::function<void()>;

void registerCommandWindow(CommandWindow window, WindowOpener open);
bool commandWindowRegistered(CommandWindow window);
// Opens the window (modal ones return once it has closed); nothing when it is not registered.
void openCommandWindow(CommandWindow window);
void clearCommandWindows();

}  // namespace petty
