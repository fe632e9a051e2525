#pragma once
// The steps the report chooser and voucher printing take alike on their
// report control before they start a run.
#include "platform/report/report_control.h"

namespace petty {

// The book's connect string for the main report, then for its first
// sub-report when it has one, then back to the main report. Each step passes
// over an error of the control, as the windows' runs do.
void connectReportToBook(report::ReportControl& control);

// The program's cursor file (h_point.cur of appFolder, found whatever its
// letter case) as the custom mouse icon; passed over when it is missing.
void loadReportCursor();

}  // namespace petty
