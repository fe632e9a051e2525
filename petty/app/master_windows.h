#pragma once
// The main window's commands for the master data (employees, expense heads,
// cost centres) and the change log: each opens a new instance of its window
// modally, which starts from its design values.
namespace petty {

void registerMasterAndChangeLogWindows();

}  // namespace petty
