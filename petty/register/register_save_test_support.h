#pragma once
// Shared by the tests of the save and the period close: the register over a
// book with employees and expense heads, a clock that stands still, and the
// user's steps of entering a voucher.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "petty/register/entry_box_index.h"
#include "petty/register/voucher_entry_test_support.h"
#include "platform/vb/clock.h"

namespace petty::testing {

inline constexpr const char* kUser = "Ravi";
inline constexpr const char* kApprovalUser = "Boss";

// The whole table, one text per row: to compare a book before and after.
inline std::vector<std::string> tableRows(jet::Database& db, const std::string& table) {
    std::vector<std::string> rows;
    for (jet::Recordset r = db.openRecordset("SELECT * FROM " + table); !r.eof(); r.moveNext()) {
        std::string row;
        for (size_t i = 0; i < r.fieldCount(); ++i) row += r.field(i).asText() + "|";
        rows.push_back(row);
    }
    return rows;
}

class RegisterSaveTest : public VoucherEntryTest {
protected:
    RegisterSaveTest() {
        db.execute("INSERT INTO employeemaster ([Name]) VALUES ('Asha'), ('Ben'), ('O''Brien')");
        db.execute("INSERT INTO [expense types] ([expense type]) VALUES ('Food'), ('Travel')");
        appState().currentUserName = kUser;
        appState().registerSaved = true;
    }

    // A voucher entered through the add button: its type, then the fields the
    // type opens. Fields left empty are not typed into.
    struct Entry {
        std::string type = "Reimbursed from pettycash";
        std::string employee = "Asha";
        std::string head = "Travel";
        std::string credit;
        std::string debit;
        std::string expense;
        std::string narration = "taxi to the bank";

        Entry& ofType(std::string t) { type = std::move(t); return *this; }
        Entry& to(std::string name) { employee = std::move(name); return *this; }
        Entry& cashOut(std::string amount) { credit = std::move(amount); return *this; }
        Entry& cashIn(std::string amount) { debit = std::move(amount); return *this; }
        Entry& spent(std::string amount) { expense = std::move(amount); return *this; }
        Entry& narrated(std::string text) { narration = std::move(text); return *this; }
    };
    void enter(frmpettycash& w, const Entry& e) {
        namespace user = forms::user;
        ASSERT_TRUE(user::click(w.cmdadd));
        ASSERT_TRUE(user::selectComboItem(w.Combopcashtype, e.type));
        if (!e.employee.empty()) {
            ASSERT_TRUE(user::typeText(w.DBCombo2, e.employee));
        }
        if (!e.head.empty() && !w.Combopcashhead.locked()) {
            ASSERT_TRUE(user::typeText(w.Combopcashhead, e.head));
        }
        const std::pair<int, const std::string*> amounts[] = {
            {kCreditBox, &e.credit}, {kDebitBox, &e.debit}, {kExpenseFromAdvanceBox, &e.expense}};
        for (const auto& [box, amount] : amounts) {
            if (!amount->empty()) {
                ASSERT_TRUE(user::typeText(w.Textpcash[box], *amount));
            }
        }
        if (!e.narration.empty()) {
            ASSERT_TRUE(user::typeText(w.Textpcash[kNarrationBox], e.narration));
        }
    }

    // Cash brought into the open period, so that cash can go out of it.
    int64_t fund(const char* amount) {
        Voucher v;
        v.transType = "Cash transfer to PC";
        v.debit = money(amount);
        return insert(v);
    }

    // One column of one voucher, as the book holds it.
    jet::Value stored(int64_t voucherId, const std::string& column) {
        jet::Recordset row =
            db.openRecordset("SELECT [" + column + "] AS v FROM pettycash WHERE VoucherID = ?", {jet::Value(voucherId)});
        return row.eof() ? jet::Value() : row.field("v");
    }
    int64_t lastVoucherId() { return count("SELECT max(VoucherID) FROM pettycash"); }

    // An advance to Asha of the open period, marked settled or not.
    int64_t advanceToAsha(const char* amount, const char* matched = "No") {
        Voucher v;
        v.transType = "Advance Issued from PC";
        v.credit = money(amount);
        v.matchRequired = "Yes";
        v.matched = matched;
        const int64_t id = insert(v);
        setColumn(id, "Employee", "Asha");
        return id;
    }
    // Asha's hotel expense declared against the advance.
    int64_t expenseAgainst(int64_t advance, const char* amount, const char* matched = "No") {
        Voucher v;
        v.transType = "Spent from Advance issued";
        v.expenseFromAdvance = money(amount);
        v.matchRequired = "Yes";
        v.matched = matched;
        const int64_t id = insert(v);
        for (const auto& [column, value] : {std::pair<const char*, jet::Value>{"Employee", "Asha"},
                                            {"Head", "Travel"},
                                            {"Narration", "hotel"},
                                            {"Matchwith", advance}})
            setColumn(id, column, value);
        return id;
    }

    std::vector<std::string> rowsOf(const std::string& table) { return tableRows(db, table); }

    vb::FixedClock clock{*vb::DateTime::fromParts(2024, 5, 15, 9, 30, 15)};
    vb::ScopedClock useClock{clock};
};

}  // namespace petty::testing
