#include "platform/report/report_output.h"

namespace report {

namespace {
ReportOutput* installed = nullptr;
}

ReportOutput* reportOutput() { return installed; }
void setReportOutput(ReportOutput* output) { installed = output; }

}  // namespace report
