#include "petty/register/period_query.h"

namespace petty {

jet::Value firstRowValue(jet::Database& db, std::string_view sql, std::string_view column,
                         const std::vector<jet::Value>& params) {
    jet::Recordset rs = db.openRecordset(sql, params);
    if (rs.eof()) return {};
    return rs.field(column);
}

}  // namespace petty
