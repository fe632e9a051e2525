#include "petty/shell/command_windows.h"

#include <map>

namespace petty {

namespace {
std::map<CommandWindow, WindowOpener>& openers() {
    static std::map<CommandWindow, WindowOpener> table;
    return table;
}
}  // namespace

void registerCommandWindow(CommandWindow window, WindowOpener open) { openers()[window] = std::move(open); }

bool commandWindowRegistered(CommandWindow window) { return openers().count(window) != 0; }

void openCommandWindow(CommandWindow window) {
    auto it = openers().find(window);
    if (it == openers().end()) return;
    const WindowOpener open = it->second;  // a copy: the window may register others while open
    open();
}

void clearCommandWindows() { openers().clear(); }

}  // namespace petty
