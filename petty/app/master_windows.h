#pragma once
// The main window's commands for the master data (employees, expense heads,
// cost centres), the change log and the two views of the book (periods,
// pending settlements): each opens a new instance of its window modally,
// which starts from its design values.
namespace petty {

void registerMasterAndChangeLogWindows();
void registerViewWindows();

}  // namespace petty
