#pragma once
// The rows one section of a report reads: its table's columns and its
// calculated fields, under the selection formula's condition, in group and
// sort order.
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/database.h"
#include "platform/report/formula.h"
#include "platform/report/report_definition.h"

namespace report {

struct ReportRows {
    std::vector<std::string> names;
    std::vector<std::vector<jet::Value>> rows;

    // The index of the named column, letter case ignored; ReportError (ReportFile)
    // when the report names a field its table does not have.
    size_t indexOf(std::string_view name) const;
};

ReportRows readSection(jet::Database& db, const ReportDefinition& definition, const Section& section,
                       const SqlCondition& condition);

}  // namespace report
