#pragma once
// Lays a report out on pages: the heading (company, the report's name and its
// title formula), the main report in its layout, then each sub-report.
#include <string>
#include <vector>

#include "platform/report/page_model.h"
#include "platform/report/report_data.h"
#include "platform/report/report_definition.h"

namespace report {

struct HeadingTexts {
    std::string company;
    std::string title;
    std::string printedOn;
};

Document layoutReport(const ReportDefinition& definition, const ReportRows& main,
                      const std::vector<ReportRows>& subreports, const HeadingTexts& heading);

}  // namespace report
