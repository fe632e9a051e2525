#include "petty/reports/report_file_names.h"

namespace petty {

std::string reportFileName(const ReportFileChoice& c) {
    // The ledger, its export and the receiver report come in forms for
    // advances ("a") and cost centres ("cc").
    const std::string variant = std::string(c.advances ? "a" : "") + (c.costCentres ? "cc" : "");
    switch (c.option) {
        case 0: return "pettycash6s.rpt";
        case 1: return (c.excelExport ? "pettycash0" : "pettycash1") + variant + ".rpt";
        case 2: return "pettycash2" + variant + ".rpt";
        case 3:
        case 4:
        case 5:
        case 6:
        case 7: return "pettycash" + std::to_string(c.option) + ".rpt";
        case 8: return c.summaryOnly ? "pettycash8a.rpt" : "pettycash8.rpt";
        case 10: return "custom.rpt";
        case 11: return "pettycash10.rpt";
        case 12: return "pettycash11.rpt";
        default: return {};
    }
}

}  // namespace petty
