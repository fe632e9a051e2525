#pragma once
// The one place where the program's SQL (the Jet dialect) becomes SQLite's:
//   [bracketed names]            -> "quoted names"
//   true / false                 -> 1 / 0 (how Yes/No columns are stored)
//   datevalue('short date')      -> '2014-03-05' (dates are stored as ISO text);
//                                   a text that is no date is refused
//   datevalue(?)                 -> ? bound as a date
//   x like 'pattern'             -> * and ? as wildcards, % and _ literal
//   x like ?                     -> the bound text read as such a pattern
//   select [distinct] top n ...  -> ... limit n
// iif(), "is null", count/sum/max, GROUP BY and ORDER BY are the same in both.
// Text comparison ignores letter case through the NOCASE text columns.
//
// "?" marks a parameter. Values a user typed are always passed that way, never
// spliced into the text.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/vb/locale.h"

namespace jet {

enum class ParamKind { Plain, DateValue, LikePattern };

struct Translation {
    std::string sql;                 // SQLite text
    std::vector<ParamKind> params;   // one per "?", in order
    bool isSelect = false;
    // For a select from one table without DISTINCT, grouping, aggregates or
    // parameters in its column list: the rows are rows of that table and can be
    // written back. Empty otherwise.
    std::optional<std::string> baseTable;  // the table name, unquoted
    std::string selectList;                // translated column list
    std::string fromClause;                // translated text from FROM to the end
};

Translation translateSql(std::string_view jetSql, const vb::Locale& locale = vb::currentLocale());

// A record source is an SQL text or the name of a table ("pettycash",
// "[Expense types]"), which stands for all its rows.
Translation translateRecordSource(std::string_view source, const vb::Locale& locale = vb::currentLocale());

// A Jet LIKE pattern as an SQLite LIKE pattern with "\" as its escape
// character. "[x]" matches the one character x literally; other character
// lists and "#" (a digit) have no SQLite counterpart and are refused.
std::string translateLikePattern(std::string_view jetPattern);

// Text that a Jet LIKE pattern matches literally: a user's search text put
// between wildcards ("*" + likeLiteral(text) + "*") matches only itself.
std::string likeLiteral(std::string_view text);

// A name quoted for SQLite.
std::string quoteIdentifier(std::string_view name);

}  // namespace jet
