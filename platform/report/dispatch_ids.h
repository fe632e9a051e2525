#pragma once
// The members of the report control as callers reach them: by dispatch ID.
#include <cstdint>

namespace report::dispid {

constexpr int32_t kReportFileName = 3;     // string, also read back
constexpr int32_t kWindowTitle = 8;        // string
constexpr int32_t kSelectionFormula = 13;  // string
constexpr int32_t kAction = 17;            // 16-bit integer; 1 runs the report
constexpr int32_t kConnect = 20;           // string: ";pwd=<password>"
constexpr int32_t kDestination = 24;       // 0 preview window, 1 printer, 2 file
constexpr int32_t kPrintFileType = 25;     // export type for destination 2 (9: spreadsheet)
constexpr int32_t kFormulas = 29;          // indexed string: "name= 'text'"
constexpr int32_t kDataFiles = 32;         // indexed string: the database file
constexpr int32_t kSubreportToChange = 108;  // string: "" is the main report
constexpr int32_t kSubreportCount = 109;     // integer, read only
constexpr int32_t kSubreportName = 110;      // indexed string, read only
constexpr int32_t kReset = 112;              // method: forget every setting of the last run

// Preview-window switches (Boolean). What each shows in our preview window.
constexpr int32_t kShowGroupTree = 115;       // the list of groups beside the pages
constexpr int32_t kShowStatusBar = 117;       // record count and page number under the pages
constexpr int32_t kShowSearchButton = 118;    // find text in the report
constexpr int32_t kShowPrintButton = 119;     // print the report
constexpr int32_t kAllowDrillDown = 120;      // accepted; the preview has no drill-down
constexpr int32_t kShowExportButton = 121;    // save as PDF or spreadsheet
constexpr int32_t kShowNavigation = 124;      // first / previous / next / last page and zoom
constexpr int32_t kShowCloseButton = 125;     // close the preview

// Destinations and export types.
constexpr int32_t kToWindow = 0;
constexpr int32_t kToPrinter = 1;
constexpr int32_t kToFile = 2;
constexpr int32_t kSpreadsheetExport = 9;

}  // namespace report::dispid
