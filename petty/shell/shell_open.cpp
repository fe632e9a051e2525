#include "petty/shell/shell_open.h"

#include <filesystem>

#include "petty/shell/program_paths.h"
#include "platform/forms/ui.h"

namespace petty {

bool openWithDesktop(const std::string& path) {
    // The shell's codes above 32 mean the program was started.
    if (forms::ui().shellOpen(path, "Open") > 32) return true;
    const std::string shown = shownPath(path);
    forms::ui().msgBox("No program on this desktop opens " + std::filesystem::path(shown).filename().string() +
                           "; the file is " + shown,
                       forms::MsgButtons::OkOnly, forms::MsgIcon::Information);
    return false;
}

}  // namespace petty
