#include "petty/shell/book_values.h"

#include <vector>

namespace petty {

namespace {

// The largest whole amount a Currency holds (its range ends at
// 922,337,203,685,477.5807).
constexpr const char* kLargestAmount = "922337203685477";
constexpr long double kLargestAmountValue = 922337203685477.0L;

// The amount columns, and those of them the program adds up (the period's
// balance, the status line, the ledger's totals).
constexpr const char* kAmountColumns[] = {"openingbalance", "Debit", "Credit", "expensefromadvance",
                                          "runningbalance"};
constexpr const char* kSummedColumns[] = {"Debit", "Credit", "expensefromadvance"};
// Whole numbers the program computes with: the period, the advance settled against.
constexpr const char* kWholeNumberColumns[] = {"TermID", "Matchwith", "VoucherIDforGrouping"};
constexpr const char* kDateColumns[] = {"Date", "Enteredon"};

// A value the program cannot compute with: the condition that finds it and
// what is said of the voucher that holds it.
struct Fault {
    std::string condition;
    std::string said;
};

std::vector<Fault> valueFaults() {
    std::vector<Fault> faults;
    for (const std::string column : kAmountColumns) {
        const std::string name = "[" + column + "]";
        faults.push_back({"typeof(" + name + ") NOT IN ('null', 'integer', 'real')",
                          " has a " + column + " that is not an amount"});
        faults.push_back({"abs(" + name + ") > " + kLargestAmount, " has a " + column + " outside the range of an amount"});
    }
    for (const std::string column : kWholeNumberColumns) {
        const std::string name = "[" + column + "]";
        faults.push_back({"typeof(" + name + ") NOT IN ('null', 'integer') AND NOT (typeof(" + name + ") = 'real' AND " +
                              name + " = round(" + name + ") AND abs(" + name + ") < 9007199254740992)",
                          " has a " + column + " that is not a whole number"});
    }
    for (const std::string column : kDateColumns) {
        const std::string name = "[" + column + "]";
        faults.push_back({name + " IS NOT NULL AND (typeof(" + name + ") <> 'text' OR date(" + name + ") IS NULL)",
                          " has a " + column + " that is not a date"});
    }
    return faults;
}

// The first voucher (in voucher order) that `condition` holds for, or none.
std::string firstVoucherWhere(jet::Database& db, const std::string& condition) {
    jet::Recordset rows =
        db.openRecordset("SELECT TOP 1 VoucherID FROM pettycash WHERE " + condition + " ORDER BY VoucherID");
    return rows.eof() ? std::string() : rows.field("VoucherID").asText();
}

// One pass over the vouchers finds whether any value is wrong; only then is
// each kind of fault looked for, in a fixed order, to name it.
std::string badValue(jet::Database& db) {
    const std::vector<Fault> faults = valueFaults();
    std::string any;
    for (const Fault& fault : faults) any += (any.empty() ? "(" : " OR (") + fault.condition + ")";
    if (firstVoucherWhere(db, any).empty()) return {};
    for (const Fault& fault : faults)
        if (const std::string voucher = firstVoucherWhere(db, fault.condition); !voucher.empty())
            return "voucher " + voucher + fault.said;
    return {};
}

// Every sum the program makes is at most the sum of the amounts' sizes: when
// that stays in range, so do they all. Otherwise the voucher at which it
// leaves the range is named.
std::string sumsBeyondRange(jet::Database& db) {
    std::string sizes;
    for (const std::string column : kSummedColumns) sizes += (sizes.empty() ? "" : " + ") + ("total(abs([" + column + "]))");
    jet::Recordset whole = db.openRecordset("SELECT " + sizes + " AS sizes FROM pettycash");
    if (whole.eof() || whole.field("sizes").isNull() || whole.field("sizes").asDouble() <= kLargestAmountValue)
        return {};
    long double sum = 0;
    std::string crossing;
    db.forEachRow("SELECT VoucherID, " + sizes + " FROM pettycash GROUP BY VoucherID ORDER BY VoucherID", {},
                  [&](const std::vector<jet::Value>& row) {
                      if (!crossing.empty() || row[1].isNull()) return;
                      sum += row[1].asDouble();
                      if (sum > kLargestAmountValue) crossing = row[0].asText();
                  });
    return "the amounts up to voucher " + (crossing.empty() ? std::string("?") : crossing) +
           " add up beyond the range of an amount";
}

}  // namespace

std::string badVoucherValue(jet::Database& db) {
    for (std::string (*check)(jet::Database&) : {badValue, sumsBeyondRange})
        if (std::string found = check(db); !found.empty()) return found;
    return {};
}

}  // namespace petty
