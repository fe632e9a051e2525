#pragma once
// Opening a file with the desktop's program for its type, through the
// desktop's opener (xdg-open found on PATH). The opener either fails at once
// (no program for the type: "no method available") or starts the program,
// which without a known desktop runs in its foreground. So its verdict is
// awaited a short while: a failure within it is reported, silence means the
// program runs. The opener runs detached: it outlives the wait and is never
// left a zombie of this process.
#include <chrono>
#include <string>

namespace forms_qt {

// Whether the opener took `file` (a file system path); false when there is no
// opener or it failed within `wait`.
bool OpenWithDesktopProgram(const std::string& file,
                            std::chrono::milliseconds wait = std::chrono::milliseconds(1500));

}  // namespace forms_qt
