#include "petty/reports/report_run.h"

#include <string>

#include "petty/shell/app_state.h"
#include "petty/shell/business_database.h"
#include "petty/shell/program_paths.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/forms/ui.h"
#include "platform/report/dispatch_ids.h"

namespace petty {

void connectReportToBook(report::ReportControl& control) {
    namespace id = report::dispid;
    const std::string connect(kBookConnect);
    skipOnFailure([&] { control.put(id::kConnect, connect); });
    skipOnFailure([&] {
        if (std::get<int32_t>(control.get(id::kSubreportCount)) < 1) return;
        control.put(id::kSubreportToChange, std::get<std::string>(control.getIndexed(id::kSubreportName, 0)));
        control.put(id::kConnect, connect);
        control.put(id::kSubreportToChange, std::string());
    });
}

void loadReportCursor() {
    // appFolder is kept in the program's Windows form ("...\"): resolved, not used as it stands.
    skipOnFailure([] { forms::ui().setMouseIcon(resolveProgramPath(appState().appFolder + "h_point.cur").string()); });
}

}  // namespace petty
