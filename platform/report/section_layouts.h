#pragma once
// The layouts of one section; report_layout.cpp picks one per section.
#include "platform/report/page_writer.h"
#include "platform/report/report_data.h"
#include "platform/report/report_definition.h"

namespace report {

void layoutTable(PageWriter& out, const Section& section, const ReportRows& rows);
void layoutChart(PageWriter& out, const Section& section, const ReportRows& rows);
void layoutVouchers(PageWriter& out, const Section& section, const ReportRows& rows);

}  // namespace report
