#include "platform/report/report_data.h"

#include "platform/jet/error.h"
#include "platform/report/report_error.h"
#include "platform/vb/text_compare.h"

namespace report {

size_t ReportRows::indexOf(std::string_view name) const {
    for (size_t i = 0; i < names.size(); ++i)
        if (vb::equalIgnoringCase(names[i], name)) return i;
    throw ReportError(ReportErrorCode::ReportFile, "The report names an unknown field \"" + std::string(name) + "\"");
}

ReportRows readSection(jet::Database& db, const ReportDefinition& definition, const Section& section,
                       const SqlCondition& condition) {
    std::string sql = "SELECT *";
    for (const Calculated& c : section.calculated) sql += ", (" + c.sql + ") AS [" + c.name + "]";
    sql += " FROM [" + definition.table + "]";
    if (!condition.sql.empty()) sql += " WHERE " + condition.sql;
    std::vector<std::string> order;
    if (!section.group.empty()) order.push_back(section.group);
    if (!section.subgroup.empty()) order.push_back(section.subgroup);
    if (!section.category.empty()) order.push_back(section.category);
    order.insert(order.end(), section.order.begin(), section.order.end());
    for (size_t i = 0; i < order.size(); ++i) sql += (i == 0 ? " ORDER BY [" : ", [") + order[i] + "]";

    ReportRows out;
    try {
        // Every field the formula or the sort names must be a column: an unknown
        // name would otherwise be read as a text and select silently nothing.
        const jet::Recordset shape = db.openRecordset("SELECT * FROM [" + definition.table + "] WHERE 0 = 1");
        std::vector<std::string> known;
        for (size_t i = 0; i < shape.fieldCount(); ++i) known.push_back(shape.fieldInfo(i).name);
        for (const Calculated& c : section.calculated) known.push_back(c.name);
        std::vector<std::string> named = condition.fields;
        named.insert(named.end(), order.begin(), order.end());
        for (const std::string& name : named) {
            bool found = false;
            for (const std::string& k : known) found = found || vb::equalIgnoringCase(k, name);
            if (!found)
                throw ReportError(ReportErrorCode::Formula,
                                  "The table " + definition.table + " has no field \"" + name + "\"");
        }
        jet::Recordset rs = db.openRecordset(sql, condition.params);
        for (size_t i = 0; i < rs.fieldCount(); ++i) out.names.push_back(rs.fieldInfo(i).name);
        for (; !rs.eof(); rs.moveNext()) {
            std::vector<jet::Value> row;
            row.reserve(out.names.size());
            for (size_t i = 0; i < out.names.size(); ++i) row.push_back(rs.field(i));
            out.rows.push_back(std::move(row));
        }
    } catch (const jet::Error& e) {
        throw ReportError(ReportErrorCode::Data, "The report's data cannot be read: " + e.description());
    }
    return out;
}

}  // namespace report
