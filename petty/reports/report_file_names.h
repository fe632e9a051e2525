#pragma once
// Which report definition file each report type of the chooser runs.
#include <string>

namespace petty {

struct ReportFileChoice {
    int option = 1;            // the chooser's report type (0 to 12, 9 unused)
    bool excelExport = false;  // "Excel export )" ticked (counts for the ledger only)
    bool summaryOnly = false;  // "Summary only )" ticked (counts for option 8 only)
    bool advances = true;      // advances in use (not noAdvanceMode)
    bool costCentres = false;  // costCentreEnabled
};

// The file name, without folder ("pettycash1acc.rpt"); empty for an option without a report.
std::string reportFileName(const ReportFileChoice& choice);

}  // namespace petty
