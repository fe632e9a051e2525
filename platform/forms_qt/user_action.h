#pragma once
// The one way the renderer hands what the user did to the runtime: every
// widget event that means a user action calls act() with a forms::user call.
//
// - An error that escapes the program's own handlers ends the program as the
//   runtime does for any error left unhandled: a message box "Run-time error '<n>':" with the
//   description, then the end of the program.
// - The end of the program (forms::ProgramEnded) stops the action silently:
//   the Ui service has already asked the event loops to quit.
// - A single click on a control that also takes double clicks waits for the
//   double-click interval, so that a double click raises Click once and then
//   DblClick, the order the handlers expect. Any other action runs the waiting click first.
#include <QObject>
#include <functional>

namespace forms_qt {

// False when the program ended during the action.
bool act(const std::function<void()>& action);

// Runs the action once the current widget event is done (for actions that
// arrive inside focus or activation events, where a message box must not open).
void actLater(QObject* context, std::function<void()> action);

// A click that may still become a double click; dropped when `context` dies first.
void actAfterDoubleClickInterval(QObject* context, std::function<void()> singleClick);
// The second click came: the waiting single click is dropped (the double
// click's own action runs both).
void dropPendingClick();

// Reports an error no handler caught, then ends the program.
void reportUnhandledError(int number, const std::string& description);

}  // namespace forms_qt
