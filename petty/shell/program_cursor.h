#pragma once
// The program's own mouse pointer, the cursor file of its folder.
namespace petty {

// Makes the file h_point.cur of appFolder (found whatever its letter case) the
// pointer of all the program's windows. forms::Error 53 when it is missing.
void useProgramCursor();

}  // namespace petty
