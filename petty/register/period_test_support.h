#pragma once
// Shared by the register's tests: a fresh book with vouchers inserted directly.
#include <gtest/gtest.h>

#include <string>

#include "petty/shell/business_database.h"
#include "petty/shell/shell_test_support.h"
#include "platform/jet/value.h"

namespace petty::testing {

struct Voucher {
    std::string date = "2024-05-15";
    std::string time = "09:00:00";
    std::string transType = "Reimbursed from pettycash";
    jet::Value debit{};
    jet::Value credit{};
    jet::Value expenseFromAdvance{};
    std::string closed = "No";
    jet::Value termId = int64_t{2405150900};
    std::string matchRequired = "No";
    std::string matched = "No";
};

class RegisterBookTest : public ShellTest {
protected:
    RegisterBookTest() { appState().businessDbPath = bookPath(folder.path()).string(); }

    // Inserts a voucher and returns its VoucherID.
    int64_t insert(const Voucher& v) {
        db.execute(
            "INSERT INTO pettycash ([Date], [Time], [TransType], [Debit], [Credit], [expensefromadvance], [Closed], "
            "[TermID], [Matchrequired], [Matched]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {*vb::DateTime::fromIso(v.date), v.time, v.transType, v.debit, v.credit, v.expenseFromAdvance, v.closed,
             v.termId, v.matchRequired, v.matched});
        return db.openRecordset("SELECT max(VoucherID) AS id FROM pettycash").field("id").asLong();
    }

    static jet::Value money(const char* text) { return *vb::Currency::fromDecimalText(text); }

    jet::Database db = openBook(bookPath(folder.path()));
};

}  // namespace petty::testing
