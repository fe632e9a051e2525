#pragma once
// How the main window opens the register: as its child window, one instance
// for the program's run.
namespace petty {

// Registers the register window with the main window's commands.
void registerRegisterWindow();

}  // namespace petty
