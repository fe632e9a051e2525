#pragma once
// Shared by the tests of advances and their settlement: vouchers of one
// employee written straight into the fixture book.
#include <cstdint>
#include <string>
#include <vector>

#include "petty/shell/advance_balance.h"
#include "platform/jet/database.h"
#include "platform/vb/currency.h"
#include "platform/vb/date_time.h"

namespace petty::testing {

struct AdvanceVoucher {
    std::string employee = "Asha";
    std::string transType = "Advance Issued from PC";
    jet::Value credit{};  // cash out: the amount advanced, or cash given for settlement
    jet::Value debit{};   // cash in
    jet::Value expenseFromAdvance{};
    jet::Value matchWith{};
    std::string matchRequired = "Yes";
    std::string matched = "No";
    std::string closed = "No";
};

inline vb::Currency amount(const char* text) { return *vb::Currency::fromDecimalText(text); }
inline jet::Value money(const char* text) { return amount(text); }

// Inserts the voucher and returns its number.
inline int64_t insertVoucher(jet::Database& db, const AdvanceVoucher& v) {
    db.execute("INSERT INTO pettycash ([Date], [Time], [Employee], [TransType], [Credit], [Debit],"
               " [expensefromadvance], [Matchwith], [Matchrequired], [Matched], [Closed], [TermID])"
               " VALUES (?, '10:00', ?, ?, ?, ?, ?, ?, ?, ?, ?, 2405150900)",
               {*vb::DateTime::fromParts(2024, 5, 15), v.employee, v.transType, v.credit, v.debit,
                v.expenseFromAdvance, v.matchWith, v.matchRequired, v.matched, v.closed});
    return db.openRecordset("SELECT max(VoucherID) AS id FROM pettycash").field("id").asLong();
}

// An open advance of this amount to the employee.
inline int64_t insertAdvance(jet::Database& db, const char* amount, const std::string& employee = "Asha") {
    return insertVoucher(db, {.employee = employee, .credit = money(amount)});
}

// An expense of this amount declared out of the advance.
inline int64_t insertExpense(jet::Database& db, int64_t advance, const char* amount,
                             const std::string& employee = "Asha") {
    return insertVoucher(db, {.employee = employee, .transType = kSpentFromAdvance,
                              .expenseFromAdvance = money(amount), .matchWith = advance});
}

// The Matched flag of every voucher, in voucher order.
inline std::vector<std::string> matchedFlags(jet::Database& db) {
    std::vector<std::string> flags;
    for (jet::Recordset rows = db.openRecordset("SELECT [Matched] FROM pettycash ORDER BY VoucherID"); !rows.eof();
         rows.moveNext())
        flags.push_back(rows.field(size_t{0}).asText());
    return flags;
}

}  // namespace petty::testing
