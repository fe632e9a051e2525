#include "petty/shell/common.h"

#include "petty/shell/program_info.h"
#include "petty/shell/program_paths.h"
#include "platform/forms/ui.h"
#include "platform/vb/text_functions.h"

namespace petty {

bool CheckFileExists(const std::string& path) {
    if (path.empty()) {
        forms::ui().msgBox("Report not selected or file name is not available!!");
        return false;
    }
    if (findOrdinaryFile(path)) return true;

    // Report files are named in either letter case (".rpt", "c.RPT"): all of them get the message.
    const std::string lower = vb::lcase(path);
    const bool report = lower.find("rpt") != std::string::npos;
    if (report && lower.find("stom") != std::string::npos) {
        forms::ui().beep();
        forms::ui().msgBox(path +
                           " : This custom report is not found! This is an optional report provided on request! If "
                           "you need a customised report, send and email to " +
                           std::string(kSupportAddress) + " with details.");
    } else if (report) {
        forms::ui().beep();
        forms::ui().msgBox(path + " not found! ");
    }
    return false;
}

}  // namespace petty
