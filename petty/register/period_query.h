#pragma once
// The register's one-figure queries: one SQL text, one column of its first row.
#include <string_view>
#include <vector>

#include "platform/jet/database.h"
#include "platform/jet/value.h"

namespace petty {

// The column of the query's first row; Null when the query returns no row.
// Database errors reach the caller.
jet::Value firstRowValue(jet::Database& db, std::string_view sql, std::string_view column,
                         const std::vector<jet::Value>& params = {});

}  // namespace petty
