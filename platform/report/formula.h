#pragma once
// The formulas callers hand the report control.
//
// Selection formulas: {table.field}, numbers, quoted texts ('...' or "...",
// the quote doubled inside), date(y, m, d), isnull({table.field}), true,
// false, the comparisons = <> >= <= >, and, or, not, and parentheses; "and"
// binds tighter than "or". They are translated into an SQL condition whose
// values are all bound parameters, so no text of the formula reaches the SQL.
// Anything else is refused with ReportError (Formula) saying what and where.
//
// Formula fields: "name= 'text'", a text given to a formula field of the report.
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/value.h"

namespace report {

struct SqlCondition {
    std::string sql;                  // empty for an empty formula: every row
    std::vector<jet::Value> params;   // one per "?" in sql, in order
    std::vector<std::string> fields;  // the table's fields the formula names
};

// `table` is the table the report reads: fields of any other table are refused.
SqlCondition translateSelectionFormula(std::string_view formula, std::string_view table);

struct FormulaAssignment {
    std::string name;
    std::string text;
};
FormulaAssignment parseFormulaAssignment(std::string_view formula);

// A text as a formula's quoted literal: 'O''Brien'. Every caller that puts a
// user's text into a formula goes through this.
std::string formulaText(std::string_view text);

}  // namespace report
