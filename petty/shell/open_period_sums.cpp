#include "petty/shell/open_period_sums.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "platform/jet/error.h"

namespace petty {

namespace {

constexpr const char* kSumsTable = "openperiodsums";

// An amount of row r in whole ten-thousandths; an empty one is zero.
std::string units(const std::string& r, const char* column) {
    return "CAST(round(ifnull(" + r + "." + column + ", 0) * 10000) AS INTEGER)";
}

std::string isOpen(const std::string& r) { return r + ".Closed = 'No' COLLATE NOCASE"; }

std::string isUnsettled(const std::string& r) {
    return isOpen(r) + " AND " + r + ".Matchrequired = 'Yes' COLLATE NOCASE AND " + r + ".Matched = 'No' COLLATE NOCASE";
}

struct Figure {
    const char* column;
    std::string (*share)(const std::string& r);  // what row r adds to the figure
};

// Each figure as the status line's own sums count it, one row at a time.
const Figure kFigures[] = {
    {"cash",
     [](const std::string& r) {
         return "CASE WHEN " + isOpen(r) + " THEN " + units(r, "Debit") + " - " + units(r, "Credit") + " ELSE 0 END";
     }},
    {"expenses",
     [](const std::string& r) {
         return "CASE WHEN " + isOpen(r) + " THEN " + units(r, "expensefromadvance") + " + CASE WHEN " + r +
                ".TransType = 'Reimbursed from pettycash' COLLATE NOCASE THEN " + units(r, "Credit") +
                " ELSE 0 END ELSE 0 END";
     }},
    {"fill",
     [](const std::string& r) {
         return "CASE WHEN " + isOpen(r) + " AND (" + r + ".TransType = 'Cash transfer to PC' COLLATE NOCASE OR " + r +
                ".TransType = 'Carryover' COLLATE NOCASE) THEN " + units(r, "Debit") + " ELSE 0 END";
     }},
    {"unsettledcount", [](const std::string& r) { return "CASE WHEN " + isUnsettled(r) + " THEN 1 ELSE 0 END"; }},
    {"openrows", [](const std::string& r) { return "CASE WHEN " + isOpen(r) + " THEN 1 ELSE 0 END"; }},
    {"unsettled",
     [](const std::string& r) {
         return "CASE WHEN " + isUnsettled(r) + " THEN " + units(r, "expensefromadvance") + " + " + units(r, "Debit") +
                " - " + units(r, "Credit") + " ELSE 0 END";
     }},
};

const char* const kTriggers[] = {"openperiodsums_insert", "openperiodsums_delete", "openperiodsums_update"};

// "f = f + share(new) - share(old), ..." for the rows a trigger sees.
std::string changes(bool added, bool removed) {
    std::string set;
    for (const Figure& f : kFigures) {
        if (!set.empty()) set += ", ";
        set += std::string(f.column) + " = " + f.column;
        if (added) set += " + (" + f.share("new") + ")";
        if (removed) set += " - (" + f.share("old") + ")";
    }
    return "UPDATE " + std::string(kSumsTable) + " SET " + set + " WHERE id = 1; ";
}

// The table with every figure and the three triggers (a book given fewer
// figures by an earlier build is given them anew).
bool hasKeptSums(jet::Database& db) {
    std::string names;
    for (const char* name : kTriggers) names += std::string(names.empty() ? "'" : ", '") + name + "'";
    jet::Recordset found = db.openRecordset(
        "SELECT type, sql FROM sqlite_master WHERE (type = 'table' AND name = '" + std::string(kSumsTable) +
            "') OR (type = 'trigger' AND tbl_name = 'pettycash' AND name IN (" + names + "))",
        {}, jet::RecordsetType::Snapshot);
    size_t triggers = 0;
    bool table = false;
    for (; !found.eof(); found.moveNext()) {
        if (found.field("type").asText() == "trigger") {
            ++triggers;
            continue;
        }
        const std::string sql = found.field("sql").asText();
        table = std::all_of(std::begin(kFigures), std::end(kFigures),
                            [&](const Figure& f) { return sql.find(std::string(" ") + f.column + " ") != std::string::npos; });
    }
    return table && triggers == std::size(kTriggers);
}

}  // namespace

void keepOpenPeriodSums(jet::Database& db) {
    if (hasKeptSums(db)) return;
    jet::Transaction transaction(db);
    // What a book with half of them would hold (none is made so) goes first.
    for (const char* name : kTriggers) db.execute("DROP TRIGGER IF EXISTS " + std::string(name));
    db.execute("DROP TABLE IF EXISTS " + std::string(kSumsTable));

    std::string columns, totals;
    for (const Figure& f : kFigures) {
        columns += std::string(", ") + f.column + " NOT NULL";
        totals += ", coalesce(sum(" + f.share("pettycash") + "), 0)";
    }
    db.execute("CREATE TABLE " + std::string(kSumsTable) + " (id INTEGER PRIMARY KEY CHECK (id = 1)" + columns + ")");
    db.execute("INSERT INTO " + std::string(kSumsTable) + " SELECT 1" + totals + " FROM pettycash");
    // A write of the balances alone (the running-balance pass) fires none.
    db.execute(std::string("CREATE TRIGGER ") + kTriggers[0] + " AFTER INSERT ON pettycash BEGIN " +
               changes(true, false) + "END");
    db.execute(std::string("CREATE TRIGGER ") + kTriggers[1] + " AFTER DELETE ON pettycash BEGIN " +
               changes(false, true) + "END");
    db.execute(std::string("CREATE TRIGGER ") + kTriggers[2] +
               " AFTER UPDATE OF Closed, TransType, Debit, Credit, expensefromadvance, Matchrequired, Matched "
               "ON pettycash BEGIN " +
               changes(true, true) + "END");
    transaction.commit();
}

std::optional<OpenPeriodSums> keptOpenPeriodSums(jet::Database& db) {
    try {
        if (!hasKeptSums(db)) return std::nullopt;
        jet::Recordset row = db.openRecordset("SELECT cash, expenses, fill, unsettledcount, unsettled, openrows FROM " +
                                              std::string(kSumsTable) + " WHERE id = 1");
        if (row.eof()) return std::nullopt;
        int64_t values[6];
        for (size_t i = 0; i < std::size(values); ++i) {
            const jet::Value v = row.field(i);
            // A total beyond a whole number of units (it overflowed) is summed instead.
            if (!v.isLong()) return std::nullopt;
            values[i] = v.asLong();
        }
        return OpenPeriodSums{vb::Currency::fromUnits(values[0]), vb::Currency::fromUnits(values[1]),
                              vb::Currency::fromUnits(values[2]), values[3], vb::Currency::fromUnits(values[4]),
                              values[5]};
    } catch (const jet::Error&) {
        return std::nullopt;
    }
}

}  // namespace petty
