#pragma once
// A report definition file: what a report reads and how it lays it out. Our
// own text format (see README.md): "[report]" and "[subreport NAME]" sections
// of "key = value" lines; "#" starts a comment line.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace report {

enum class Layout {
    List,        // one line per row, totals at the end
    Grouped,     // rows grouped by `group` (and `subgroup`) with group totals
    Bars,        // bar chart of `value` by `category`, one bar per `series` side by side
    Stacked,     // the same with the series stacked
    Pie,         // share of `value` by `category`
    Vouchers,    // one voucher form per row
    Settlement,  // one form per `group`: the advance and every row settled against it
};

struct Column {
    std::string field;    // a column of the table or a calculated field
    std::string heading;
    double width = 60;    // points
    bool total = false;   // summed in group and report totals
};

// A line under a settlement form's title: the label, then the field's value in the form's first row.
struct HeadingLine {
    std::string field;
    std::string label;
};

struct Calculated {
    std::string name;
    std::string sql;  // an expression over the table's columns (the definition is a program file)
};

struct Section {
    std::string name;  // empty for the main report
    Layout layout = Layout::List;
    std::vector<std::string> order;
    std::string group;
    std::string subgroup;
    bool details = true;  // false: group lines only (summaries)
    std::vector<Column> columns;
    std::vector<Calculated> calculated;
    std::vector<HeadingLine> headingLines;
    std::string category;  // charts
    std::string series;
    std::string value;
};

struct ReportDefinition {
    std::string name;  // shown under the company
    std::string table = "pettycash";
    bool landscape = false;
    std::vector<std::string> formulas;  // formula fields the caller may set
    Section main;
    std::vector<Section> subreports;

    bool hasFormula(std::string_view name) const;
};

// ReportError (ReportFile) naming the line on any unknown key, section or value.
ReportDefinition parseReportDefinition(std::string_view text);
ReportDefinition loadReportDefinition(const std::filesystem::path& file);

}  // namespace report
