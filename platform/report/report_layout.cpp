#include "platform/report/report_layout.h"

#include "platform/report/section_layouts.h"

namespace report {

namespace {

void layoutSection(PageWriter& out, const Section& section, const ReportRows& rows) {
    switch (section.layout) {
        case Layout::List:
        case Layout::Grouped: layoutTable(out, section, rows); break;
        case Layout::Bars:
        case Layout::Stacked:
        case Layout::Pie: layoutChart(out, section, rows); break;
        case Layout::Vouchers:
        case Layout::Settlement: layoutVouchers(out, section, rows); break;
    }
}

ReportTable tableOf(const Section& section, const ReportRows& rows) {
    ReportTable table;
    std::vector<size_t> fields;
    for (const Column& c : section.columns) {
        table.headings.push_back(c.heading);
        fields.push_back(rows.indexOf(c.field));
    }
    for (const auto& row : rows.rows) {
        std::vector<jet::Value> cells;
        for (size_t f : fields) cells.push_back(row[f]);
        table.rows.push_back(std::move(cells));
    }
    return table;
}

}  // namespace

Document layoutReport(const ReportDefinition& definition, const ReportRows& main,
                      const std::vector<ReportRows>& subreports, const HeadingTexts& heading) {
    Document doc;
    doc.name = definition.name;
    if (definition.landscape) std::swap(doc.width, doc.height);
    doc.recordCount = static_cast<int64_t>(main.rows.size());
    if (!definition.main.columns.empty()) doc.table = tableOf(definition.main, main);

    PageWriter out(doc, heading.company, heading.title, heading.printedOn);
    layoutSection(out, definition.main, main);
    for (size_t i = 0; i < definition.subreports.size() && i < subreports.size(); ++i) {
        out.setRepeat(nullptr);
        out.need(60);
        out.moveDown(12);
        out.text({out.left(), out.y(), out.width(), 14}, definition.subreports[i].name, 10, true);
        out.mark(definition.subreports[i].name, 0);
        out.moveDown(18);
        layoutSection(out, definition.subreports[i], subreports[i]);
    }
    out.finish();
    return doc;
}

}  // namespace report
