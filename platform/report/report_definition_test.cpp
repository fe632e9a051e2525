#include "platform/report/report_definition.h"

#include <gtest/gtest.h>

#include "platform/report/report_error.h"

namespace report {
namespace {

TEST(ReportDefinition, ReadsTheReportItsColumnsCalculationsAndSubreports) {
    const ReportDefinition d = parseReportDefinition(R"(# a ledger
[report]
name = Ledger
orientation = landscape
formulas = company, TITLE
layout = grouped
group = Employee
subgroup = Head
order = Date, VoucherID
calc Expense = iif(Credit is null, 0, Credit)
column = VoucherID | Voucher | 40
column = Expense | Expense | 60.5 | total

[subreport Head summary]
layout = pie
category = Head
value = Expense
calc Expense = Credit
)");
    EXPECT_EQ(d.name, "Ledger");
    EXPECT_EQ(d.table, "pettycash");
    EXPECT_TRUE(d.landscape);
    EXPECT_TRUE(d.hasFormula("title"));
    EXPECT_FALSE(d.hasFormula("heading"));
    EXPECT_EQ(d.main.layout, Layout::Grouped);
    EXPECT_EQ(d.main.group, "Employee");
    EXPECT_EQ(d.main.subgroup, "Head");
    EXPECT_EQ(d.main.order, (std::vector<std::string>{"Date", "VoucherID"}));
    ASSERT_EQ(d.main.calculated.size(), 1u);
    EXPECT_EQ(d.main.calculated[0].name, "Expense");
    EXPECT_EQ(d.main.calculated[0].sql, "iif(Credit is null, 0, Credit)");
    ASSERT_EQ(d.main.columns.size(), 2u);
    EXPECT_EQ(d.main.columns[1].heading, "Expense");
    EXPECT_DOUBLE_EQ(d.main.columns[1].width, 60.5);
    EXPECT_TRUE(d.main.columns[1].total);
    EXPECT_FALSE(d.main.columns[0].total);
    ASSERT_EQ(d.subreports.size(), 1u);
    EXPECT_EQ(d.subreports[0].name, "Head summary");
    EXPECT_EQ(d.subreports[0].layout, Layout::Pie);
}

TEST(ReportDefinition, RefusesWhatItDoesNotKnowNamingTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "no [report] section"},
        {"name = x", "line 1: a setting before the [report] section"},
        {"[report]\nlayout = list\ncolour = red\ncolumn = a | A | 10", "line 3: unknown key \"colour\""},
        {"[report]\nlayout = table", "line 2: unknown layout \"table\""},
        {"[report]\ncolumn = a | A", "line 2: \"column = field | heading | width [| total]\" expected"},
        {"[report]\ncolumn = a | A | wide", "line 2: a column width is a positive number"},
        {"[report]\ncolumn = a | A | 10 | sum", "line 2: a column's fourth part is \"total\""},
        {"[report]\n[report]", "line 2: a second [report] section"},
        {"[report]\n[summary]", "line 2: unknown section [summary]"},
        {"[report]\nlayout = pie\nvalue = x", "a chart names its category and value"},
        {"[report]\nlayout = grouped\ncolumn = a | A | 10", "a grouped layout names its group"},
        {"[report]\nlayout = list", "a section without columns"},
        {"[report]\njust text", "line 2: \"key = value\" expected"},
    };
    for (const auto& [text, why] : cases) {
        try {
            parseReportDefinition(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const ReportError& e) {
            EXPECT_EQ(e.code(), ReportErrorCode::ReportFile);
            EXPECT_NE(std::string(e.what()).find(why), std::string::npos) << e.what();
        }
    }
}

TEST(ReportDefinition, AMissingFileIsAReportFileError) {
    try {
        loadReportDefinition("/nonexistent/pettycash1.rpt");
        FAIL();
    } catch (const ReportError& e) {
        EXPECT_EQ(e.code(), ReportErrorCode::ReportFile);
        EXPECT_NE(std::string(e.what()).find("pettycash1.rpt"), std::string::npos);
    }
}

}  // namespace
}  // namespace report
