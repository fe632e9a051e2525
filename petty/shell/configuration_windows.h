#pragma once
// The main window reaches the two configuration windows through its command
// registry (command_windows.h).
namespace petty {

// The configuration command opens frmpettycashconfig, the first-run step
// frmpettycashconfigSmall; each modally, made anew for every opening.
void registerConfigurationWindows();

}  // namespace petty
